// What the user is told when a recording could not start or ended by itself.
#pragma once

#include "Recorder.h"

#include <QString>

// The notification box's message for a failure; empty for RecordFailure::None.
QString RecordFailureText(Recorder::RecordFailure failure);
