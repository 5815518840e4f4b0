// The splitter's two-thumb range slider: a ruler of seconds, start and end thumbs, a play marker.
// Window thread only. Drag steps and ends arrive as posted events; the parent hears of changes
// through Command, always delivered queued, like a posted command message. Each thumb takes the
// keyboard focus and moves by keys (see MoveThumbBy).
#pragma once

#include "splitter/slider/SliderRange.h"

#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <optional>
#include <utility>

class LoudnessProfile;
class SliderBothBtn;

class SliderBoth : public QWidget {
    Q_OBJECT
public:
    SliderBoth();
    ~SliderBoth() override;

    // Makes this a child of parent at rect (height forced to 60) with the two thumbs. Only the
    // horizontal orientation exists; a vertical request is refused.
    bool Create(QWidget* parent, const QRect& rect, bool horizontal, int id);
    bool SetRange(int minimum, int maximum, int tick);
    void GetRange(int& minimum, int& maximum, int& tick) const;
    void SetSelection(int start, int end) { PlaceThumbs(start, end, true, true); }
    void PlaceThumbs(int start, int end, bool moveStart, bool moveEnd);
    void GetSelection(int& start, int& end) const;
    void SetMarker(int value);
    int GetMarker() const { return m_Marker; }
    void Reposition(int x, int y, int width, int height, bool repaint);
    // A thumb moved by the keyboard, `seconds` later (negative: earlier), clamped as a drag is;
    // the parent hears of it when the selection changed.
    void MoveThumbBy(bool isStart, int seconds);

    void SetThumbPictures(const QPixmap& start, const QPixmap& end);
    // The file's loudness drawn in the track behind the bar, filled in as the profile is (null:
    // none). A thumb dragged with Shift held snaps to the middle of a pause in it.
    void SetLoudness(std::shared_ptr<const LoudnessProfile> profile);
    const LoudnessProfile* Loudness() const { return m_Loudness.get(); }
    bool IsReady() const { return m_Ready; }
    int ControlId() const { return m_Id; }
    int Baseline() const { return m_Baseline; }
    SliderBothBtn* StartThumb() const { return m_StartThumb; }
    SliderBothBtn* EndThumb() const { return m_EndThumb; }

    // The whole picture (scale, bar, selection, thumbs) into painter at (0, 0).
    virtual void PaintTo(QPainter& painter);

signals:
    void Command(int controlId);

protected:
    virtual void PaintScale(QPainter& painter);
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent* event) override;
    // The ruler takes presses itself: they neither move the thumbs nor reach the window (which
    // would start moving the whole window).
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void OnDragStep(int delta, bool isStart, bool snap);
    void PaintLoudness(QPainter& painter, int selectionLeft, int selectionRight);
    void OnDragEnd();
    void Redraw();
    void Notify();

    int m_Marker = 0;
    int m_Baseline = 47;
    int m_Id = 0;
    bool m_Horizontal = true;
    bool m_Ready = false;
    SliderBothBtn* m_StartThumb = nullptr;
    SliderBothBtn* m_EndThumb = nullptr;
    slider::Range m_Range;
    std::optional<std::pair<int, int>> m_LastNotified;
    std::shared_ptr<const LoudnessProfile> m_Loudness;
    int m_LoudnessDrawn = 0; // the steps known at the last paint
    QTimer m_LoudnessFill;
};
