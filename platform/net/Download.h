// Synchronous transfers for the start-up checks: each runs a local event loop that ends when the
// answer is complete or the time limit is reached, so no request can hang the program. Only
// addresses allowed by UrlPolicy are fetched. GUI thread (or any thread with an event loop).
#pragma once

#include <QString>
#include <QUrl>
#include <QtGlobal>

namespace platform {

struct TransferLimits {
    int timeoutMs = 4000; // the whole request, connection included
    int stallMs = 4000;   // longest wait for the next bytes
    qint64 maxBytes = 0;  // 0: no limit
};

// Writes the body of a successful (2xx) answer to `filePath`, replacing it. False on a refused
// address, any network error, an HTTP error status, the time limit or the size limit; the file is
// then left as it was (no partial file).
bool DownloadToFile(const QUrl& url, const QString& filePath, const TransferLimits& limits = {});

// Requests the page and discards the answer, bypassing caches. True when it arrived (2xx).
bool RequestPage(const QUrl& url, const TransferLimits& limits = {});

} // namespace platform
