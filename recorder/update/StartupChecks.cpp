// The start-up gates over their registry dates.
#include "recorder/update/StartupChecks.h"

#include "platform/net/Download.h"
#include "platform/net/NetHosts.h"
#include "recorder/update/DateGate.h"
#include "recorder/update/UpdateCheck.h"
#include "recorder/update/UpdateEndpoints.h"

int UpdaterGate(const QDate& today) {
    return RunDateGate("upchkdate", today, [] { return 1; });
}

int UpdateCheckGate(QWidget* parent, const QDate& today) {
    return RunDateGate("update", today, [parent] { return UpdateCheck(parent); });
}

int PageRequestGate(const QDate& today) {
    const int opened = RunDateGate("actionapp", today, [] { return 1; });
    if (opened)
        PageRequest(platform::WebSiteUrl(QLatin1String(UpdateEndpoints::kPageRequest)));
    return opened;
}

bool AnyStartupGateDue(const QDate& today) {
    const StoredSettings stored = StoredSettings::Read();
    for (const char* gate : {"upchkdate", "update", "actionapp"})
        if (DateGateDue(gate, today, stored))
            return true;
    return false;
}

int UpdaterGate() {
    return UpdaterGate(QDate::currentDate());
}

int UpdateCheckGate(QWidget* parent) {
    return UpdateCheckGate(parent, QDate::currentDate());
}

int PageRequestGate() {
    return PageRequestGate(QDate::currentDate());
}

int PageRequest(const QUrl& address) {
    return platform::RequestPage(address) ? 1 : 0;
}
