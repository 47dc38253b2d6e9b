#pragma once

#include <QByteArray>
#include <QNetworkRequest>
#include <QString>

#include <optional>

namespace lexi {

// What a request sent synchronously got back.
struct SynchronousReply
{
    // The HTTP status code; 0 when no HTTP answer came.
    int statusCode = 0;
    // Nothing when no HTTP answer came (no connection, time-out, dropped connection).
    std::optional<QByteArray> body;
    QString errorText;
};

// Posts `body` and waits for the answer, for the request's transfer time-out of silence, or for
// four times that in all. Works on any thread,
// also one without a Qt event loop of its own (such as a serial queue's): it runs its own network
// access manager and a local event loop there.
SynchronousReply postSynchronously(const QNetworkRequest &request, const QByteArray &body);

} // namespace lexi
