// A display control's picture kept between live frames. Opening a painter on the window's
// backing store and repainting all 81 rectangles took about a fifth of the idle window's CPU
// time, 43 frames a second. The kept picture stays open for painting, repaints only the
// segments that changed since the last frame and goes into the store row by row.
#pragma once

#include "recorder/display/GraphPainting.h"

#include <QImage>
#include <QPainter>

#include <memory>
#include <optional>

namespace graph {

class Frame {
public:
    // Copies the picture of values (count of them, count > 0) for a mode-`mode` control into
    // `target` with its top left corner at `at`, after bringing the kept picture up to date.
    // False, with nothing written, when target is not a 32-bit image at device pixel ratio 1
    // that holds the whole control, or is shared with another image: the caller then paints.
    bool CopyInto(QImage& target, const QRect& at, int mode, const double* values, int count);

private:
    void Update(const Picture& picture, QImage::Format format, const double* values, int count);

    QImage m_Image;
    // Open on m_Image while it is kept; declared after it, so it ends before the image goes.
    std::unique_ptr<QPainter> m_Painter;
    std::optional<Picture> m_Shown; // what m_Image holds
};

} // namespace graph
