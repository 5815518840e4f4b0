// The two program faces with the kit's buttons at their windows' places, for the gallery.
#pragma once

class QWidget;

QWidget* MakeRecorderFacePreview(QWidget* parent);
QWidget* MakeSplitterFacePreview(QWidget* parent);
