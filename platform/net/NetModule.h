// The entry points of libquor_net.so, the module that holds Qt Network, so that the recorder maps
// Qt Network, and the Kerberos, proxy and compression libraries that come with it, only when it
// goes online: on most start-ups no check is due and nothing is fetched, and loading them cost
// about 1.5 ms of every start. Both sides are built together from this tree, so the C++ types
// cross the boundary as they are.
#pragma once

#include "net/Download.h"
#include "net/PageFetch.h"

namespace platform {

inline constexpr char kNetModuleFile[] = "libquor_net.so";
inline constexpr char kIsOnlineName[] = "QuorNetIsOnline";
inline constexpr char kDownloadToFileName[] = "QuorNetDownloadToFile";
inline constexpr char kRequestPageName[] = "QuorNetRequestPage";
inline constexpr char kFetchPageName[] = "QuorNetFetchPage";

using FetchDone = std::function<void(bool ok, const QByteArray& body)>;
using IsOnlineFunction = bool (*)();
using DownloadToFileFunction = bool (*)(const QUrl& url, const QString& filePath,
                                        const TransferLimits& limits);
using RequestPageFunction = bool (*)(const QUrl& url, const TransferLimits& limits);
using FetchPageFunction = void (*)(const QUrl& url, QObject* context, FetchDone done,
                                   const TransferLimits& limits);

// Inside the module: the work behind the entry points, as the layer's headers describe it.
namespace netmodule {
bool IsOnline();
bool DownloadToFile(const QUrl& url, const QString& filePath, const TransferLimits& limits);
bool RequestPage(const QUrl& url, const TransferLimits& limits);
void FetchPage(const QUrl& url, QObject* context, FetchDone done, const TransferLimits& limits);
} // namespace netmodule

} // namespace platform
