// A thumb of the two-thumb slider: draws its picture, captures the mouse while dragged and
// posts drag steps and the drag end to its slider. It takes the keyboard focus: the arrow keys
// move it a second, the page keys ten, Home and End to the range's ends; screen readers hear it as
// a slider named "시작 위치" or "끝 위치" whose value is its second.
#pragma once

#include <QPixmap>
#include <QWidget>

class SliderBothBtn : public QWidget {
    Q_OBJECT
public:
    SliderBothBtn(QWidget* slider, bool isStartThumb, bool horizontal);

    void SetPicture(const QPixmap& picture);
    // Draws the picture into painter at rect (the slider's double-buffered paint uses this).
    void DrawAt(QPainter& painter, const QRect& rect) const;
    bool IsStart() const { return m_IsStart; }

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int Along(const QPoint& p) const { return m_Horizontal ? p.x() : p.y(); }

    QPixmap m_Picture;
    QImage m_FocusRing;
    bool m_IsStart;
    bool m_Dragging = false;
    bool m_Horizontal;
    int m_Anchor = 0;
};
