// What screen readers hear of the skinned windows: names for pictures-only controls, and roles
// for the plain widgets that show a picture or a painted text. GUI thread only.
#pragma once

#include <QAccessible>
#include <QString>

class QWidget;

namespace ui {

// The control's accessible name and its tooltip: the same Korean words for the ear and the eye.
void NameControl(QWidget* control, const QString& name);

// The role assistive technologies report for a plain widget (a chart, a text); the widget's
// accessible name and description say the rest.
void SetAccessibleRole(QWidget* widget, QAccessible::Role role);

} // namespace ui
