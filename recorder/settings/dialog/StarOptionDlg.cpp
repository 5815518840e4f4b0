// The settings dialog: its frame, page switching, OK and X.
#include "recorder/settings/dialog/StarOptionDlg.h"

#include "platform/registry/FileHive.h"
#include "recorder/settings/RecorderSettings.h"
#include "recorder/settings/dialog/CSettingDlg_FileOut.h"
#include "recorder/settings/dialog/CSettingDlg_Record.h"
#include "recorder/settings/dialog/SettingsNotSavedText.h"
#include "ui/AccessibleName.h"
#include "ui/CHoverButton.h"
#include "ui/CMssageBoxDlg.h"
#include "ui/CentreOverOwner.h"
#include "ui/ControlId.h"
#include "ui/DialogKeys.h"
#include "ui/DialogResult.h"
#include "ui/RecorderBitmaps.h"
#include "ui/WindowDragger.h"

#include <QKeyEvent>
#include <QPainter>
#include <QShowEvent>

using namespace StarOptionDlgIds;

namespace {
constexpr QRgb kFace = 0xFFFFFF;
constexpr QRgb kFrame = 0xB5B5B5;
constexpr QSize kTitleSize(356, 32);
constexpr int kPageButtonTop = 42;
constexpr QRect kPageArea(10, 80, 333, 304);
// Three lines, one of them the settings file's full path: wider than the other notices.
constexpr int kNoticeWidth = 420;
constexpr int kNoticeHeight = 180;
} // namespace

StarOptionDlg::StarOptionDlg(const VolumePageMaker& makeVolumePage, std::function<void()> applySettings,
                             QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_ApplySettings(std::move(applySettings)) {
    setObjectName(QStringLiteral("IDD_STAROPTION"));
    setWindowTitle(QStringLiteral("환경설정"));
    setModal(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(kSize);
    m_Title = Skin::Bitmap(SkinSet::Recorder, RecorderBitmap::IDB_SETTINGS_TITLE);

    m_PageFile = AddPageButton("IDC_BTN_PAGE_FILE", IDC_BTN_PAGE_FILE, RecorderBitmap::IDB_PAGE_FILE,
                               QStringLiteral("파일설정"), 10);
    m_PageVolume = AddPageButton("IDC_BTN_PAGE_VOLUME", IDC_BTN_PAGE_VOLUME, RecorderBitmap::IDB_PAGE_VOLUME,
                                 QStringLiteral("볼륨설정"), 112);
    m_PageRecord = AddPageButton("IDC_BTN_PAGE_RECORD", IDC_BTN_PAGE_RECORD, RecorderBitmap::IDB_PAGE_RECORD,
                                 QStringLiteral("녹음설정"), 214);

    m_Ok = new CHoverButton(this);
    QUOR_SET_ID(m_Ok, IDC_BTN_OK);
    m_Ok->LoadBitmap(SkinSet::Recorder, RecorderBitmap::IDB_BTN_OK, 3);
    m_Ok->setText(QStringLiteral("확인"));
    m_Ok->move((kSize.width() - m_Ok->width()) / 2, kPageArea.bottom() + 14);
    connect(m_Ok, &QAbstractButton::clicked, this, &StarOptionDlg::OnOK);

    auto* close = new CHoverButton(this);
    QUOR_SET_ID(close, IDC_BTN_CLOSE);
    close->LoadBitmap(SkinSet::Recorder, RecorderBitmap::IDB_BTN_CLOSE, 3);
    close->setText(QStringLiteral("X"));
    ui::NameControl(close, QStringLiteral("닫기"));
    close->move(kSize.width() - close->width() - 5, (kTitleSize.height() - close->height()) / 2);
    connect(close, &QAbstractButton::clicked, this, &StarOptionDlg::reject);

    // Marks where the pages go; the pages draw their own frame over it.
    m_PageArea = new QWidget(this);
    QUOR_SET_ID(m_PageArea, IDC_STATIC_PAGEAREA);
    m_PageArea->setGeometry(kPageArea);
    m_PageArea->hide();

    // The pages show what the stored settings hold now.
    TheRecorderSettings().Load();
    m_FileOut = new CSettingDlg_FileOut(this);
    m_Record = new CSettingDlg_Record(this);
    m_Volume = makeVolumePage(this);
    for (SettingsPage* page :
         {static_cast<SettingsPage*>(m_FileOut), static_cast<SettingsPage*>(m_Record), m_Volume}) {
        page->setGeometry(m_PageArea->geometry());
        page->hide();
    }
    m_PageRecord->hide(); // its options stay as they are; the page is loaded and committed all the same
    ShowPage(IDC_BTN_PAGE_FILE);

    new WindowDragger(this);
}

StarOptionDlg::~StarOptionDlg() = default;

CHoverButton* StarOptionDlg::AddPageButton(const char* idName, int id, int bitmapId, const QString& caption,
                                           int x) {
    auto* button = new CHoverButton(this);
    ui::SetControlId(button, idName, id);
    button->LoadBitmap(SkinSet::Recorder, bitmapId, 2);
    button->setText(caption);
    button->move(x, kPageButtonTop);
    connect(button, &QAbstractButton::clicked, this, [this, id] { ShowPage(id); });
    return button;
}

void StarOptionDlg::showEvent(QShowEvent* event) {
    // Placed as it shows, when its owner's place is known.
    if (!event->spontaneous())
        ui::CentreOverOwner(this);
    QDialog::showEvent(event);
}

int StarOptionDlg::DoModal() {
    return exec();
}

void StarOptionDlg::ShowPage(int pageButtonId) {
    const struct {
        int id;
        CHoverButton* button;
        SettingsPage* page;
    } pages[] = {{IDC_BTN_PAGE_FILE, m_PageFile, m_FileOut},
                 {IDC_BTN_PAGE_RECORD, m_PageRecord, m_Record},
                 {IDC_BTN_PAGE_VOLUME, m_PageVolume, m_Volume}};
    for (const auto& entry : pages) {
        const bool chosen = entry.id == pageButtonId;
        entry.page->setVisible(chosen);
        entry.button->SetLocked(chosen);
    }
}

SettingsPage* StarOptionDlg::VisiblePage() const {
    for (SettingsPage* page :
         {static_cast<SettingsPage*>(m_FileOut), static_cast<SettingsPage*>(m_Record), m_Volume}) {
        if (!page->isHidden())
            return page;
    }
    return nullptr;
}

void StarOptionDlg::OnOK() {
    m_FileOut->Commit();
    m_Record->Commit();
    m_Volume->Commit();
    RecorderSettings& settings = TheRecorderSettings();
    if (!settings.Save()) {
        // Told once per confirmation, not once per value; the record keeps the choices meanwhile.
        const QString where = QString::fromStdString(platform::FileHive::UserHivePath().string());
        CMssageBoxDlg::Show(this, SettingsNotSavedText(where, settings.saveFailure), QStringLiteral("알림"),
                            kBoxOkOnly, kNoticeWidth, kNoticeHeight);
    }
    if (m_ApplySettings)
        m_ApplySettings();
    done(ui::IDOK);
}

void StarOptionDlg::reject() {
    done(ui::IDCANCEL);
}

void StarOptionDlg::keyPressEvent(QKeyEvent* event) {
    if (!ui::HandleDialogKey(this, event, m_Ok))
        QDialog::keyPressEvent(event);
}

void StarOptionDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(kFace));
    painter.setPen(QColor(kFrame));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.drawPixmap(QPointF(0, 0), m_Title, Skin::PixelsOf(m_Title, QRect(QPoint(0, 0), kTitleSize)));
}
