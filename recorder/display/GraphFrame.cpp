// The kept picture of the live display and its copy into the window's backing store.
#include "recorder/display/GraphFrame.h"

#include <algorithm>
#include <cstring>

namespace graph {

bool Frame::CopyInto(QImage& target, const QRect& at, int mode, const double* values, int count) {
    if (count <= 0 || (mode != kModeSpectrum && mode != kModeLevel) || at.isEmpty())
        return false;
    if (target.depth() != 32 || target.devicePixelRatio() != 1.0 || !target.isDetached() ||
        !target.rect().contains(at))
        return false;
    Update(PictureOf(mode, at.width(), at.height(), values, count), target.format(), values, count);
    const size_t rowBytes = static_cast<size_t>(at.width()) * 4;
    for (int row = 0; row < at.height(); ++row)
        std::memcpy(target.scanLine(at.y() + row) + static_cast<size_t>(at.x()) * 4,
                    m_Image.constScanLine(row), rowBytes);
    return true;
}

void Frame::Update(const Picture& picture, QImage::Format format, const double* values, int count) {
    const bool sameLayout = m_Shown && m_Shown->mode == picture.mode && m_Shown->width == picture.width &&
                            m_Shown->height == picture.height && m_Image.format() == format;
    if (sameLayout && *m_Shown == picture)
        return;
    if (!sameLayout) {
        m_Painter.reset();
        m_Image = QImage(picture.width, picture.height, format);
        m_Painter = std::make_unique<QPainter>(&m_Image);
    }
    if (picture.mode == kModeSpectrum && sameLayout) {
        // Only the segments between the old and the new top of each column change.
        for (int i = 0; i < kColumns; ++i) {
            const int before = m_Shown->lit[i], now = picture.lit[i];
            for (int j = std::min(before, now); j < std::max(before, now); ++j)
                PaintSegment(*m_Painter, picture.width, picture.height, i, j, j < now);
        }
    } else if (picture.mode == kModeSpectrum) {
        PaintSpectrumColumns(*m_Painter, picture.width, picture.height, values, count);
    } else {
        PaintLevelBar(*m_Painter, picture.width, picture.height, values, count);
    }
    m_Shown = picture;
}

} // namespace graph
