// The converter as the splitter runs it: through the shell's program runner, ended with this
// program, its progress lines ("out_time_us=…") counted as progress against the stall limit.
#pragma once

#include "platform/shell/ProgramRunner.h"

#include <QString>

#include <chrono>
#include <functional>

// Called on the window thread with the media time the converter reports having written.
using WrittenHandler = std::function<void(std::chrono::milliseconds written)>;

// A runner for one cut; onWritten (may be empty) hears each time that grew.
platform::ProgramRunner ConverterRunner(std::chrono::milliseconds stallLimit, WrittenHandler onWritten = {});

// The media time in a progress line of the converter ("out_time_us=1500000", or the older
// "out_time_ms=", which also counts microseconds); negative when the line holds none.
std::chrono::milliseconds ReportedTime(const QString& line);
