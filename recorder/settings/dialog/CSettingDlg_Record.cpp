// The record page's two options.
#include "recorder/settings/dialog/CSettingDlg_Record.h"

#include "recorder/settings/RecorderSettings.h"
#include "recorder/settings/SettingsValues.h"
#include "ui/ControlId.h"

#include <QCheckBox>
#include <QVBoxLayout>

using namespace CSettingDlg_RecordIds;

CSettingDlg_Record::CSettingDlg_Record(QWidget* parent) : SettingsPage(parent) {
    setObjectName(QStringLiteral("IDD_SETTING_RECORD"));
    m_SysSoundOff = new QCheckBox(QStringLiteral("시스템 소리 끄기 (시스템 오류/알림/경고 소리 끄기)"), this);
    QUOR_SET_ID(m_SysSoundOff, IDC_CHK_SYSSOUNDOFF);
    m_Topmost = new QCheckBox(QStringLiteral("항상 위에 표시"), this);
    QUOR_SET_ID(m_Topmost, IDC_CHK_TOPMOST);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 22, 18, 16);
    layout->setSpacing(16);
    layout->addWidget(m_SysSoundOff);
    layout->addWidget(m_Topmost);
    layout->addStretch(1);

    const RecorderSettings& settings = TheRecorderSettings();
    m_Topmost->setChecked(settings.topmost != 0);
    m_SysSoundOff->setChecked(settings.sysSoundOff != 0);
}

void CSettingDlg_Record::Commit() {
    RecorderSettings& settings = TheRecorderSettings();
    settings.topmost = m_Topmost->isChecked() ? 1 : 0;
    settings.sysSoundOff = m_SysSoundOff->isChecked() ? 1 : 0;
    WriteCkSysSoundOff(settings.sysSoundOff);
    WriteCkTopmost(settings.topmost);
}
