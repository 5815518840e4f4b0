// Notification box and control panel for the capture path's failure path.
#include "recorder/devices/dialog/CapturePathDialogs.h"

#include "platform/shell/SoundControlPanel.h"
#include "ui/CMssageBoxDlg.h"

#include <QAbstractSlider>
#include <QSignalBlocker>

void CapturePathDialogs::ShowNotification(const std::string& message, const std::string& title,
                                          int buttonLayout, int width, int height) {
    CMssageBoxDlg::Show(m_Parent, QString::fromStdString(message), QString::fromStdString(title),
                        buttonLayout, width, height);
}

void CapturePathDialogs::OpenSoundControlPanel() {
    // Without pavucontrol there is nothing to open, and nothing to tell.
    platform::OpenSoundControlPanel();
}

void SliderVolumeAdapter::SetRange(int minimum, int maximum) {
    QSignalBlocker blocker(m_Slider);
    m_Slider->setRange(minimum, maximum);
}

void SliderVolumeAdapter::SetPosition(int position) {
    // While the user drags, the hand wins over the server's echo of the drag.
    if (m_Slider->isSliderDown())
        return;
    QSignalBlocker blocker(m_Slider);
    m_Slider->setValue(position);
}
