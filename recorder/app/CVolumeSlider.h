// The capture-volume slider: a vertical slider drawn from the skin's track (175) and thumb (142),
// minimum at the top as a Windows trackbar. Moves by the user come out as valueChanged; the
// thumb follows the mouse directly, so the picture and the value always agree. The arrow keys
// move it a fiftieth of its range (up is louder), the page keys a tenth; screen readers hear the
// volume, which is the range's top less the position.
#pragma once

#include <QPixmap>
#include <QSlider>

class CVolumeSlider : public QSlider {
    Q_OBJECT
public:
    explicit CVolumeSlider(QWidget* parent = nullptr);

    // Top of the thumb for the current value, in slider coordinates.
    int ThumbTop() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int ValueAt(int y) const;
    void StepWithRange();

    QPixmap m_Track;
    QPixmap m_Thumb;
    QImage m_FocusRing;
    int m_GrabOffset = 0;
    bool m_Dragging = false;
};
