// What the capture-path set-up needs from the window that runs it, so that the logic does not
// depend on particular widgets: the volume slider and the failure path's user interface.
#pragma once

#include <string>

// The window's vertical recording-volume slider.
class IVolumeSlider {
public:
    virtual ~IVolumeSlider() = default;
    virtual void SetRange(int minimum, int maximum) = 0;
    virtual void SetPosition(int position) = 0;
};

class ICapturePathHost {
public:
    virtual ~ICapturePathHost() = default;
    // The notification box, modal; returns once the user closed it. Texts in UTF-8.
    virtual void ShowNotification(const std::string& message, const std::string& title, int buttonLayout,
                                  int width, int height) = 0;
    // The desktop's sound settings on the recording-devices page; nothing when there are none.
    virtual void OpenSoundControlPanel() = 0;
};
