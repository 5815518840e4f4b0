// The file output page: its controls, loading from the record, the folder browser and Commit.
#include "recorder/settings/dialog/CSettingDlg_FileOut.h"

#include "recorder/settings/QualityPresets.h"
#include "recorder/settings/RecorderSettings.h"
#include "recorder/settings/SettingsValues.h"
#include "ui/AccessibleName.h"
#include "ui/ControlId.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

using namespace CSettingDlg_FileOutIds;

namespace {

// The format list offers MP3 and WAV, at their fileType's index; the OGG presets are not offered.
constexpr int kFormatCount = kFileTypeWav + 1;

const QString& BrowseTitle() {
    static const QString title = QStringLiteral("기본 저장폴더를 선택해 주세요.");
    return title;
}

QString DesktopFolderChooser(QWidget* owner, const QString& title, const QString& start) {
    return QFileDialog::getExistingDirectory(owner, title, start, QFileDialog::ShowDirsOnly);
}

CSettingDlg_FileOut::FolderChooser& Chooser() {
    static CSettingDlg_FileOut::FolderChooser chooser = DesktopFolderChooser;
    return chooser;
}

QLabel* AddRow(QGridLayout* grid, int row, const QString& caption, QWidget* field, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setBuddy(field);
    grid->addWidget(label, row, 0);
    grid->addWidget(field, row, 1);
    return label;
}

} // namespace

CSettingDlg_FileOut::FolderChooser CSettingDlg_FileOut::SetFolderChooser(FolderChooser chooser) {
    FolderChooser previous = std::move(Chooser());
    Chooser() = chooser ? std::move(chooser) : FolderChooser(DesktopFolderChooser);
    return previous;
}

CSettingDlg_FileOut::CSettingDlg_FileOut(QWidget* parent) : SettingsPage(parent) {
    setObjectName(QStringLiteral("IDD_SETTING_FILEOUT"));

    m_FileType = new QComboBox(this);
    QUOR_SET_ID(m_FileType, IDC_COMBO_FILETYPE);
    m_FileType->addItem(QStringLiteral("MP3"));
    m_FileType->addItem(QStringLiteral("WAVE"));
    m_FileType->setToolTip(QStringLiteral("파일 저장 형식 선택"));

    m_FileSetting = new QComboBox(this);
    QUOR_SET_ID(m_FileSetting, IDC_COMBO_FILESETTING);
    m_FileSetting->setToolTip(QStringLiteral("파일 세부 옵션 설정"));
    // The longest label decides the width otherwise, and it is wider than the page.
    m_FileSetting->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_FileSetting->setMinimumContentsLength(12);

    // Shown, never typed into: the folder changes only through the browser.
    m_SavePath = new QLineEdit(this);
    QUOR_SET_ID(m_SavePath, IDC_EDIT_SAVEPATH);
    m_SavePath->setReadOnly(true);
    m_SavePath->setEnabled(false);

    m_Browse = new QPushButton(QStringLiteral("..."), this);
    QUOR_SET_ID(m_Browse, IDC_BTN_BROWSE);
    m_Browse->setAutoDefault(false); // Enter must not open the browser
    m_Browse->setFixedWidth(32);
    ui::NameControl(m_Browse, QStringLiteral("저장폴더 선택"));

    m_AutoFileName = new QCheckBox(QStringLiteral("자동으로 파일이름 지정"), this);
    QUOR_SET_ID(m_AutoFileName, IDC_CHK_AUTOFILENAME);
    m_Mp3Id3v1 = new QCheckBox(QStringLiteral("MP3 녹음시 TAG 넣기"), this);
    QUOR_SET_ID(m_Mp3Id3v1, IDC_CHK_MP3ID3V1);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(14);
    grid->setColumnStretch(1, 1);
    AddRow(grid, 0, QStringLiteral("형식"), m_FileType, this);
    AddRow(grid, 1, QStringLiteral("음질"), m_FileSetting, this);
    auto* folderRow = new QHBoxLayout;
    folderRow->setSpacing(4);
    folderRow->addWidget(m_SavePath, 1);
    folderRow->addWidget(m_Browse);
    auto* folderLabel = new QLabel(QStringLiteral("저장위치"), this);
    m_SavePath->setAccessibleName(folderLabel->text()); // its tooltip is the path itself
    grid->addWidget(folderLabel, 2, 0);
    grid->addLayout(folderRow, 2, 1);

    auto* separator = new QFrame(this);
    separator->setFrameShape(QFrame::HLine);
    separator->setStyleSheet(QStringLiteral("color: #D8D8D8;"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 20, 18, 16);
    layout->setSpacing(14);
    layout->addLayout(grid);
    layout->addSpacing(4);
    layout->addWidget(separator);
    layout->addSpacing(2);
    layout->addWidget(m_AutoFileName);
    layout->addWidget(m_Mp3Id3v1);
    layout->addStretch(1);

    m_FileType->setCurrentIndex(0);
    FillQualityList(0);
    connect(m_FileType, &QComboBox::currentIndexChanged, this, &CSettingDlg_FileOut::OnFormatChanged);
    connect(m_Browse, &QPushButton::clicked, this, &CSettingDlg_FileOut::OnBrowse);
    LoadFromSettings();
}

void CSettingDlg_FileOut::LoadFromSettings() {
    const RecorderSettings& settings = TheRecorderSettings();
    m_AutoFileName->setChecked(settings.autoFileName != 0);
    m_Mp3Id3v1->setChecked(settings.mp3Id3v1 != 0);
    ShowSavePath(QString::fromStdString(settings.savePath));

    // A stored format this page does not offer (OGG, or garbage) would leave no format and an
    // empty quality list that confirming would store; show MP3 with its first preset instead. A
    // preset index outside the format's rows likewise shows the first preset.
    const int format = settings.fileType >= kFileTypeMp3 && settings.fileType < kFormatCount
                           ? settings.fileType
                           : kFileTypeMp3;
    {
        QSignalBlocker quiet(m_FileType);
        m_FileType->setCurrentIndex(format);
    }
    FillQualityList(format);
    if (format == settings.fileType && settings.fileSetting >= 0 &&
        settings.fileSetting < m_FileSetting->count())
        m_FileSetting->setCurrentIndex(settings.fileSetting);
}

void CSettingDlg_FileOut::FillQualityList(int format) {
    m_FileSetting->clear();
    if (const FormatPresets* presets = PresetsForFileType(format)) {
        for (const QualityPreset& preset : presets->rows)
            m_FileSetting->addItem(
                QString::fromUtf8(preset.label.data(), static_cast<qsizetype>(preset.label.size())));
    }
    m_FileSetting->setCurrentIndex(m_FileSetting->count() > 0 ? 0 : -1);
}

void CSettingDlg_FileOut::OnFormatChanged(int format) {
    FillQualityList(format);
}

void CSettingDlg_FileOut::OnBrowse() {
    const QString workingFolder = QDir::currentPath();
    // The browser starts at the stored folder, not at what the edit box shows now.
    std::string stored;
    ReadSavePath(stored);
    QString path = QString::fromStdString(stored);
    const QString chosen = Chooser()(this, BrowseTitle(), path);
    if (!chosen.isEmpty())
        path = QDir::toNativeSeparators(chosen);
    QDir::setCurrent(workingFolder);
    ShowSavePath(path);
}

void CSettingDlg_FileOut::ShowSavePath(const QString& path) {
    m_SavePath->setText(path);
    m_SavePath->setCursorPosition(0);
    m_SavePath->setToolTip(path);
}

void CSettingDlg_FileOut::Commit() {
    RecorderSettings& settings = TheRecorderSettings();
    settings.channels = 2;
    settings.bitsPerSample = 16;
    settings.fileType = m_FileType->currentIndex();
    settings.fileSetting = m_FileSetting->currentIndex();
    settings.autoFileName = m_AutoFileName->isChecked() ? 1 : 0;
    settings.mp3Id3v1 = m_Mp3Id3v1->isChecked() ? 1 : 0;
    settings.savePath = m_SavePath->text().toStdString();
    // sampleRate and bitRate follow from the reload the dialog runs after confirming.
    WriteSavePath(settings.savePath);
    WriteCkMP3ID3V1(settings.mp3Id3v1);
    WriteFileTypeSel(settings.fileType);
    WriteFileSettingSel(settings.fileSetting);
    WriteAutoFileName(settings.autoFileName);
}
