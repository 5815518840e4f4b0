// The per-user keys the two programs share: the recorder keeps its settings under SettingsKey and
// the splitter reads its folders there; the maker's tools note their install folder under Quortools.
#pragma once

inline constexpr const char* kSettingsKey = "Software\\QuorRecorder";
inline constexpr const char* kQuortoolsKey = "Software\\Quortools";
