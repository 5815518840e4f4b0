// The thumbs' pictures (bitmaps 129 and 130): drawn here, with a transparent background.
#pragma once

#include <QPixmap>

// The start thumb points at its right edge, the end thumb at its left edge.
QPixmap StartThumbPicture();
QPixmap EndThumbPicture();
