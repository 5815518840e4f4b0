// What the user is told when a recording could not start or ended by itself.
#pragma once

#include "recorder/engine/Recorder.h"

#include <QString>

// The notification box's message for a failure; empty for RecordFailure::None.
QString RecordFailureText(Recorder::RecordFailure failure);

// The notification box's message after a recording that lost `seconds` of audio while the
// writing fell behind the capture.
QString DroppedAudioText(double seconds);
