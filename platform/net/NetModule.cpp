// The four entry points of libquor_net.so, bound by the programs' network layer (NetBinding.cpp).
#include "net/NetModule.h"

#include <type_traits>

extern "C" __attribute__((visibility("default"))) bool QuorNetIsOnline() {
    return platform::netmodule::IsOnline();
}

extern "C" __attribute__((visibility("default"))) bool
QuorNetDownloadToFile(const QUrl& url, const QString& filePath, const platform::TransferLimits& limits) {
    return platform::netmodule::DownloadToFile(url, filePath, limits);
}

extern "C" __attribute__((visibility("default"))) bool
QuorNetRequestPage(const QUrl& url, const platform::TransferLimits& limits) {
    return platform::netmodule::RequestPage(url, limits);
}

extern "C" __attribute__((visibility("default"))) void
QuorNetFetchPage(const QUrl& url, QObject* context, platform::FetchDone done,
                 const platform::TransferLimits& limits) {
    platform::netmodule::FetchPage(url, context, std::move(done), limits);
}

static_assert(std::is_same_v<decltype(&QuorNetIsOnline), platform::IsOnlineFunction>);
static_assert(std::is_same_v<decltype(&QuorNetDownloadToFile), platform::DownloadToFileFunction>);
static_assert(std::is_same_v<decltype(&QuorNetRequestPage), platform::RequestPageFunction>);
static_assert(std::is_same_v<decltype(&QuorNetFetchPage), platform::FetchPageFunction>);
