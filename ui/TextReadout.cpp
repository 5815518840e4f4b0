// The readout paints nothing: the window under it shows the text.
#include "ui/TextReadout.h"

#include "ui/AccessibleName.h"

namespace ui {

TextReadout::TextReadout(QWidget* parent, const QRect& over) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(over);
    SetAccessibleRole(this, QAccessible::StaticText);
}

void TextReadout::SetText(const QString& text, const QString& description) {
    if (text != accessibleName())
        setAccessibleName(text);
    if (description != accessibleDescription())
        setAccessibleDescription(description);
}

} // namespace ui
