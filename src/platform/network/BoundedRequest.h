#pragma once

#include <QByteArray>
#include <QNetworkRequest>
#include <QString>

#include <chrono>
#include <functional>
#include <optional>

class QNetworkAccessManager;
class QObject;

namespace lexi {

// Where a redirect may lead, by what the request carries.
enum class RedirectPolicy {
    // Anywhere but from https to http: the request carries nothing of the learner's or the
    // program's.
    anyHost,
    // Only to the same scheme, host and port: the request carries a key or a learner's data.
    sameHost,
    // Nowhere: the redirect is the answer, so the request's headers and body reach no other
    // address.
    none,
};

// How long a request may take, how much it may bring back and where it may be redirected.
struct RequestLimits
{
    // For the whole exchange, however steadily the server answers.
    std::chrono::milliseconds deadline;
    // Bytes of the answer's body.
    qint64 largestReply;
    RedirectPolicy redirects;
};

// What a request got back.
struct BoundedReply
{
    // The HTTP status code; 0 when no HTTP answer came.
    int statusCode = 0;
    // The body of a whole HTTP answer, also of a 4xx or 5xx one; nothing when none came (no
    // connection, the deadline passed, the answer was cut off at the limit or redirected where
    // it may not go).
    std::optional<QByteArray> body;
    // Why nothing came, or the answer's HTTP error.
    QString errorText;

    // A whole 2xx answer.
    bool succeeded() const { return body && statusCode >= 200 && statusCode < 300; }
};

using BoundedCompletion = std::function<void(const BoundedReply &reply)>;

// Sends `request` through `network` within `limits`; `finished` runs once, from the event loop of
// the manager's thread, with what came back. The request belongs to `owner`: when the owner goes
// first, the request is abandoned and `finished` never runs. `network` outlives `owner`.
void getBounded(QNetworkAccessManager &network, QNetworkRequest request, const RequestLimits &limits, QObject &owner,
                BoundedCompletion finished);
void postBounded(QNetworkAccessManager &network, QNetworkRequest request, const QByteArray &body,
                 const RequestLimits &limits, QObject &owner, BoundedCompletion finished);

} // namespace lexi
