// The fetch policy shared by every request, redirects included. Plain C address parsing, not Qt
// Network: the update check asks before the network module is loaded.
#include "net/UrlPolicy.h"

#include <arpa/inet.h>

namespace platform {
namespace {

// 127.0.0.0/8, ::1 and 127.x mapped into IPv6; the host as QUrl gives it (IPv6 without brackets).
bool IsLoopbackAddress(const QString& host) {
    const QByteArray text = host.toLatin1();
    in_addr v4{};
    if (inet_pton(AF_INET, text.constData(), &v4) == 1)
        return (ntohl(v4.s_addr) >> 24) == 127;
    in6_addr v6{};
    if (inet_pton(AF_INET6, text.constData(), &v6) != 1)
        return false;
    return IN6_IS_ADDR_LOOPBACK(&v6) || (IN6_IS_ADDR_V4MAPPED(&v6) && v6.s6_addr[12] == 127);
}

} // namespace

bool IsAllowedUrl(const QUrl& url) {
    if (!url.isValid() || url.host().isEmpty())
        return false;
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("https"))
        return true;
    if (scheme != QLatin1String("http"))
        return false;
    const QString host = url.host().toLower();
    return host == QLatin1String("localhost") || IsLoopbackAddress(host);
}

} // namespace platform
