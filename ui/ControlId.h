// Control ids: every control's objectName is the name of its id constant, and its number is
// kept in the "controlId" property, so a test finds "the record button 1003" by name alone.
//
// Convention for the whole code base: the ids of one window live in a header of their own as
// `constexpr int IDC_... = number;` inside a namespace named after the window (for example
// `namespace CQuorRecorderDlgIds { constexpr int IDC_BTN_RECORD = 1003; }`), prefixes IDC_ for
// controls, IDB_ for bitmaps, IDD_ for dialog templates. Give a control its id with
// QUOR_SET_ID(widget, IDC_BTN_RECORD).
#pragma once

#include <QVariant>
#include <QWidget>

namespace ui {

// `name` may carry a namespace ("Ids::IDC_BTN_OK"); only the constant's own name is kept.
inline void SetControlId(QWidget* widget, const char* name, int id) {
    const QString full = QLatin1String(name);
    widget->setObjectName(full.mid(full.lastIndexOf(QLatin1Char(':')) + 1));
    widget->setProperty("controlId", id);
}

// The number given by SetControlId, or 0.
inline int ControlIdOf(const QWidget* widget) {
    return widget->property("controlId").toInt();
}

} // namespace ui

#define QUOR_SET_ID(widget, constant) ::ui::SetControlId((widget), #constant, (constant))
