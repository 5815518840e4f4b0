// The monitor capture's callback for a display: the spectrum of the buffer's first 1024 values
// goes to the graph given as target, when that graph's window still exists.
#pragma once

#include "platform/wavein/WaveIn.h"

// Register with Recorder::SetMonitorCallback(graph, &SpectrumFeed). Runs on the monitor worker;
// never waits for the window thread. Always returns 1.
int SpectrumFeed(void* graph, WAVEHDR* header);
