// A text a window paints (the recorder's time and format, a box's message), offered to screen
// readers: an invisible, mouse-transparent child over the painted text whose accessible name is
// that text. GUI thread only.
#pragma once

#include <QWidget>

namespace ui {

class TextReadout : public QWidget {
    Q_OBJECT
public:
    TextReadout(QWidget* parent, const QRect& over);

    // The text as read; a change is announced to assistive technologies. `description` says
    // what it is ("녹음 시간") or its state.
    void SetText(const QString& text, const QString& description = {});
    QString Text() const { return accessibleName(); }

protected:
    void paintEvent(QPaintEvent*) override {}
};

} // namespace ui
