// Monitor worker -> FFT -> graph.
#include "recorder/display/SpectrumFeed.h"

#include "recorder/display/CFrequencyGraph.h"
#include "recorder/display/spectrum/SpectrumValues.h"

int SpectrumFeed(void* graph, WAVEHDR* header) {
    if (!header || !header->lpData)
        return 1;
    double values[kSpectrumValues];
    ComputeSpectrum(reinterpret_cast<const int16_t*>(header->lpData),
                    header->dwBufferLength / sizeof(int16_t), values);
    CFrequencyGraph::SetDataIfWindow(graph, static_cast<int>(kSpectrumValues), values);
    return 1;
}
