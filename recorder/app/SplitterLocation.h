// Where the splitter QuorSplit is and what the recorder passes to it.
#pragma once

#include <string>

// The recorder's "Install_Dir" (or its default) + "/QuorSplit" when the settings key exists
// and the file is there; otherwise "<ownFolder>/QuorSplit". Empty when neither exists.
std::string FindSplitterProgram(const std::string& ownFolder);

// The last recording was a WAV file: ".wav" found after the name's first character.
bool IsWavFileName(const std::string& fileName);
