// QuorSplit: cuts a range of an MP3 through the converter.
#include "CQuorSplitApp.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("QuorSplit");
    return CQuorSplitApp().Run();
}
