#include "QuizletClient.h"

#include "QuizletJson.h"

#include "platform/dispatch/Dispatch.h"
#include "platform/files/Settings.h"
#include "platform/network/BoundedRequest.h"

#include <QNetworkRequest>

namespace lexi {

namespace {

// Far beyond any page or set; a longer answer is not the service's and is cut off.
constexpr qint64 largestReply = 16 * 1024 * 1024;
// Search pages and sets are some kilobytes each; this keeps a long session's worth.
constexpr qsizetype cachedBytes = 32 * 1024 * 1024;

} // namespace

QuizletClient::QuizletClient(Defaults &defaults, QNetworkAccessManager &network,
                             std::chrono::milliseconds requestDeadline)
    : m_address(serviceAddress(defaults).toString(QUrl::FullyEncoded | QUrl::StripTrailingSlash)),
      m_deadline(requestDeadline), m_replies(cachedBytes), m_network(network)
{
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
    getBounded(m_network, QNetworkRequest(QUrl::fromEncoded(url.toUtf8())),
               {m_deadline, largestReply, RedirectPolicy::sameHost}, m_requests,
               [this, url, completion = std::move(completion)](const BoundedReply &reply) {
                   // Only what reads as the service's JSON is kept: a captive portal's page answered
                   // with 200 must not stand in for the service for the rest of the session.
                   if (reply.succeeded() && quizlet::decodeReply(*reply.body))
                       m_replies.insert(url, new QByteArray(*reply.body), reply.body->size());
                   completion(reply.body);
               });
}

} // namespace lexi
