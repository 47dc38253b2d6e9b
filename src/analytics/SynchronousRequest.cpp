#include "SynchronousRequest.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>

#include <memory>

namespace lexi {

SynchronousReply postSynchronously(const QNetworkRequest &request, const QByteArray &body)
{
    SynchronousReply result;
    {
        QEventLoop loop;
        QNetworkAccessManager network;
        const std::unique_ptr<QNetworkReply> reply(network.post(request, body));
        QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
        // The transfer time-out counts only silence; a server that trickles its answer is cut off
        // once the whole exchange has taken four times as long.
        QTimer deadline;
        deadline.setSingleShot(true);
        QObject::connect(&deadline, &QTimer::timeout, reply.get(), &QNetworkReply::abort);
        if (request.transferTimeout() > 0)
            deadline.start(4 * request.transferTimeout());
        if (!reply->isFinished())
            loop.exec();
        const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        if (status.isValid()) {
            result.statusCode = status.toInt();
            result.body = reply->readAll();
        }
        if (reply->error() != QNetworkReply::NoError)
            result.errorText = reply->errorString();
    }
    // What the network access manager left for deletion on this thread goes now, since this
    // thread may never run an event loop again.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return result;
}

} // namespace lexi
