// The recorder's settings dialog: a frameless modal window with a title picture, page buttons,
// the file, record and volume pages on its page area, OK and X. OK (or Return) commits the pages,
// saves the record and asks its owner to apply the settings; X (or Escape) commits nothing. It
// opens centred over its owner. GUI thread only.
#pragma once

#include <QDialog>
#include <QPixmap>

#include <functional>

class CHoverButton;
class CSettingDlg_FileOut;
class CSettingDlg_Record;
class SettingsPage;

namespace StarOptionDlgIds {
constexpr int IDD_STAROPTION = 129;
constexpr int IDC_BTN_CLOSE = 1002;
constexpr int IDC_BTN_OK = 1006;
constexpr int IDC_BTN_PAGE_RECORD = 1019;
constexpr int IDC_BTN_PAGE_VOLUME = 1020;
constexpr int IDC_BTN_PAGE_FILE = 1021;
constexpr int IDC_STATIC_PAGEAREA = 1023;
} // namespace StarOptionDlgIds

class StarOptionDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr QSize kSize{353, 432};

    // Makes the volume page as a child of the given parent; it lives with the devices.
    using VolumePageMaker = std::function<SettingsPage*(QWidget* parent)>;

    // applySettings: the owner's reload after a confirmation (reads the record again and applies
    // it, e.g. the main window's always-on-top state). May be empty.
    StarOptionDlg(const VolumePageMaker& makeVolumePage, std::function<void()> applySettings,
                  QWidget* parent = nullptr);
    ~StarOptionDlg() override;

    // Runs the dialog modally; ui::IDOK after OK, ui::IDCANCEL otherwise.
    int DoModal();

    // Shows the page of a page button (IDC_BTN_PAGE_FILE, _RECORD or _VOLUME) and hides the others.
    void ShowPage(int pageButtonId);
    SettingsPage* VisiblePage() const;

public slots:
    void reject() override; // Escape and the window system's close count as X

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    CHoverButton* AddPageButton(const char* idName, int id, int bitmapId, const QString& caption, int x);
    void OnOK();

    std::function<void()> m_ApplySettings;
    QPixmap m_Title;
    CHoverButton* m_PageFile;
    CHoverButton* m_PageRecord;
    CHoverButton* m_PageVolume;
    CHoverButton* m_Ok;
    QWidget* m_PageArea;
    CSettingDlg_FileOut* m_FileOut = nullptr;
    CSettingDlg_Record* m_Record = nullptr;
    SettingsPage* m_Volume = nullptr;
};
