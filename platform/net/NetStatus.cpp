// Offline test from the interface table and, where available, the system's network information.
#include "platform/net/NetStatus.h"

#include <QCoreApplication>
#include <QNetworkInformation>
#include <QNetworkInterface>

namespace platform {
namespace {

bool HasUsableInterface() {
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& nic : interfaces) {
        const auto flags = nic.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) || !flags.testFlag(QNetworkInterface::IsRunning) ||
            flags.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        if (!nic.addressEntries().isEmpty())
            return true;
    }
    return false;
}

// The system's own verdict (NetworkManager on most desktops); Unknown when it has none.
QNetworkInformation::Reachability SystemReachability() {
    if (!QCoreApplication::instance())
        return QNetworkInformation::Reachability::Unknown;
    if (!QNetworkInformation::instance() && !QNetworkInformation::loadDefaultBackend())
        return QNetworkInformation::Reachability::Unknown;
    return QNetworkInformation::instance()->reachability();
}

} // namespace

bool IsOnline() {
    if (!HasUsableInterface())
        return false;
    return SystemReachability() != QNetworkInformation::Reachability::Disconnected;
}

} // namespace platform
