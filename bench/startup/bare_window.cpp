// The start-up yardstick: the smallest Qt 6 program that puts a frameless window of a given size
// on the screen and paints it. Reports its first paint the way the product windows do.
// usage: bare_window WIDTH HEIGHT
#include "ui/FirstPaintReport.h"

#include <QApplication>
#include <QPainter>
#include <QWidget>

#include <cstdlib>

namespace {

class BareWindow : public QWidget {
public:
    BareWindow() { setWindowFlags(Qt::FramelessWindowHint); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), QColor(40, 40, 48));
        ui::ReportFirstPaint("bare_window");
    }
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3)
        return 2;
    BareWindow window;
    window.setFixedSize(std::atoi(argv[1]), std::atoi(argv[2]));
    window.show();
    return app.exec();
}
