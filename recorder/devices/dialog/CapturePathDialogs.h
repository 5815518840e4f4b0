// The window side of the capture path: the program's notification box over the window and the
// desktop's sound control panel, and the window's slider as the capture-volume slider.
// Window thread only.
#pragma once

#include "recorder/devices/CapturePathHost.h"

class QAbstractSlider;
class QWidget;

class CapturePathDialogs : public ICapturePathHost {
public:
    explicit CapturePathDialogs(QWidget* parent) : m_Parent(parent) {}
    void ShowNotification(const std::string& message, const std::string& title, int buttonLayout, int width,
                          int height) override;
    void OpenSoundControlPanel() override;

private:
    QWidget* m_Parent;
};

// Range and position set by the program do not come back as slider moves.
class SliderVolumeAdapter : public IVolumeSlider {
public:
    explicit SliderVolumeAdapter(QAbstractSlider* slider) : m_Slider(slider) {}
    void SetRange(int minimum, int maximum) override;
    void SetPosition(int position) override;

private:
    QAbstractSlider* m_Slider;
};
