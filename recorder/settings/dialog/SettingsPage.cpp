// The page panel: fill and frame.
#include "recorder/settings/dialog/SettingsPage.h"

#include "ui/Fonts.h"

#include <QPainter>

namespace {
constexpr QRgb kPageFace = 0xF6F6F6;
constexpr QRgb kPageFrame = 0xB5B5B5;
} // namespace

SettingsPage::SettingsPage(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFont(ui::CellHeightFont(QStringLiteral("돋움"), 14));
}

void SettingsPage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(kPageFace));
    painter.setPen(QColor(kPageFrame));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
