// The converter's arguments for one cut: the argument string as the system writes it (shown in
// logs, compared by tests) and the argument list actually handed to the program, both built
// from the same six values. No shell ever reads either.
#pragma once

#include <string>
#include <vector>

struct CutRequest {
    long startSec = 0;
    long durationSec = 0;
    std::string inputPath;
    int sampleRate = 0;
    int bitRate = 0;
    std::string outputPath;
};

// A time the converter accepts: hours carried ("01:30:08"); the window's texts never carry them.
std::string ConverterTimeText(long seconds);

// "-ss %s -t %s -i "%s" -acodec libmp3lame -ac 1 -ar %d -ab %dK -y "%s"".
std::string ConverterArgumentString(const CutRequest& request);

// The same arguments as a list, with the paths as single arguments (marked as plain files, so no
// name is read as an option or a protocol), -nostdin first and progress lines on standard output.
std::vector<std::string> ConverterArguments(const CutRequest& request);
