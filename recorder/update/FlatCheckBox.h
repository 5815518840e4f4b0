// A check box drawn as a small flat square (13 x 13 in the popup's footer), with the same look
// on every desktop style. Clicks anywhere on it toggle it, as QCheckBox.
#pragma once

#include <QCheckBox>

class FlatCheckBox : public QCheckBox {
public:
    explicit FlatCheckBox(QWidget* parent = nullptr) : QCheckBox(parent) { setAttribute(Qt::WA_Hover); }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};
