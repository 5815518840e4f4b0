// Helpers for window tests: find controls by the name of their id constant, click them, answer
// the modal boxes a handler opens, and read pixels. GUI thread only.
#pragma once

#include <QFileDialog>
#include <QImage>
#include <QPoint>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <vector>

namespace quortest::gui {

// The control whose objectName is `idName` (e.g. "IDC_BTN_RECORD") under `root`, or null with a
// test failure.
QWidget* FindControl(QWidget* root, const QString& idName);
template <typename T> T* FindControlAs(QWidget* root, const QString& idName) {
    return qobject_cast<T*>(FindControl(root, idName));
}

// The window's own controls (visible children named IDC_…) each lie inside the window and none
// overlaps another; failures name the controls.
void ExpectControlsInsideWithoutOverlap(QWidget* window);

// Clicks the control's centre with the left button (press and release through the widget, as
// a user would); fails the test when it is missing, hidden or disabled.
bool Click(QWidget* root, const QString& idName);
// Left click at a point of a widget, whatever its state.
void ClickAt(QWidget* widget, const QPoint& pos);

// The mouse entering and leaving a widget (what the window system sends on hover).
void Hover(QWidget* widget, const QPoint& pos = {1, 1});
void Unhover(QWidget* widget);

void PressKey(QWidget* widget, Qt::Key key);

// Types `path` into a file dialog's name field, as a user would, and waits until the dialog
// hands it over as its choice. Typed rather than selected: selectFile() leaves the field alone
// while it has the keyboard focus, and the folder model arriving late on a busy machine can
// replace the name shown. Whether the dialog took it (a test failure otherwise).
bool TypeIntoFileDialog(QFileDialog* dialog, const QString& path);

// What a modal box showed when it was answered.
struct SeenBox {
    QString className;
    QString title;
    QString message;
    int buttonLayout = 0; // notification box: 1 OK only, else OK and Cancel; 0 for others
    QSize size;
};

// Answers the modal boxes that open while it lives: every notification box (CMssageBoxDlg)
// gets a click on IDC_BTN_OK or IDC_BTN_CANCEL, a system message box its OK or Cancel; other
// modal windows are passed to `otherwise` when given. Each answered box is recorded.
class ModalAnswerer {
public:
    enum class Answer { Ok, Cancel };
    explicit ModalAnswerer(Answer answer = Answer::Ok, std::function<void(QWidget*)> otherwise = {});
    ~ModalAnswerer();

    void SetAnswer(Answer answer) { answer_ = answer; }
    const std::vector<SeenBox>& Seen() const { return seen_; }

private:
    void Poll();

    Answer answer_;
    std::function<void(QWidget*)> otherwise_;
    QTimer timer_;
    std::vector<SeenBox> seen_;
};

// A widget's own picture (children included, masks ignored) and one pixel of it, as 0xRRGGBB.
QImage Grab(QWidget* widget);
QRgb PixelAt(QWidget* widget, int x, int y);
inline QRgb Rgb(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFF;
}

// Calls `probe` when `widget` receives its first paint event (before it paints), e.g. to note
// what the window had already done by then. Lives as the widget's child.
void OnFirstPaint(QWidget* widget, std::function<void()> probe);

// Waits (quortest::Eventually) until the widget's window is on the screen; whether it got there.
bool WaitExposed(QWidget* widget);

// Runs the event loop for `ms` whatever happens: for a check that something does not happen in
// that time. To wait for something that does, use quortest::Eventually.
void Settle(int ms);

} // namespace quortest::gui
