// A walk over QAccessibleInterface children from the window down; colours counted in a grab.
#include "gui/KeyboardAndReaders.h"

#include "FocusMark.h"
#include "gui/GuiHelpers.h"

#include <QAccessibleValueInterface>
#include <QWidget>

#include <gtest/gtest.h>

namespace quortest::gui {

namespace {
void Walk(QAccessibleInterface* parent, std::vector<AccessibleNode>& out) {
    for (int i = 0; i < parent->childCount(); ++i) {
        QAccessibleInterface* child = parent->child(i);
        if (!child || !child->isValid())
            continue;
        AccessibleNode node{child->role(),
                            child->text(QAccessible::Name),
                            child->text(QAccessible::Description),
                            child->text(QAccessible::Value),
                            {},
                            !child->state().invisible};
        if (QAccessibleValueInterface* value = child->valueInterface())
            node.value = value->currentValue().toString();
        if (QObject* object = child->object())
            node.objectName = object->objectName();
        out.push_back(node);
        Walk(child, out);
    }
}
} // namespace

std::vector<AccessibleNode> AccessibleTree(QWidget* window) {
    std::vector<AccessibleNode> tree;
    if (QAccessibleInterface* root = QAccessible::queryAccessibleInterface(window))
        Walk(root, tree);
    else
        ADD_FAILURE() << "no accessible interface for the window";
    return tree;
}

std::vector<AccessibleNode> ExpectShownControlsNamed(QWidget* window) {
    std::vector<AccessibleNode> tree = AccessibleTree(window);
    for (const AccessibleNode& node : tree) {
        switch (node.role) {
        case QAccessible::PushButton:
        case QAccessible::CheckBox:
        case QAccessible::Slider:
        case QAccessible::EditableText:
        case QAccessible::List:
        case QAccessible::ComboBox:
        case QAccessible::Chart:
        case QAccessible::StaticText:
            if (node.shown) {
                EXPECT_FALSE(node.name.trimmed().isEmpty())
                    << "a control without a name: role " << node.role << ", object '"
                    << node.objectName.toStdString() << "'";
            }
            break;
        default:
            break;
        }
    }
    return tree;
}

AccessibleNode NodeOf(const std::vector<AccessibleNode>& tree, const QString& objectName) {
    for (const AccessibleNode& node : tree)
        if (node.objectName == objectName)
            return node;
    ADD_FAILURE() << "no accessible object for " << objectName.toStdString();
    return {QAccessible::NoRole, {}, {}, {}, {}, false};
}

int FocusAccentPixels(QWidget* control) {
    const QImage shot = Grab(control);
    const QColor accent = ui::kFocusAccent;
    int count = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            const int distance = std::abs(c.red() - accent.red()) + std::abs(c.green() - accent.green()) +
                                 std::abs(c.blue() - accent.blue());
            count += distance < 60;
        }
    return count;
}

} // namespace quortest::gui
