// Paths on the maker's servers (the hosts are build settings, see platform/net/NetHosts.h).
#pragma once

namespace UpdateEndpoints {
inline constexpr const char* kVersionDescription = "/updatechk/quorrecorder/quorrecorder_v1.0.0.1.php";
inline constexpr const char* kPageRequest = "/app/quorrecorder.html";
inline constexpr const char* kHelpPage = "/home/help_03.html";
inline constexpr const char* kInfoPage = "/help/quorrecorder/app_setinfo.html";
} // namespace UpdateEndpoints
