// Shared set-up of every request of this layer (internal): no caching, the fetch policy checked
// on each redirect, success judged by network error and HTTP status.
#pragma once

#include "platform/net/UrlPolicy.h"

#include <QNetworkReply>
#include <QNetworkRequest>

namespace platform::detail {

inline QNetworkRequest MakeRequest(const QUrl& url, int stallMs) {
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::UserVerifiedRedirectPolicy);
    request.setMaximumRedirectsAllowed(5);
    request.setTransferTimeout(stallMs);
    return request;
}

// A redirect is followed only to an address the policy allows.
inline void GuardRedirects(QNetworkReply* reply) {
    QObject::connect(reply, &QNetworkReply::redirected, reply, [reply](const QUrl& target) {
        if (IsAllowedUrl(target))
            emit reply->redirectAllowed();
        else
            reply->abort();
    });
}

inline bool Succeeded(QNetworkReply* reply) {
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    return reply->error() == QNetworkReply::NoError && status >= 200 && status < 300;
}

} // namespace platform::detail
