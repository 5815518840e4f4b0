// The settings page for the recording's file: format, quality preset, save folder, automatic
// names and the MP3 tag option. Shows the settings record when created; Commit writes it back.
// GUI thread only.
#pragma once

#include "recorder/settings/dialog/SettingsPage.h"

#include <QString>

#include <functional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace CSettingDlg_FileOutIds {
constexpr int IDD_SETTING_FILEOUT = 131;
constexpr int IDC_COMBO_FILETYPE = 1007;
constexpr int IDC_COMBO_FILESETTING = 1008;
constexpr int IDC_EDIT_SAVEPATH = 1009;
constexpr int IDC_CHK_AUTOFILENAME = 1010;
constexpr int IDC_BTN_BROWSE = 1011;
constexpr int IDC_CHK_MP3ID3V1 = 1039;
} // namespace CSettingDlg_FileOutIds

class CSettingDlg_FileOut : public SettingsPage {
    Q_OBJECT
public:
    // The folder browser: the chosen folder, or an empty string when the user cancelled or chose
    // something that is not a folder of the file system.
    using FolderChooser = std::function<QString(QWidget* owner, const QString& title, const QString& start)>;
    // Replaces the browser (tests script it); an empty chooser restores the desktop's folder
    // dialog. Returns the one it replaced.
    static FolderChooser SetFolderChooser(FolderChooser chooser);

    explicit CSettingDlg_FileOut(QWidget* parent = nullptr);

    void Commit() override;

private:
    void LoadFromSettings();
    // The preset labels of the format at `format` (0 MP3, 1 WAVE), the first one selected.
    void FillQualityList(int format);
    void OnFormatChanged(int format);
    void OnBrowse();
    void ShowSavePath(const QString& path);

    QComboBox* m_FileType;
    QComboBox* m_FileSetting;
    QLineEdit* m_SavePath;
    QPushButton* m_Browse;
    QCheckBox* m_AutoFileName;
    QCheckBox* m_Mp3Id3v1;
};
