// A player that plays by script, for window tests: no sound and no clock; the test moves the
// position, plays the file to its end and takes the sound server away. Files are read by the real
// decoder, so a file the real player refuses is refused here too. Window thread only.
#pragma once

#include "platform/player/AudioPlayer.h"

#include <functional>
#include <memory>
#include <vector>

namespace platform {

class ScriptedPlayback {
public:
    ScriptedPlayback();

    // Makes players that play by this script, as the window's player factory does.
    std::function<std::unique_ptr<AudioPlayer>()> Factory();

    // The playing stream moves on by ms (and stops moving at its end); nothing when none plays.
    void Advance(int ms);
    // The playing stream reaches the end of its file.
    void PlayToEnd();
    // The sound server goes away (the playing stream is lost; Init and Play fail) or comes back.
    void SetServerUp(bool up);

    // The position of the stream that plays or played last; -1 before any did.
    int PositionMs() const;
    bool Playing() const;
    // Every position a stream was sought to, in order.
    const std::vector<int>& Seeks() const;

    struct State;

private:
    std::shared_ptr<State> m_State;
};

} // namespace platform
