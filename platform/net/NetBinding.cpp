// The network layer as the programs call it: each function binds libquor_net.so on first use and
// hands over to it. Without the module the computer counts as offline and every transfer fails.
#include "net/Download.h"
#include "net/NetModule.h"
#include "net/NetStatus.h"
#include "net/PageFetch.h"

#include "loader/ModuleBinding.h"

#include <QTimer>

namespace platform {
namespace {

struct NetEntryPoints {
    IsOnlineFunction isOnline = nullptr;
    DownloadToFileFunction downloadToFile = nullptr;
    RequestPageFunction requestPage = nullptr;
    FetchPageFunction fetchPage = nullptr;
};

const NetEntryPoints* Net() {
    return BindModule<NetEntryPoints>(kNetModuleFile, "Network access",
                                      [](void* module, NetEntryPoints* net) {
                                          return Lookup(module, kIsOnlineName, &net->isOnline) &&
                                                 Lookup(module, kDownloadToFileName, &net->downloadToFile) &&
                                                 Lookup(module, kRequestPageName, &net->requestPage) &&
                                                 Lookup(module, kFetchPageName, &net->fetchPage);
                                      });
}

} // namespace

bool IsOnline() {
    const NetEntryPoints* net = Net();
    return net && net->isOnline();
}

bool DownloadToFile(const QUrl& url, const QString& filePath, const TransferLimits& limits) {
    const NetEntryPoints* net = Net();
    return net && net->downloadToFile(url, filePath, limits);
}

bool RequestPage(const QUrl& url, const TransferLimits& limits) {
    const NetEntryPoints* net = Net();
    return net && net->requestPage(url, limits);
}

void FetchPage(const QUrl& url, QObject* context, FetchDone done, const TransferLimits& limits) {
    if (const NetEntryPoints* net = Net()) {
        net->fetchPage(url, context, std::move(done), limits);
        return;
    }
    // As a refused address: the failure arrives later, never inside this call.
    QTimer::singleShot(0, context, [done = std::move(done)] { done(false, {}); });
}

} // namespace platform
