// A window for looking at the displays with live sound: a private PulseAudio server plays two
// tones into its sink, and two monitor captures feed a spectrum (mode 7, as in the main window)
// and a level bar (mode 9, as on the volume page) through the real spectrum feed.
// Run under a display; it quits by itself after the given seconds (default 5).
#include "recorder/display/CFrequencyGraph.h"
#include "recorder/display/SpectrumFeed.h"
#include "recorder/engine/Recorder.h"
#include "tests/support/pulse/PulseServer.h"
#include "tests/support/pulse/SignalPlayer.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>

#include <cstdlib>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    quortest::PulseServer server;
    server.WakeSink();
    quortest::SignalPlayer low(260.0, 0.5);
    quortest::SignalPlayer high(560.0, 0.3);

    QWidget window;
    window.setWindowTitle("QuorRecorder display preview");
    window.setFixedSize(360, 130);
    window.setStyleSheet("background: #2b2f36; color: #e0e0e0;");
    auto* spectrumLabel = new QLabel("스펙트럼 (mode 7, 120 x 32)", &window);
    spectrumLabel->setGeometry(10, 8, 340, 18);
    auto* spectrum = new CFrequencyGraph(&window);
    spectrum->setObjectName("IDC_SPECTRUM");
    spectrum->setGeometry(10, 30, 120, 32);
    spectrum->SetMode(CFrequencyGraph::kModeSpectrum);
    auto* levelLabel = new QLabel("레벨 (mode 9)", &window);
    levelLabel->setGeometry(10, 78, 340, 18);
    auto* level = new CFrequencyGraph(&window);
    level->setGeometry(10, 100, 340, 15);
    level->SetMode(CFrequencyGraph::kModeLevel);

    Recorder spectrumCapture(1024), levelCapture(1024);
    spectrumCapture.OpenMonitor();
    spectrumCapture.SetMonitorCallback(spectrum, &SpectrumFeed);
    spectrumCapture.StartMonitor();
    levelCapture.OpenMonitor();
    levelCapture.SetMonitorCallback(level, &SpectrumFeed);
    levelCapture.StartMonitor();

    window.show();
    QTimer::singleShot((argc > 1 ? std::atoi(argv[1]) : 5) * 1000, &app, &QApplication::quit);
    int result = app.exec();
    spectrumCapture.StopMonitor();
    levelCapture.StopMonitor();
    return result;
}
