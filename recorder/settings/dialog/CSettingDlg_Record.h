// The record page: system sounds off and always on top. Its page button is hidden, so it is
// normally never shown, but it is created, loaded and committed with the others. GUI thread only.
#pragma once

#include "recorder/settings/dialog/SettingsPage.h"

class QCheckBox;

namespace CSettingDlg_RecordIds {
constexpr int IDD_SETTING_RECORD = 132;
constexpr int IDC_CHK_SYSSOUNDOFF = 1010;
constexpr int IDC_CHK_TOPMOST = 1038;
} // namespace CSettingDlg_RecordIds

class CSettingDlg_Record : public SettingsPage {
    Q_OBJECT
public:
    explicit CSettingDlg_Record(QWidget* parent = nullptr);

    // topmost and sysSoundOff into the record, then "CkSysSoundOff" and "CkTopmost".
    void Commit() override;

private:
    QCheckBox* m_SysSoundOff;
    QCheckBox* m_Topmost;
};
