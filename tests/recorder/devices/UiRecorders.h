// Recorders for the window side of the capture path: what the slider was set to and which
// notifications and control panels were asked for.
#pragma once

#include "recorder/devices/CapturePathHost.h"

#include <optional>
#include <string>
#include <vector>

struct RecordingSlider : IVolumeSlider {
    std::optional<std::pair<int, int>> range;
    std::optional<int> position;
    void SetRange(int minimum, int maximum) override { range = {minimum, maximum}; }
    void SetPosition(int p) override { position = p; }
};

struct RecordingHost : ICapturePathHost {
    struct Box {
        std::string message, title;
        int layout, width, height;
    };
    std::vector<Box> boxes;
    int panels = 0;
    void ShowNotification(const std::string& message, const std::string& title, int layout, int width,
                          int height) override {
        boxes.push_back({message, title, layout, width, height});
    }
    void OpenSoundControlPanel() override { ++panels; }
};
