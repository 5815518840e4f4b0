// The compiled-in hosts and their run-time overrides.
#include "platform/net/NetHosts.h"

#include <QByteArray>

namespace platform {
namespace {

QString BaseUrl(const char* overrideVariable, const char* builtIn) {
    QString base = qEnvironmentVariable(overrideVariable);
    if (base.isEmpty())
        base = QString::fromUtf8(builtIn);
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return base;
}

} // namespace

QString UpdateBaseUrl() {
    return BaseUrl("QUOR_UPDATE_BASE_URL", QUOR_UPDATE_HOST);
}

QString WebBaseUrl() {
    return BaseUrl("QUOR_WEB_BASE_URL", QUOR_WEB_HOST);
}

QUrl UpdateServerUrl(const QString& path) {
    return QUrl(UpdateBaseUrl() + path);
}

QUrl WebSiteUrl(const QString& path) {
    return QUrl(WebBaseUrl() + path);
}

} // namespace platform
