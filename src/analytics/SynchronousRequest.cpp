#include "SynchronousRequest.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>

namespace lexi {

BoundedReply postSynchronously(const QNetworkRequest &request, const QByteArray &body, const RequestLimits &limits)
{
    BoundedReply result;
    {
        QNetworkAccessManager network;
        QEventLoop loop;
        bool finished = false;
        postBounded(network, request, body, limits, loop, [&](const BoundedReply &reply) {
            result = reply;
            finished = true;
            loop.quit();
        });
        if (!finished)
            loop.exec();
    }
    // What the network access manager left for deletion on this thread goes now, since this
    // thread may never run an event loop again.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return result;
}

} // namespace lexi
