// Moves a frameless window when the user drags its body (a press that no child control takes),
// as a caption would. Uses the window system's move where it has one (needed on Wayland), and
// follows the mouse by hand where it has none (no window manager, offscreen).
#pragma once

#include <QObject>
#include <QPoint>

class QWidget;

class WindowDragger : public QObject {
public:
    // Watches `window` for the lifetime of the window (the dragger is its child).
    explicit WindowDragger(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    bool dragging_ = false;
    QPoint grabOffset_;
};
