#pragma once

#include <QByteArray>
#include <QNetworkRequest>
#include <QString>

#include <chrono>
#include <optional>

namespace lexi {

// What a request sent synchronously got back.
struct SynchronousReply
{
    // The HTTP status code; 0 when no HTTP answer came.
    int statusCode = 0;
    // Nothing when no whole HTTP answer came (no connection, time-out, dropped connection, an
    // answer cut off at a limit).
    std::optional<QByteArray> body;
    QString errorText;
};

// How long a request may take and how much it may bring back.
struct RequestLimits
{
    // For the whole exchange, however steadily the server answers; the request's transfer
    // time-out still ends it after that much silence.
    std::chrono::milliseconds deadline;
    // Bytes of the answer's body.
    qint64 largestReply = 0;
};

// Posts `body` and waits for the answer, at most within `limits`. A redirect is not followed: it
// is the answer (with its 3xx status), so the request's headers and body never reach another
// address. Works on any thread, also one without a Qt event loop of its own (such as a serial
// queue's): it runs its own network access manager and a local event loop there.
SynchronousReply postSynchronously(const QNetworkRequest &request, const QByteArray &body,
                                   const RequestLimits &limits);

} // namespace lexi
