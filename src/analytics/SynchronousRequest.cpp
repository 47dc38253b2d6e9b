#include "SynchronousRequest.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>

#include <memory>

using namespace Qt::StringLiterals;

namespace lexi {

SynchronousReply postSynchronously(const QNetworkRequest &request, const QByteArray &body,
                                   const RequestLimits &limits)
{
    SynchronousReply result;
    {
        QNetworkRequest bounded = request;
        bounded.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
        QEventLoop loop;
        QNetworkAccessManager network;
        const std::unique_ptr<QNetworkReply> reply(network.post(bounded, body));
        QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
        std::optional<QString> cutOff;
        const auto cut = [&](const QString &reason) {
            cutOff = reason;
            reply->abort();
        };
        QObject::connect(reply.get(), &QNetworkReply::downloadProgress, reply.get(),
                         [&](qint64 received, qint64 total) {
                             if (!cutOff && (received > limits.largestReply || total > limits.largestReply))
                                 cut(u"The answer is larger than %1 bytes."_s.arg(limits.largestReply));
                         });
        QTimer deadline;
        deadline.setSingleShot(true);
        QObject::connect(&deadline, &QTimer::timeout, reply.get(), [&] {
            cut(u"No whole answer within %1 ms."_s.arg(limits.deadline.count()));
        });
        deadline.start(limits.deadline);
        if (!reply->isFinished())
            loop.exec();
        const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        const QNetworkReply::NetworkError error = reply->error();
        if (status.isValid())
            result.statusCode = status.toInt();
        // Errors of the connection (below the content errors) and a broken answer mean that no
        // whole answer came, also when its status arrived before the body was cut short.
        const bool isWholeAnswer = status.isValid() && !cutOff
            && (error == QNetworkReply::NoError
                || (error >= QNetworkReply::ContentAccessDenied && error != QNetworkReply::ProtocolFailure));
        if (isWholeAnswer)
            result.body = reply->readAll();
        if (cutOff)
            result.errorText = *cutOff;
        else if (error != QNetworkReply::NoError)
            result.errorText = reply->errorString();
    }
    // What the network access manager left for deletion on this thread goes now, since this
    // thread may never run an event loop again.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return result;
}

} // namespace lexi
