// Addresses on the maker's servers. The hosts are build settings (QUOR_UPDATE_HOST,
// QUOR_WEB_HOST); the environment variables QUOR_UPDATE_BASE_URL and QUOR_WEB_BASE_URL replace
// them at run time, so a test can point the program at a local server.
#pragma once

#include <QString>
#include <QUrl>

namespace platform {

QString UpdateBaseUrl(); // e.g. "https://update.quortools.kr", no trailing separator
QString WebBaseUrl();    // e.g. "https://www.quortools.kr"

// Base + path, where path starts with "/".
QUrl UpdateServerUrl(const QString& path);
QUrl WebSiteUrl(const QString& path);

} // namespace platform
