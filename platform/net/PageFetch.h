// Fetching a page without blocking the caller, for windows that show it when it arrives.
#pragma once

#include "platform/net/Download.h"

#include <QByteArray>
#include <QObject>
#include <QUrl>

#include <functional>

namespace platform {

// Starts a GET and returns at once. `done` runs later on the caller's thread with ok = true and
// the body of a 2xx answer, or ok = false (refused address, network error, HTTP error, time or
// size limit). When `context` is destroyed first, the request is cancelled and `done` never runs.
void FetchPage(const QUrl& url, QObject* context, std::function<void(bool ok, const QByteArray& body)> done,
               const TransferLimits& limits = {});

} // namespace platform
