#include "QuizletClient.h"

#include "QuizletJson.h"

#include "platform/dispatch/Dispatch.h"
#include "platform/files/Settings.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace lexi {

namespace {

// Far beyond any page or set; a longer answer is not the service's and is cut off.
constexpr qint64 largestReply = 16 * 1024 * 1024;
// Search pages and sets are some kilobytes each; this keeps a long session's worth.
constexpr qsizetype cachedBytes = 32 * 1024 * 1024;

} // namespace

QuizletClient::QuizletClient(Defaults &defaults, std::chrono::milliseconds requestDeadline)
    : m_address(serviceAddress(defaults).toString(QUrl::FullyEncoded | QUrl::StripTrailingSlash)),
      m_deadline(requestDeadline), m_replies(cachedBytes)
{
    m_network.setRedirectPolicy(QNetworkRequest::SameOriginRedirectPolicy);
}

QUrl QuizletClient::serviceAddress(Defaults &defaults)
{
    const QUrl stored(Settings(defaults).quizletServiceAddress(), QUrl::StrictMode);
    const bool isWeb = stored.scheme() == QLatin1StringView("https") || stored.scheme() == QLatin1StringView("http");
    return isWeb && !stored.host().isEmpty() ? stored : QUrl(productionAddress);
}

void QuizletClient::send(const QString &request, Completion completion)
{
    // The request text is encoded already; joining it to the address as text keeps it exactly so.
    const QString url = m_address + request;
    if (const QByteArray *cached = m_replies.object(url)) {
        dispatch::mainAsync([completion = std::move(completion), reply = *cached] { completion(reply); });
        return;
    }
    QNetworkReply *reply = m_network.get(QNetworkRequest(QUrl::fromEncoded(url.toUtf8())));
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64 total) {
        if (received > largestReply || total > largestReply)
            reply->abort();
    });
    // A server that trickles its answer never falls silent; the whole exchange has a deadline.
    auto *deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    QObject::connect(deadline, &QTimer::timeout, reply, &QNetworkReply::abort);
    deadline->start(m_deadline);
    QObject::connect(reply, &QNetworkReply::finished, reply,
                     [this, reply, url, completion = std::move(completion)] { deliver(reply, url, completion); });
}

void QuizletClient::deliver(QNetworkReply *reply, const QString &url, const Completion &completion)
{
    reply->deleteLater();
    // An HTTP answer has a status, and its body counts also for 4xx and 5xx. Network and proxy
    // errors (the codes below the content errors) and a broken answer mean that no whole answer
    // came, also when the status arrived before a timeout cut the body short.
    const QNetworkReply::NetworkError error = reply->error();
    const bool isAnswer = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid()
        && (error == QNetworkReply::NoError
            || (error >= QNetworkReply::ContentAccessDenied && error != QNetworkReply::ProtocolFailure));
    if (!isAnswer) {
        completion(std::nullopt);
        return;
    }
    const QByteArray bytes = reply->readAll();
    if (bytes.size() > largestReply) {
        completion(std::nullopt);
        return;
    }
    // Only what reads as the service's JSON is kept: a captive portal's page answered with 200
    // must not stand in for the service for the rest of the session.
    if (error == QNetworkReply::NoError && quizlet::decodeReply(bytes))
        m_replies.insert(url, new QByteArray(bytes), bytes.size());
    completion(bytes);
}

} // namespace lexi
