// Names through the widget's own properties; roles through an accessibility factory that serves
// the widgets marked with one.
#include "ui/AccessibleName.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace {

const char* const kRole = "quorAccessibleRole";

QAccessibleInterface* MarkedWidgetFactory(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return nullptr;
    const QVariant role = widget->property(kRole);
    return role.isValid() ? new QAccessibleWidget(widget, static_cast<QAccessible::Role>(role.toInt()))
                          : nullptr;
}

} // namespace

namespace ui {

void NameControl(QWidget* control, const QString& name) {
    control->setAccessibleName(name);
    control->setToolTip(name);
}

void SetAccessibleRole(QWidget* widget, QAccessible::Role role) {
    static const bool installed = [] {
        QAccessible::installFactory(MarkedWidgetFactory);
        return true;
    }();
    (void)installed;
    widget->setProperty(kRole, static_cast<int>(role));
}

} // namespace ui
