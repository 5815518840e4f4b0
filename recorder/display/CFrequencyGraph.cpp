// Hand-off from the capture thread to the window thread, and the paint.
#include "recorder/display/CFrequencyGraph.h"

#include "recorder/display/CMemDC.h"
#include "recorder/display/GraphPainting.h"

#include <QPainter>

#include <unordered_set>

namespace {
// The graph windows that exist, so that the feed can test a pointer before using it.
std::mutex g_windowsLock;
std::unordered_set<const void*> g_windows;
} // namespace

CFrequencyGraph::CFrequencyGraph(QWidget* parent) : QWidget(parent) {
    // Everything is painted from the off-screen copy: no background erase before a paint.
    setAttribute(Qt::WA_OpaquePaintEvent);
    std::lock_guard<std::mutex> guard(g_windowsLock);
    g_windows.insert(this);
}

CFrequencyGraph::~CFrequencyGraph() {
    // After this no feed reaches the object; a feed inside SetData finishes first.
    std::lock_guard<std::mutex> guard(g_windowsLock);
    g_windows.erase(this);
}

bool CFrequencyGraph::SetDataIfWindow(void* graph, int count, const double* values) {
    std::lock_guard<std::mutex> guard(g_windowsLock);
    if (!graph || !g_windows.count(graph))
        return false;
    static_cast<CFrequencyGraph*>(graph)->SetData(count, values);
    return true;
}

void CFrequencyGraph::SetData(int count, const double* values) {
    if (count < 0)
        return;
    const graph::Picture picture = graph::PictureOf(m_DisplayMode, m_Width, m_Height, values, count);
    {
        std::lock_guard<std::mutex> guard(m_ValuesLock);
        // The array is allocated on the first feed only: the count stays the same afterwards.
        if (static_cast<int>(m_Values.size()) != count)
            m_Values.assign(static_cast<size_t>(count), 0.0);
        std::copy(values, values + count, m_Values.begin());
        if (m_PostedPicture == picture)
            return;
        m_PostedPicture = picture;
    }
    if (!m_bRepaintPosted.exchange(true)) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_bRepaintPosted = false;
                repaint();
            },
            Qt::QueuedConnection);
    }
}

std::vector<double> CFrequencyGraph::Values() const {
    std::lock_guard<std::mutex> guard(m_ValuesLock);
    return m_Values;
}

void CFrequencyGraph::resizeEvent(QResizeEvent*) {
    m_Width = width();
    m_Height = height();
}

void CFrequencyGraph::paintEvent(QPaintEvent*) {
    ++m_FramesDrawn;
    {
        std::lock_guard<std::mutex> guard(m_ValuesLock);
        m_PaintValues.assign(m_Values.begin(), m_Values.end());
    }
    QPainter target(this);
    CMemDC memDC(target, rect(), palette().color(backgroundRole()));
    const int count = static_cast<int>(m_PaintValues.size());
    if (count == 0)
        return;
    if (m_DisplayMode == kModeSpectrum)
        graph::PaintSpectrumColumns(memDC.Painter(), width(), height(), m_PaintValues.data(), count);
    else if (m_DisplayMode == kModeLevel)
        graph::PaintLevelBar(memDC.Painter(), width(), height(), m_PaintValues.data(), count);
}
