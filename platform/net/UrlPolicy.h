// Which addresses the program may fetch: HTTPS anywhere, plain HTTP only on this computer
// (tests against a local server). Everything else (http to other hosts, file:, ftp:) is refused.
#pragma once

#include <QUrl>

namespace platform {

bool IsAllowedUrl(const QUrl& url);

} // namespace platform
