// Hand-off from the capture thread to the window thread, and the paint.
#include "recorder/display/CFrequencyGraph.h"

#include "recorder/display/CMemDC.h"
#include "recorder/display/GraphPainting.h"

#include <QBackingStore>
#include <QPainter>
#include <QWindow>

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
                ShowFrame();
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

void CFrequencyGraph::ShowFrame() {
    if (!DrawIntoBackingStore())
        repaint();
}

bool CFrequencyGraph::DrawIntoBackingStore() {
    QWidget* top = window();
    QBackingStore* store = top->backingStore();
    QWindow* handle = top->windowHandle();
    if (!store || !handle || !handle->isExposed() || !isVisible() || !updatesEnabled())
        return false;
    // Only a control that shows whole: where a sibling or an edge covers part of it, Qt's
    // repaint knows the stacking and the clipping.
    const QRect area(mapTo(top, QPoint(0, 0)), size());
    if (!QRect(QPoint(0, 0), store->size()).contains(area) || visibleRegion() != QRegion(rect()))
        return false;
    store->beginPaint(area);
    QPaintDevice* device = store->paintDevice();
    if (device && !CopyKeptFrame(*device, area)) {
        QPainter target(device);
        target.setClipRect(area);
        Draw(target, area);
    }
    store->endPaint();
    if (!device)
        return false;
    store->flush(area, handle);
    return true;
}

bool CFrequencyGraph::CopyKeptFrame(QPaintDevice& device, const QRect& area) {
    if (device.devType() != QInternal::Image)
        return false;
    TakePaintValues();
    if (!m_Frame.CopyInto(static_cast<QImage&>(device), area, m_DisplayMode, m_PaintValues.data(),
                          static_cast<int>(m_PaintValues.size())))
        return false;
    ++m_FramesDrawn;
    return true;
}

void CFrequencyGraph::TakePaintValues() {
    std::lock_guard<std::mutex> guard(m_ValuesLock);
    m_PaintValues.assign(m_Values.begin(), m_Values.end());
}

void CFrequencyGraph::paintEvent(QPaintEvent*) {
    QPainter target(this);
    Draw(target, rect());
}

void CFrequencyGraph::Draw(QPainter& target, const QRect& area) {
    ++m_FramesDrawn;
    TakePaintValues();
    CMemDC memDC(target, area, palette().color(backgroundRole()));
    const int count = static_cast<int>(m_PaintValues.size());
    if (count == 0)
        return;
    QPainter& painter = memDC.Painter();
    painter.translate(area.topLeft());
    if (m_DisplayMode == kModeSpectrum)
        graph::PaintSpectrumColumns(painter, area.width(), area.height(), m_PaintValues.data(), count);
    else if (m_DisplayMode == kModeLevel)
        graph::PaintLevelBar(painter, area.width(), area.height(), m_PaintValues.data(), count);
}
