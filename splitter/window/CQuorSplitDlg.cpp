// The splitter window: controls, transport states, the play timer, painting and the file dialogs.
// The cut lives in CQuorSplitDlgCut.cpp.
#include "splitter/window/CQuorSplitDlg.h"

#include "platform/folders/SpecialFolders.h"
#include "platform/registry/CRegistry.h"
#include "platform/registry/ProgramKeys.h"
#include "platform/shell/IShellActions.h"
#include "splitter/cut/CutOutput.h"
#include "splitter/cut/PlayableFile.h"
#include "splitter/media/MediaQuery.h"
#include "splitter/slider/SliderBoth.h"
#include "splitter/slider/SliderBothBtn.h"
#include "splitter/slider/TimeText.h"
#include "splitter/window/CSplitAboutDlg.h"
#include "splitter/window/CutProgressPanel.h"
#include "splitter/window/SplitterIds.h"
#include "ui/AccessibleName.h"
#include "ui/AfterFirstPaint.h"
#include "ui/CHoverButton.h"
#include "ui/CMssageBoxDlg.h"
#include "ui/ControlId.h"
#include "ui/CxSkinButton.h"
#include "ui/DialogKeys.h"
#include "ui/FirstPaintReport.h"
#include "ui/Fonts.h"
#include "ui/ImageRegion.h"
#include "ui/SplitterBitmaps.h"
#include "ui/SystemMessageBox.h"
#include "ui/TextReadout.h"
#include "ui/WindowDragger.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPalette>
#include <QScreen>
#include <array>
#include <filesystem>
#include <optional>
#include <utility>

using namespace CQuorSplitDlgIds;
using namespace SplitterBitmap;

namespace {

const QRect kStartTextRect(QPoint(186, 176), QPoint(247, 190));
const QRect kEndTextRect(QPoint(292, 176), QPoint(353, 190));
const QRect kPlayTextRect(QPoint(100, 75), QPoint(159, 87));
// What the handlers invalidate: the range texts, the play position.
const QRect kRangeTextsArea(QPoint(188, 177), QPoint(353, 190));
const QRect kPlayTextArea(QPoint(100, 74), QPoint(159, 87));

// The folder the dialogs start in: the recorder's "Savepath", else My Music; home when that
// folder does not exist (a new user has no settings, and maybe no Music folder).
std::string SaveFolder() {
    std::string folder = platform::MyMusicFolder();
    CRegistry registry;
    if (registry.Open(platform::HKEY_CURRENT_USER, kSettingsKey)) {
        registry.ReadString("Savepath", folder, CRegistry::kPathBufferBytes);
        registry.Close();
    }
    std::error_code ec;
    return std::filesystem::is_directory(folder, ec) ? folder : platform::HomeFolder();
}

const char* const kCannotPlay = "재생 할수 없는 파일입니다.";
// What the three painted times are, as the background labels them.
const char* const kTimeNames[] = {"시작", "끝", "재생위치"};

} // namespace

CQuorSplitDlg::CQuorSplitDlg(QWidget* parent, PlayerFactory makePlayer, IShellActions* shell)
    : QDialog(parent,
              Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Window | Qt::WindowMinimizeButtonHint),
      m_Ctx(SplitContext::Instance()), m_MakePlayer(std::move(makePlayer)), m_Shell(shell) {
    if (!m_Shell) {
        m_OwnShell = std::make_unique<DesktopShellActions>();
        m_Shell = m_OwnShell.get();
    }
    setObjectName("IDD_QUORSPLIT_DIALOG");
    m_PlayTimer.setInterval(1000);
    connect(&m_PlayTimer, &QTimer::timeout, this, &CQuorSplitDlg::OnPlayTimer);
}

CQuorSplitDlg::~CQuorSplitDlg() {
    m_PlayTimer.stop();
    if (m_Player)
        m_Player->ControlPlayback(COgg::kStop);
}

void CQuorSplitDlg::SetInputPath(const std::string& path) {
    m_Ctx.inputPath = path;
}

void CQuorSplitDlg::setVisible(bool visible) {
    // Before the first show, so that the controls it creates are shown with the window.
    if (visible)
        OnInitDialog();
    QDialog::setVisible(visible);
}

void CQuorSplitDlg::OnInitDialog() {
    if (m_Initialised)
        return;
    m_Initialised = true;

    const QPixmap icon = Skin::Bitmap(SkinSet::Splitter, IDR_MAINFRAME);
    setWindowIcon(QIcon(icon));
    setWindowTitle("쿠오르녹음기-자르개");
    setFixedSize(500, 210);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    CreateControls();
    m_Background = Skin::Bitmap(SkinSet::Splitter, IDB_BACKGROUND);
    ui::ShapeWindowToFace(this, Skin::Image(SkinSet::Splitter, IDB_BACKGROUND), kSkinColourKey);

    m_Slider = new SliderBoth;
    m_Slider->Create(this, QRect(8, 96, 483, 60), true, SLIDER_ID);
    QUOR_SET_ID(m_Slider, SLIDER_ID);
    m_Slider->SetThumbPictures(Skin::Bitmap(SkinSet::Splitter, IDB_THUMB_START),
                               Skin::Bitmap(SkinSet::Splitter, IDB_THUMB_END));
    m_Slider->SetRange(0, 1, 1); // refused: the slider keeps 0..1 with tick 10
    m_Slider->Reposition(8, 96, 483, 60, true);
    connect(m_Slider, &SliderBoth::Command, this, &CQuorSplitDlg::OnSliderCommand);
    // Keys go as the eye does: the file row, the range, the transport, the cut, the title bar.
    QWidget* const tabOrder[] = {m_Open,
                                 m_Folder,
                                 m_Slider->StartThumb(),
                                 m_Slider->EndThumb(),
                                 m_Play,
                                 m_Pause,
                                 m_Stop,
                                 m_Cut,
                                 m_About,
                                 m_Minimize,
                                 m_Close};
    for (size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    m_Open->setFocus();

    const QRect timeRects[] = {kStartTextRect, kEndTextRect, kPlayTextRect};
    for (size_t i = 0; i < m_TimeReadouts.size(); ++i) {
        m_TimeReadouts[i] = new ui::TextReadout(this, timeRects[i]);
    }
    ShowTimes({});

    m_Player = std::make_unique<COgg>(m_MakePlayer());
    SetTransport(false, false, false);
    m_Progress = new CutProgressPanel(this);
    connect(m_Progress, &CutProgressPanel::CancelClicked, this, &CQuorSplitDlg::CancelCut);
    // The sound server and the file take a while: the window shows first, then fills in.
    ui::AfterFirstPaint(this, [this] { OnFirstShown(); });
    new WindowDragger(this);
}

void CQuorSplitDlg::OnFirstShown() {
    m_Player->InitAudio();
    // The path counts as loaded only once the file has passed, so nothing cuts a refused one.
    const std::string path = std::exchange(m_Ctx.inputPath, std::string());
    std::error_code ec;
    // The recorder passes its folder before its first recording: nothing to read or tell then.
    if (!path.empty() && !std::filesystem::is_directory(path, ec)) {
        // A file named on the command line (an "Open with" from the file manager) deserves a word
        // when it is refused, not only buttons turned off in silence.
        if (!TryLoad(path, NamePart(path), 10))
            TellCannotPlay();
        ShowTimes(rect());
    }
    m_Started = true;
}

void CQuorSplitDlg::CreateControls() {
    const auto hover = [this](CHoverButton*& button, const char* name, int id, int bitmap, QRect at,
                              const char* text) {
        button = new CHoverButton(this);
        ui::SetControlId(button, name, id);
        button->LoadBitmap(SkinSet::Splitter, bitmap, 3);
        button->setGeometry(at);
        ui::NameControl(button, text);
    };
    hover(m_Close, "IDC_BTN_CLOSE", IDC_BTN_CLOSE, IDB_BTN_CLOSE, {470, 3, 22, 22}, "닫기");
    hover(m_Minimize, "IDC_BTN_MINIMIZE", IDC_BTN_MINIMIZE, IDB_BTN_MINIMIZE, {447, 3, 22, 22}, "최소화");
    hover(m_About, "IDC_BTN_ABOUT", IDC_BTN_ABOUT, IDB_BTN_ABOUT, {416, 4, 20, 20}, "정보");
    hover(m_Open, "IDC_BTN_OPEN", IDC_BTN_OPEN, IDB_BTN_OPEN, {343, 36, 70, 24}, "파일열기");
    hover(m_Folder, "IDC_BTN_FOLDER", IDC_BTN_FOLDER, IDB_BTN_FOLDER, {417, 36, 70, 24}, "저장폴더");

    const auto skin = [this](CxSkinButton*& button, const char* name, int id, std::array<int, 5> ids,
                             QRect at, const char* text) {
        button = new CxSkinButton(this);
        ui::SetControlId(button, name, id);
        button->SetSkin(SkinSet::Splitter, ids[0], ids[1], ids[2], ids[3], 0, ids[4], 0, 0, 0);
        button->setGeometry(at);
        ui::NameControl(button, text);
    };
    skin(m_Cut, "IDC_BTN_CUT", IDC_BTN_CUT, {IDB_CUT_NORMAL, IDB_CUT_PRESSED, IDB_CUT_HOVER, 0, IDB_CUT_MASK},
         {392, 168, 96, 30}, "자르기");
    skin(m_Stop, "IDC_BTN_STOP", IDC_BTN_STOP,
         {IDB_STOP_NORMAL, IDB_STOP_PRESSED, IDB_STOP_HOVER, IDB_STOP_DISABLED, IDB_ROUND_MASK},
         {90, 165, 34, 34}, "정지");
    skin(m_Pause, "IDC_BTN_PAUSE", IDC_BTN_PAUSE,
         {IDB_PAUSE_NORMAL, IDB_PAUSE_PRESSED, IDB_PAUSE_HOVER, IDB_PAUSE_DISABLED, IDB_ROUND_MASK},
         {52, 165, 34, 34}, "일시정지");
    skin(m_Play, "IDC_BTN_PLAY", IDC_BTN_PLAY,
         {IDB_PLAY_NORMAL, IDB_PLAY_PRESSED, IDB_PLAY_HOVER, IDB_PLAY_DISABLED, IDB_ROUND_MASK},
         {14, 165, 34, 34}, "재생");

    m_PathBox = new QLineEdit(this);
    QUOR_SET_ID(m_PathBox, IDC_EDIT_PATH);
    m_PathBox->setReadOnly(true);
    m_PathBox->setEnabled(false);
    m_PathBox->setFrame(false);
    m_PathBox->setGeometry(68, 42, 260, 16);
    m_PathBox->setAccessibleName("파일"); // the label the background shows beside it
    m_PathBox->setFont(ui::CellHeightFont("돋움", 12));
    // Black on white, enabled or not. A palette, not a style sheet: the first style sheet of a
    // program builds the style sheet machinery before the window can show.
    QPalette colours = m_PathBox->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        colours.setColor(group, QPalette::Text, Qt::black);
        colours.setColor(group, QPalette::Base, Qt::white);
    }
    m_PathBox->setPalette(colours);

    connect(m_Close, &QAbstractButton::clicked, this, &QDialog::close);
    connect(m_Minimize, &QAbstractButton::clicked, this, &QWidget::showMinimized);
    connect(m_About, &QAbstractButton::clicked, this, &CQuorSplitDlg::OnAbout);
    connect(m_Open, &QAbstractButton::clicked, this, &CQuorSplitDlg::OnOpen);
    connect(m_Folder, &QAbstractButton::clicked, this, &CQuorSplitDlg::OnOpenFolder);
    connect(m_Cut, &QAbstractButton::clicked, this, &CQuorSplitDlg::OnCut);
    connect(m_Stop, &QAbstractButton::clicked, this, &CQuorSplitDlg::OnStop);
    connect(m_Pause, &QAbstractButton::clicked, this, &CQuorSplitDlg::OnPauseResume);
    connect(m_Play, &QAbstractButton::clicked, this, &CQuorSplitDlg::OnPlay);
}

void CQuorSplitDlg::SetTransport(bool play, bool pause, bool stop) {
    // A pressed transport button that goes off hands the keyboard to the one that is on now,
    // not to the next control in the row.
    const auto onTransport = [this] {
        const QWidget* focused = focusWidget();
        return focused && focused->isEnabled() &&
               (focused == m_Play || focused == m_Pause || focused == m_Stop);
    };
    const bool keysOnTransport = onTransport();
    m_Play->setEnabled(play);
    m_Pause->setEnabled(pause);
    m_Stop->setEnabled(stop);
    if (!keysOnTransport || onTransport())
        return;
    for (CxSkinButton* button : {m_Play, m_Pause, m_Stop})
        if (button->isEnabled()) {
            button->setFocus(Qt::OtherFocusReason);
            return;
        }
}

void CQuorSplitDlg::LoadFile(const std::string& path, const std::string& name, int tick) {
    m_PathBox->setText(QString::fromStdString(path));
    m_Ctx.inputPath = path;
    m_Ctx.inputFolder = FolderPart(path);
    m_Ctx.inputName = name;
    m_Slider->SetRange(0, m_Ctx.media.durationSec, tick);
    m_Slider->SetSelection(0, m_Ctx.media.durationSec);
    // The old file's picture goes at once; the new one's scan starts once the window has shown
    // the file (paintEvent), so that it takes nothing from showing its length.
    m_Loudness.reset();
    m_Slider->SetLoudness(nullptr);
    m_LoudnessPending = true;
    SetTransport(true, false, false);
}

void CQuorSplitDlg::StartLoudnessScan() {
    if (m_Ctx.inputPath.empty())
        return;
    m_Loudness = std::make_unique<BackgroundLoudness>(m_Ctx.inputPath, m_Ctx.media.durationSec);
    m_Slider->SetLoudness(m_Loudness->Profile());
}

bool CQuorSplitDlg::TryLoad(const std::string& path, const std::string& name, int tick) {
    const std::optional<MediaProps> props = ReadPlayableFile(path);
    if (!props)
        return false;
    m_Ctx.media = *props;
    LoadFile(path, name, tick);
    // A cut killed before it ended may have left its temporary file beside the file it cut.
    RemoveStaleCutFiles(m_Ctx.inputFolder);
    return true;
}

void CQuorSplitDlg::OnOpen() {
    OnStop();
    QFileDialog dialog(this, QString(), QString::fromStdString(SaveFolder()), "mp3 audio files (*.mp3)");
    dialog.setObjectName("OpenFileDialog");
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix("mp3");
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        const std::string path = dialog.selectedFiles().first().toStdString();
        // A refused file leaves the loaded one as it was: its path, its range, its rates.
        if (!TryLoad(path, NamePart(path), 1))
            TellCannotPlay();
    }
    if (m_Ctx.inputPath.empty())
        SetTransport(false, false, false);
    ShowTimes(kRangeTextsArea);
}

void CQuorSplitDlg::OnOpenFolder() {
    OnStop();
    m_Shell->OpenFolder(SaveFolder());
}

void CQuorSplitDlg::OnPlay() {
    int start = 0, end = 0;
    m_Slider->GetSelection(start, end);
    if (m_Ctx.inputPath.empty())
        return;
    SetTransport(false, true, true);
    if (!m_Player->OpenStream(m_Ctx.inputPath)) {
        OnStop();
        return;
    }
    if (!m_Player->PlayFrom(start * 1000)) {
        PlaybackFailed(false);
        return;
    }
    m_PlayTimer.start();
}

void CQuorSplitDlg::OnPauseResume() {
    if (!m_Player->IsPaused()) {
        m_PlayTimer.stop();
        SetTransport(false, true, false);
        m_Player->ControlPlayback(COgg::kPause);
    } else if (m_Player->ControlPlayback(COgg::kResume)) {
        m_PlayTimer.start();
        SetTransport(false, true, true);
    } else if (m_Player->NoServer()) {
        PlaybackFailed(false);
    } else {
        OnStop(); // the player has told that the file could not be opened again
    }
}

void CQuorSplitDlg::PlaybackFailed(bool lost) {
    OnStop();
    Notify(lost ? "\r\n\r\n사운드 서버와의 연결이 끊어져\r\n재생을 멈췄습니다."
                : "\r\n\r\n사운드 서버에 연결할 수 없어\r\n재생할 수 없습니다.",
           1, 300, 150);
}

void CQuorSplitDlg::OnStop() {
    m_Player->ControlPlayback(COgg::kStop);
    int start = 0, end = 0;
    m_Slider->GetSelection(start, end);
    m_Slider->SetMarker(start);
    m_PlayTimer.stop();
    SetTransport(true, false, false);
    ShowTimes(kPlayTextArea);
}

void CQuorSplitDlg::OnPlayTimer() {
    if (m_Player->IsLost()) {
        PlaybackFailed(true);
        return;
    }
    m_Player->GetTimeText();
    m_Slider->SetMarker(m_Player->GetElapsedSec());
    ShowTimes(kPlayTextArea);
    if (m_Player->IsAtEnd())
        OnStop();
}

void CQuorSplitDlg::OnSliderCommand(int commandId) {
    if (commandId != SLIDER_ID)
        return;
    if (!m_Player->IsStreamOpen() && !m_Player->IsPaused()) {
        int start = 0, end = 0;
        m_Slider->GetSelection(start, end);
        m_Slider->SetMarker(start);
    }
    ShowTimes(kRangeTextsArea);
}

void CQuorSplitDlg::OnAbout() {
    CSplitAboutDlg about(*m_Shell, this);
    about.exec();
}

void CQuorSplitDlg::TellCannotPlay() {
    if (!m_Terminating)
        ui::ShowSystemMessageBox(this, kCannotPlay);
}

int CQuorSplitDlg::Notify(const QString& message, int buttonLayout, int width, int height) {
    if (m_Terminating)
        return ui::IDCANCEL;
    return CMssageBoxDlg::Show(this, message, "알림", buttonLayout, width, height,
                               MessageBoxTemplate::Splitter());
}

void CQuorSplitDlg::closeEvent(QCloseEvent* event) {
    if (m_CutRun) {
        // The cut is cancelled first; the window closes once the converter has gone.
        m_CloseAfterCut = true;
        CancelCut();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void CQuorSplitDlg::reject() {
    if (m_CutRun)
        CancelCut();
    else
        QDialog::reject();
}

void CQuorSplitDlg::paintEvent(QPaintEvent*) {
    {
        QPainter painter(this);
        painter.setClipRegion(mask()); // the face's colour key stays see-through
        painter.drawPixmap(0, 0, m_Background);
        PaintTexts(painter);
    }
    if (std::exchange(m_LoudnessPending, false))
        QMetaObject::invokeMethod(this, &CQuorSplitDlg::StartLoudnessScan, Qt::QueuedConnection);
    ui::ReportFirstPaint("QuorSplit");
    if (!m_Ctx.inputName.empty())
        ui::ReportFileShown("QuorSplit");
}

std::array<QString, 3> CQuorSplitDlg::TimeTexts() const {
    int start = 0, end = 0;
    m_Slider->GetSelection(start, end);
    const auto text = [](long seconds) { return QString::fromStdString(SplitTimeText(seconds)); };
    return {text(start), text(end), text(m_Slider->GetMarker())};
}

void CQuorSplitDlg::ShowTimes(const QRect& area) {
    update(area);
    const std::array<QString, 3> texts = TimeTexts();
    for (size_t i = 0; i < texts.size(); ++i)
        m_TimeReadouts[i]->SetText(texts[i], kTimeNames[i]);
}

void CQuorSplitDlg::PaintTexts(QPainter& painter) {
    if (!m_Slider)
        return;
    const std::array<QString, 3> texts = TimeTexts();
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    painter.setFont(ui::CellHeightFont("돋움체", 12));
    painter.setPen(Qt::black);
    painter.drawText(kStartTextRect, flags, texts[0]);
    painter.drawText(kEndTextRect, flags, texts[1]);
    painter.setFont(ui::CellHeightFont("돋움체", 13));
    painter.setPen(m_Player && m_Player->IsStreamOpen() ? QColor(110, 110, 110) : QColor(180, 180, 180));
    painter.drawText(kPlayTextRect, flags, texts[2]);
}

void CQuorSplitDlg::keyPressEvent(QKeyEvent* event) {
    // Return presses the focused button; Escape, as ever, closes the window (or cancels a cut).
    if (!ui::PressFocusedButton(this, event))
        QDialog::keyPressEvent(event);
}
