#include "platform/qt/qt_http.h"

#include "platform/guard.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

namespace tarmacia::platform::qt {

void QtHttpGet::get(const std::string& url, std::function<void(const HttpReply&)> done) {
    QNetworkRequest request(QUrl(QString::fromStdString(url)));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setTransferTimeout(kTimeoutMs);
    QNetworkReply* reply = manager_.get(request);
    // The reply is the context: when the manager goes first it takes its
    // replies with it, and `done` is never called into a gone core.
    QObject::connect(reply, &QNetworkReply::finished, reply, [reply, done = std::move(done)] {
        reply->deleteLater();
        HttpReply result;
        const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        result.status = status.isValid() ? status.toInt() : 0;
        if (reply->error() != QNetworkReply::NoError) {
            result.error = reply->errorString().toStdString();
        } else if (result.status < 200 || result.status > 299) {
            // A success without a status is not an HTTP answer at all.
            result.error = "HTTP status " + std::to_string(result.status);
        } else {
            result.ok = true;
            const QByteArray body = reply->readAll();
            result.body.assign(body.constData(), static_cast<std::size_t>(body.size()));
        }
        if (done) guarded([&] { done(result); });
    });
}

} // namespace tarmacia::platform::qt
