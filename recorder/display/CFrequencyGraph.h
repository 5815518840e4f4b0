// The live capture display: ten segmented spectrum columns (mode 7, main window) or a segmented
// level bar (mode 9, volume page). Values arrive from the capture thread through SetData; the
// window copies them under a small lock when it paints, so a paint never sees a torn array.
#pragma once

#include "recorder/display/GraphPainting.h"

#include <QWidget>

#include <atomic>
#include <mutex>
#include <optional>
#include <vector>

class CFrequencyGraph : public QWidget {
    Q_OBJECT
public:
    static constexpr int kModeSpectrum = graph::kModeSpectrum;
    static constexpr int kModeLevel = graph::kModeLevel;

    explicit CFrequencyGraph(QWidget* parent = nullptr);
    ~CFrequencyGraph() override;

    // Set by the owner before the first paint; no repaint of its own. Window thread.
    void SetMode(int mode) { m_DisplayMode = mode; }
    int Mode() const { return m_DisplayMode; }

    // Any thread: stores a copy of the values and asks the window thread for a repaint (queued,
    // at most one outstanding) unless the picture would not change: silence or a steady tone
    // then costs no painting. Never waits for the window thread.
    void SetData(int count, const double* values);

    // Any thread: SetData on `graph` when it is a graph window that still exists; false when
    // the window is gone (its owner is closing while the capture still delivers).
    static bool SetDataIfWindow(void* graph, int count, const double* values);

    // Window thread: a copy of the values held now.
    std::vector<double> Values() const;
    // Window thread: how many pictures have been drawn.
    int FramesDrawn() const { return m_FramesDrawn; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    std::atomic<int> m_DisplayMode{0};
    mutable std::mutex m_ValuesLock;
    std::vector<double> m_Values;                  // guarded by m_ValuesLock
    std::optional<graph::Picture> m_PostedPicture; // guarded by m_ValuesLock: what the last repaint shows
    std::atomic<int> m_Width{0};                   // the size, for the capture thread
    std::atomic<int> m_Height{0};
    std::vector<double> m_PaintValues; // window thread only: the snapshot being drawn
    std::atomic<bool> m_bRepaintPosted{false};
    int m_FramesDrawn = 0; // window thread only
};
