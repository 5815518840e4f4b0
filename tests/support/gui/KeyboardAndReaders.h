// What keyboard and screen-reader users get from a window: the accessible tree, read through
// QAccessible as the at-spi bridge reads it, and the skin's focus mark. GUI thread only.
#pragma once

#include <QAccessible>
#include <QString>

#include <vector>

class QWidget;

namespace quortest::gui {

struct AccessibleNode {
    QAccessible::Role role;
    QString name;
    QString description;
    QString value; // a slider's or a value interface's current value, else the Value text
    QString objectName;
    bool shown = false;
};

// Every interface under the window's own, depth first, the window excluded.
std::vector<AccessibleNode> AccessibleTree(QWidget* window);

// Fails for every shown control (button, check box, slider, text field, list, combo box, chart,
// text) that has no name, naming its object; returns the tree.
std::vector<AccessibleNode> ExpectShownControlsNamed(QWidget* window);

// The node of the widget whose objectName is `objectName`; a failure and an empty node when none.
AccessibleNode NodeOf(const std::vector<AccessibleNode>& tree, const QString& objectName);

// Pixels of the skin's focus accent in the control's picture (compare with the same control
// unmarked).
int FocusAccentPixels(QWidget* control);

} // namespace quortest::gui
