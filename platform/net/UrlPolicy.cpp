// The fetch policy shared by every request, redirects included.
#include "platform/net/UrlPolicy.h"

#include <QHostAddress>

namespace platform {

bool IsAllowedUrl(const QUrl& url) {
    if (!url.isValid() || url.host().isEmpty())
        return false;
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("https"))
        return true;
    if (scheme != QLatin1String("http"))
        return false;
    const QString host = url.host().toLower();
    if (host == QLatin1String("localhost"))
        return true;
    // 127.0.0.0/8, ::1 and 127.x mapped into IPv6; QUrl gives an IPv6 host without brackets.
    QHostAddress address;
    if (!address.setAddress(host))
        return false;
    bool mapped = false;
    const quint32 v4 = address.toIPv4Address(&mapped);
    return mapped ? (v4 >> 24) == 127 : address.isLoopback();
}

} // namespace platform
