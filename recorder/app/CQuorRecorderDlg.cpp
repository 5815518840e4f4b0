// The recorder's main window: controls, initialisation, recording control and the face.
#include "recorder/app/CQuorRecorderDlg.h"

#include "platform/shell/IShellActions.h"
#include "recorder/app/CQuorRecorderDlgIds.h"
#include "recorder/app/CVolumeSlider.h"
#include "recorder/app/RecordFailureText.h"
#include "recorder/app/SplitterLocation.h"
#include "recorder/devices/CapturePath.h"
#include "recorder/devices/dialog/CSettingDlg_Volume.h"
#include "recorder/display/CFrequencyGraph.h"
#include "recorder/display/SpectrumFeed.h"
#include "recorder/settings/AutomaticFileName.h"
#include "recorder/settings/RecorderSettings.h"
#include "recorder/tags/dialog/CID3TagInfoDlg.h"
#include "ui/AccessibleName.h"
#include "ui/AfterFirstPaint.h"
#include "ui/CHoverButton.h"
#include "ui/CMssageBoxDlg.h"
#include "ui/ControlId.h"
#include "ui/CxSkinButton.h"
#include "ui/DialogKeys.h"
#include "ui/DialogResult.h"
#include "ui/FirstPaintReport.h"
#include "ui/ImageRegion.h"
#include "ui/RecorderBitmaps.h"
#include "ui/Skin.h"
#include "ui/TextReadout.h"
#include "ui/WindowDragger.h"

#include "recorder/settings/dialog/StarOptionDlg.h"
#include "recorder/update/CHelpDlg.h"
#include "recorder/update/CInfoPopupDlg.h"

#include <QComboBox>

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QPainter>
#include <QPalette>
#include <QScreen>
#include <QWindow>
#include <algorithm>

#include <ctime>

using namespace CQuorRecorderDlgIds;
using namespace RecorderBitmap;

namespace {
const QString kTitle = QStringLiteral("알림");
// How long after the sound server came back a source chosen on the volume page may still appear.
constexpr qint64 kChosenSourceWaitMs = 3000;

const QString kRecordName = QStringLiteral("녹음");
const QString kPauseName = QStringLiteral("일시중지");

CxSkinButton* RoundOrWideButton(QWidget* parent, int normal, int pressed, int hover, int mask,
                                const QRect& at, const QString& name) {
    auto* button = new CxSkinButton(parent);
    button->SetSkin(SkinSet::Recorder, normal, pressed, hover, 0, 0, mask);
    button->setGeometry(at);
    ui::NameControl(button, name);
    return button;
}

CHoverButton* HoverButton(QWidget* parent, int strip, const QPoint& at, const QString& name) {
    auto* button = new CHoverButton(parent);
    button->move(at);
    button->LoadBitmap(SkinSet::Recorder, strip, 3);
    ui::NameControl(button, name);
    return button;
}

// A control the window has but never shows (the device and line lists).
void HideControl(QWidget* control) {
    control->setGeometry(0, 0, 0, 0);
    control->setFocusPolicy(Qt::NoFocus);
    control->hide();
}
} // namespace

CQuorRecorderDlg::CQuorRecorderDlg(QWidget* parent, IShellActions* shell)
    : QDialog(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint), m_Shell(shell) {
    if (!m_Shell) {
        m_OwnShell = std::make_unique<DesktopShellActions>();
        m_Shell = m_OwnShell.get();
    }
    setObjectName(QStringLiteral("IDD_QUORRECORDER_DIALOG"));
    m_Timer.setInterval(1000);
    connect(&m_Timer, &QTimer::timeout, this, &CQuorRecorderDlg::OnTimer);
    m_DeviceWatch.setInterval(250);
    connect(&m_DeviceWatch, &QTimer::timeout, this, &CQuorRecorderDlg::OnDeviceWatch);
    m_Recorder.SetTagEditor([this](const std::string& path) { OpenTagEditor(path); });
    CreateControls();
    new WindowDragger(this);
    OnInitDialog();
}

CQuorRecorderDlg::~CQuorRecorderDlg() {
    // The monitor worker feeds the graph: stop it before any child goes.
    m_Recorder.StopMonitor();
}

void CQuorRecorderDlg::CreateControls() {
    m_BtnRecord = RoundOrWideButton(this, IDB_RECORD_NORMAL, IDB_RECORD_PRESSED, IDB_RECORD_HOVER,
                                    IDB_ROUND_MASK, {9, 115, 34, 34}, kRecordName);
    QUOR_SET_ID(m_BtnRecord, IDC_BTN_RECORD);
    m_BtnStop = RoundOrWideButton(this, IDB_STOP_NORMAL, IDB_STOP_PRESSED, IDB_STOP_HOVER, IDB_ROUND_MASK,
                                  {48, 115, 34, 34}, QStringLiteral("정지"));
    QUOR_SET_ID(m_BtnStop, IDC_BTN_STOP);
    m_BtnSplit = RoundOrWideButton(this, IDB_SPLIT_NORMAL, IDB_SPLIT_PRESSED, IDB_SPLIT_HOVER, IDB_WIDE_MASK,
                                   {169, 120, 75, 26}, QStringLiteral("자르개"));
    QUOR_SET_ID(m_BtnSplit, IDC_BTN_SPLIT);
    m_BtnSaveFolder = RoundOrWideButton(this, IDB_FOLDER_NORMAL, IDB_FOLDER_PRESSED, IDB_FOLDER_HOVER,
                                        IDB_WIDE_MASK, {245, 120, 75, 26}, QStringLiteral("저장폴더"));
    QUOR_SET_ID(m_BtnSaveFolder, IDC_BTN_SAVEFOLDER);

    m_BtnAbout = HoverButton(this, IDB_BTN_ABOUT, {231, 4}, QStringLiteral("정보"));
    QUOR_SET_ID(m_BtnAbout, IDC_BTN_ABOUT);
    m_BtnSettings = HoverButton(this, IDB_BTN_SETTINGS, {255, 4}, QStringLiteral("환경설정"));
    QUOR_SET_ID(m_BtnSettings, IDC_BTN_SETTINGS);
    m_BtnMinimize = HoverButton(this, IDB_BTN_MINIMIZE, {278, 3}, QStringLiteral("최소화"));
    QUOR_SET_ID(m_BtnMinimize, IDC_BTN_MINIMIZE);
    m_BtnExit = HoverButton(this, IDB_BTN_CLOSE, {302, 3}, QStringLiteral("종료"));
    QUOR_SET_ID(m_BtnExit, IDC_BTN_EXIT);

    m_VolumeSlider = new CVolumeSlider(this);
    m_VolumeSlider->setGeometry(300, 68, 18, 40);
    QUOR_SET_ID(m_VolumeSlider, IDC_SLIDER_VOLUME);
    ui::NameControl(m_VolumeSlider, QStringLiteral("녹음 볼륨"));
    // Keys go left to right along the bottom, then over the title bar.
    QWidget* const tabOrder[] = {m_BtnRecord, m_BtnStop,     m_BtnSplit,    m_BtnSaveFolder, m_VolumeSlider,
                                 m_BtnAbout,  m_BtnSettings, m_BtnMinimize, m_BtnExit};
    for (size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    // What the face paints as time and format, for screen readers.
    m_TimeReadout = new ui::TextReadout(this, RecorderFace::TimeRect());
    m_TimeReadout->setObjectName(QStringLiteral("TimeReadout"));
    m_FormatReadout = new ui::TextReadout(this, RecorderFace::FormatRect());
    m_FormatReadout->setObjectName(QStringLiteral("FormatReadout"));

    // The capture path keeps its own lists; the window's list controls exist but are never seen.
    auto* devices = new QComboBox(this);
    QUOR_SET_ID(devices, IDC_COMBO_DEVICE);
    HideControl(devices);
    auto* lines = new QComboBox(this);
    QUOR_SET_ID(lines, IDC_COMBO_LINE);
    HideControl(lines);
    auto* lineList = new QListWidget(this);
    QUOR_SET_ID(lineList, IDC_LIST_LINES);
    HideControl(lineList);

    connect(m_BtnExit, &QAbstractButton::clicked, this, &CQuorRecorderDlg::OnBtnExit);
    connect(m_BtnSettings, &QAbstractButton::clicked, this, &CQuorRecorderDlg::OnBtnSettings);
    connect(m_BtnRecord, &QAbstractButton::clicked, this, &CQuorRecorderDlg::OnBtnRecord);
    connect(m_BtnStop, &QAbstractButton::clicked, this, &CQuorRecorderDlg::OnBtnStop);
    connect(m_BtnMinimize, &QAbstractButton::clicked, this, &CQuorRecorderDlg::OnBtnMinimize);
    connect(m_BtnAbout, &QAbstractButton::clicked, this, &CQuorRecorderDlg::OnBtnAbout);
    connect(m_BtnSaveFolder, &QAbstractButton::clicked, this, &CQuorRecorderDlg::OnBtnSaveFolder);
    connect(m_BtnSplit, &QAbstractButton::clicked, this, &CQuorRecorderDlg::OnBtnSplit);
    connect(m_VolumeSlider, &QAbstractSlider::sliderPressed, this, [this] {
        if (m_CapturePath)
            m_CapturePath->OnVolumeSliderPressed();
    });
    connect(m_VolumeSlider, &QAbstractSlider::valueChanged, this, [this](int position) {
        if (m_CapturePath)
            m_CapturePath->OnVolumeSliderMoved(position, m_VolumeSlider->isSliderDown());
    });
    connect(m_VolumeSlider, &QAbstractSlider::sliderReleased, this, [this] {
        if (m_CapturePath)
            m_CapturePath->OnVolumeSliderReleased(m_VolumeSlider->value());
    });
}

void CQuorRecorderDlg::OnInitDialog() {
    // The program's own icon, for the task bar and the window switcher.
    setWindowIcon(Skin::Bitmap(SkinSet::Recorder, IDR_MAINFRAME));
    ApplySettings();
    setWindowTitle(QStringLiteral("쿠오르녹음기"));

    setFixedSize(RecorderFace::kWidth, RecorderFace::kHeight);
    if (const QScreen* screen =
            parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen()) {
        const QRect area = parentWidget() ? parentWidget()->geometry() : screen->availableGeometry();
        move(area.center() - rect().center());
    }

    m_Graph = new CFrequencyGraph(this);
    m_Graph->setGeometry(172, 69, 120, 32);
    QUOR_SET_ID(m_Graph, IDC_STATIC_SPECTRUM);
    ui::SetAccessibleRole(m_Graph, QAccessible::Chart);
    m_Graph->setAccessibleName(QStringLiteral("스펙트럼"));
    // Until the first values arrive the display shows the face's dark recess, not a grey box.
    QPalette recess = m_Graph->palette();
    recess.setColor(QPalette::Window, QColor(7, 15, 18));
    m_Graph->setPalette(recess);
    m_Graph->SetMode(CFrequencyGraph::kModeSpectrum);
    m_SliderAdapter = std::make_unique<SliderVolumeAdapter>(m_VolumeSlider);

    // The face's magenta is see-through: the window takes the face's shape.
    ui::ShapeWindowToFace(this, Skin::Image(SkinSet::Recorder, IDB_FACE), kSkinColourKey);
    // Talking to the sound server takes a while: the window shows first.
    ui::AfterFirstPaint(this, [this] { OnFirstShown(); });
}

void CQuorRecorderDlg::OnFirstShown() {
    StartMonitor();
    // A termination request may cancel the notices below: then nothing more opens.
    if (m_bTerminating)
        return;
    m_CapturePath =
        std::make_unique<CapturePath>(m_CaptureDialogs, *m_SliderAdapter, static_cast<IMixerNotify*>(this));
    m_CapturePath->PrepareCapturePath();
    if (m_bTerminating)
        return;
    m_DeviceWatch.start();

    RecorderSettings& settings = TheRecorderSettings();
    settings.infoOpen = settings.LoadInfoOpen();
    if (settings.infoOpen == 0)
        (new CInfoPopupDlg(this))->show();
}

void CQuorRecorderDlg::StartMonitor() {
    const MMRESULT opened = m_Recorder.OpenMonitor();
    if (opened == MMSYSERR_NOERROR) {
        m_Recorder.SetMonitorCallback(m_Graph, &SpectrumFeed);
        m_Recorder.StartMonitor();
    }
    // No output to record at all: the capture path's stereo-device message tells the user, once.
    if (!m_Recorder.IsMonitorOpen() && opened != MMSYSERR_BADDEVICEID)
        ShowNotice(QStringLiteral("녹음 장치가 오픈되어 있지 않습니다."));
}

void CQuorRecorderDlg::ApplySettings() {
    RecorderSettings& settings = TheRecorderSettings();
    settings.Load();
    const bool onTop = settings.topmost == 1;
    if (onTop != windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
        Qt::WindowFlags flags = windowFlags();
        flags.setFlag(Qt::WindowStaysOnTopHint, onTop);
        if (QWindow* window = windowHandle()) {
            // An existing window changes its stacking in place: not hidden, not moved.
            overrideWindowFlags(flags);
            window->setFlags(flags);
        } else {
            setWindowFlags(flags);
        }
    }
    UpdateReadouts();
    update();
}

void CQuorRecorderDlg::PrepareFileName() {
    RecorderSettings& settings = TheRecorderSettings();
    settings.fileName.clear();
    static const char* const kExtensions[] = {"mp3", "wav", "ogg"};
    static const char* const kFilters[] = {"mp3 audio files (*.mp3);;All Files (*)",
                                           "wav audio files (*.wav);;All Files (*)",
                                           "ogg audio files (*.ogg);;All Files (*)"};
    const int type = settings.fileType >= kFileTypeMp3 && settings.fileType <= kFileTypeOgg
                         ? settings.fileType
                         : kFileTypeMp3;
    settings.fileName = AutomaticFileName(type, std::time(nullptr));
    settings.fileNameAutomatic = true;
    if (settings.autoFileName == 1)
        return;

    QFileDialog dialog(this, {}, QString::fromStdString(settings.savePath + "/" + settings.fileName),
                       QLatin1String(kFilters[type]));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QLatin1String(kExtensions[type]));
    dialog.selectFile(QString::fromStdString(settings.fileName));
    // Cancel keeps the automatic name: the recording starts all the same.
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QFileInfo chosen(dialog.selectedFiles().first());
    settings.savePath = chosen.absolutePath().toStdString();
    settings.fileName = chosen.fileName().toStdString();
    // The dialog asked before replacing a file: this name is used as it is.
    settings.fileNameAutomatic = false;
}

void CQuorRecorderDlg::SetRecordSkin(bool pauseSkin) {
    // Named by what a press does now.
    ui::NameControl(m_BtnRecord, pauseSkin ? kPauseName : kRecordName);
    if (pauseSkin)
        m_BtnRecord->SetSkin(SkinSet::Recorder, IDB_PAUSE_NORMAL, IDB_PAUSE_PRESSED, IDB_PAUSE_HOVER, 0, 0,
                             IDB_ROUND_MASK);
    else
        m_BtnRecord->SetSkin(SkinSet::Recorder, IDB_RECORD_NORMAL, IDB_RECORD_PRESSED, IDB_RECORD_HOVER, 0, 0,
                             IDB_ROUND_MASK);
    m_BtnRecord->update();
}

void CQuorRecorderDlg::SetStatus(const QString& text) {
    m_StatusText = text;
    UpdateReadouts();
    update(RecorderFace::StatusRect());
}

RecorderFaceState CQuorRecorderDlg::FaceState() const {
    RecorderFaceState state;
    const RecorderSettings& settings = TheRecorderSettings();
    state.elapsedSeconds = m_ElapsedSeconds;
    state.recording = m_Recorder.IsRecording();
    state.paused = m_Recorder.IsPaused();
    state.fileType = settings.fileType;
    state.bitRate = settings.bitRate;
    state.sampleRate = settings.sampleRate;
    state.status = m_StatusText;
    return state;
}

void CQuorRecorderDlg::UpdateReadouts() {
    const RecorderFaceState state = FaceState();
    // The status without its brackets: "녹음중", "일시중지".
    QString status = state.status;
    status.remove(u'[').remove(u']');
    m_TimeReadout->SetText(RecorderFace::TimeText(state.elapsedSeconds),
                           status.isEmpty() ? QStringLiteral("녹음 시간")
                                            : QStringLiteral("녹음 시간, ") + status);
    m_FormatReadout->SetText(RecorderFace::FormatText(state), QStringLiteral("녹음 형식"));
}

void CQuorRecorderDlg::OnBtnRecord() {
    const QString recordingText = QStringLiteral("[녹음중]");
    if (!m_Recorder.IsRecording()) {
        PrepareFileName();
        // A termination request cancelled the Save As box: no recording starts any more.
        if (m_bTerminating)
            return;
        m_ElapsedSeconds = 0;
        if (!m_Recorder.StartRecord()) {
            // Nothing is recording: stay idle and say why, instead of counting time over nothing.
            AfterRecordButton();
            UpdateReadouts();
            update(RecorderFace::TimeAndFormatRect());
            ShowNotice(RecordFailureText(m_Recorder.LastFailure()));
            return;
        }
        m_Timer.start();
        SetRecordSkin(true);
        SetStatus(recordingText);
    } else if (m_Recorder.IsPaused()) {
        m_Recorder.ResumeRecord();
        SetRecordSkin(true);
        SetStatus(recordingText);
    } else {
        m_Recorder.PauseRecord();
        SetRecordSkin(false);
        SetStatus(QStringLiteral("[일시중지]"));
    }
    AfterRecordButton();
}

void CQuorRecorderDlg::AfterRecordButton() {
    m_BtnRecord->setFocus();
    update(RecorderFace::LampRect());
    update(RecorderFace::StatusRect());
}

void CQuorRecorderDlg::OnBtnStop() {
    const bool stopped = m_Recorder.IsRecording() && m_Recorder.StopRecord();
    SetRecordSkin(false);
    m_BtnStop->setFocus();
    update(RecorderFace::LampRect());
    SetStatus({});
    m_Timer.stop();
    if (stopped)
        ReportStopOutcome();
}

void CQuorRecorderDlg::ReportStopOutcome() {
    // The file is finished first; then the user hears what went wrong with it, if anything.
    if (m_Recorder.LastFailure() != Recorder::RecordFailure::None)
        ShowNotice(RecordFailureText(m_Recorder.LastFailure()));
    // A tenth of a second is the smallest amount the notice can name.
    if (m_Recorder.DroppedSeconds() >= 0.05)
        ShowNotice(DroppedAudioText(m_Recorder.DroppedSeconds()));
}

bool CQuorRecorderDlg::FinishIfEndedByItself() {
    // A recording that ended by itself (lost capture, full disk, size limit, file removed): Stop
    // finishes what was written, then tells why.
    if (!m_Recorder.IsRecording() ||
        (m_Recorder.EndedByItself() == Recorder::RecordFailure::None && !m_Recorder.RecordingFileGone()))
        return false;
    OnBtnStop();
    return true;
}

void CQuorRecorderDlg::OnTimer() {
    if (FinishIfEndedByItself())
        return;
    if (!m_Recorder.IsPaused())
        ++m_ElapsedSeconds;
    UpdateReadouts();
    update(RecorderFace::TimeAndFormatRect());
    update(RecorderFace::LampRect());
}

void CQuorRecorderDlg::OnDeviceWatch() {
    if (m_bClosing || m_bTerminating)
        return;
    if (FinishIfEndedByItself())
        return;
    TellApplicationEvents();
    const bool monitorDown = !m_Recorder.IsMonitorRunning() || m_Recorder.IsMonitorLost();
    if (!monitorDown) {
        ContinueRecovery();
        return;
    }
    ShowSilence();
    if (m_SinceMonitorRetry.isValid() && m_SinceMonitorRetry.elapsed() < 1000)
        return;
    m_SinceMonitorRetry.start();
    if (m_Recorder.RestartMonitor() != MMSYSERR_NOERROR || !m_Recorder.IsMonitorRunning())
        return;
    // A new server (or its first output): the capture path is set up again on it.
    m_SinceServerBack.start();
    ContinueRecovery();
}

void CQuorRecorderDlg::TellApplicationEvents() {
    const platform::ApplicationCaptureEvents events = platform::ChosenApplicationEvents();
    platform::ApplicationCaptureEvents& told = m_ApplicationEventsTold;
    const std::string chosen = platform::CaptureSourceName();
    if (chosen != m_ApplicationToldOf) {
        // Another choice counts from 0 again.
        m_ApplicationToldOf = chosen;
        told = {};
    }
    const auto application = platform::ApplicationOfSourceName(chosen);
    if (!application)
        return;
    const QString name = QString::fromStdString(application->name);
    // Counted as told before the box shows: the watch runs on under it.
    if (events.refusals > told.refusals) {
        told = events;
        ShowNotice(QStringLiteral("사운드 서버가 %1의 소리만 따로 녹음하도록 허용하지 않습니다. 환경설정의 "
                                  "볼륨 페이지에서 다른 녹음 소스를 선택해 주세요.")
                       .arg(name));
    } else if (events.quits > told.quits) {
        told = events;
        if (m_Recorder.IsRecording())
            ShowNotice(QStringLiteral("녹음하던 프로그램(%1)이 종료되었습니다. 녹음은 무음으로 계속되며, "
                                      "프로그램이 다시 소리를 내면 이어서 녹음합니다.")
                           .arg(name));
    }
}

void CQuorRecorderDlg::ContinueRecovery() {
    if (!m_SinceServerBack.isValid() || !m_CapturePath)
        return;
    // A chosen source is waited for a few seconds: a server's devices may come after it.
    const bool mayStillAppear = m_SinceServerBack.elapsed() < kChosenSourceWaitMs;
    // Cleared first: the recovery may show a notice, and the watch runs on under it.
    const QElapsedTimer since = m_SinceServerBack;
    m_SinceServerBack.invalidate();
    if (m_CapturePath->RecoverCapturePath(mayStillAppear) == CapturePath::Recovery::Waiting)
        m_SinceServerBack = since;
}

void CQuorRecorderDlg::ShowSilence() {
    // Nothing is captured: the spectrum falls instead of holding up the last sound it was given.
    // Unchanged values cost no painting, so this may run on every watch.
    const std::vector<double> silence(m_Graph->Values().size(), 0.0);
    if (!silence.empty())
        m_Graph->SetData(static_cast<int>(silence.size()), silence.data());
}

// The slider follows a capture volume set elsewhere: left stale, its next touch would undo that
// change.
void CQuorRecorderDlg::OnMixerNotify(HMIXER mixer, uint32_t message, uint32_t id) {
    QMetaObject::invokeMethod(
        this,
        [this, mixer, message, id] {
            if (m_CapturePath)
                m_CapturePath->OnMixerChange(mixer, message, id);
        },
        Qt::QueuedConnection);
}

void CQuorRecorderDlg::OnBtnExit() {
    if (m_Recorder.IsRecording() &&
        CMssageBoxDlg::Show(this, QStringLiteral("녹음중 입니다. 쿠오르녹음기를 종료하시겠습니까?"), kTitle,
                            kBoxOkCancel, kBoxWidth, kBoxHeight) != ui::IDOK)
        return;
    done(ui::IDOK);
}

void CQuorRecorderDlg::done(int result) {
    if (m_bClosing)
        return;
    m_bClosing = true;
    if (m_Recorder.IsRecording())
        OnBtnStop();
    m_Timer.stop();
    m_DeviceWatch.stop();
    m_Recorder.StopMonitor();
    QDialog::done(result);
    m_bClosing = false;
}

void CQuorRecorderDlg::OnBtnSettings() {
    if (m_Recorder.IsRecording()) {
        ShowNotice(QStringLiteral("레코딩 중에는 변경할수 없습니다."));
        return;
    }
    OpenSettingsDialog();
}

void CQuorRecorderDlg::OpenSettingsDialog() {
    // Its OK button saves the pages and has this window apply the new settings.
    StarOptionDlg settings(
        &CSettingDlg_Volume::Create, [this] { ApplySettings(); }, this);
    settings.DoModal();
}

void CQuorRecorderDlg::OnBtnMinimize() {
    showMinimized();
}

void CQuorRecorderDlg::OnBtnAbout() {
    CHelpDlg about(this);
    about.exec();
}

void CQuorRecorderDlg::OnBtnSaveFolder() {
    m_Shell->OpenFolder(TheRecorderSettings().savePath);
}

void CQuorRecorderDlg::OnBtnSplit() {
    const RecorderSettings& settings = TheRecorderSettings();
    std::vector<std::string> arguments;
    if (IsWavFileName(settings.fileName))
        ShowNotice(QStringLiteral("mp3파일만 지원합니다."));
    else
        arguments.push_back(settings.savePath + "/" + settings.fileName); // one argument, no quotes needed

    const std::string splitter = FindSplitterProgram(QCoreApplication::applicationDirPath().toStdString());
    if (splitter.empty()) {
        ShowNotice(QStringLiteral("[쿠오르녹음기 - 자르개] 파일이 없습니다."));
        return;
    }
    m_Shell->StartDetached(splitter, arguments);
}

void CQuorRecorderDlg::OnTerminationRequest() {
    // The open boxes have been cancelled: each handler that opened one unwinds and sees this.
    m_bTerminating = true;
    close();
}

void CQuorRecorderDlg::ShowNotice(const QString& message) {
    if (m_bTerminating)
        return;
    CMssageBoxDlg::Show(this, message, kTitle, kBoxOkOnly, kBoxWidth, kBoxHeight);
}

void CQuorRecorderDlg::OpenTagEditor(const std::string& path) {
    // The program is ending: the file is finished, nobody is there to type a tag.
    if (m_bTerminating)
        return;
    CID3TagInfoDlg editor(this, QString::fromStdString(path));
    editor.DoModal();
}

void CQuorRecorderDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setClipRegion(mask()); // the face's colour key stays see-through
    m_Face.Draw(painter, FaceState());
    ui::ReportFirstPaint("QuorRecorder");
}

void CQuorRecorderDlg::keyPressEvent(QKeyEvent* event) {
    // Return presses the focused button; neither Enter nor Escape may close the window.
    if (!ui::PressFocusedButton(this, event) && !ui::SwallowDialogCloseKey(event))
        QDialog::keyPressEvent(event);
}
