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

// The stored address when it is an http or https address with a host, else `fallback`.
QUrl webAddress(const QString &stored, QLatin1StringView fallback)
{
    const QUrl address(stored, QUrl::StrictMode);
    const bool isWeb = address.scheme() == QLatin1StringView("https") || address.scheme() == QLatin1StringView("http");
    return isWeb && !address.host().isEmpty() ? address : QUrl(fallback);
}

} // namespace

QuizletClient::PendingRequest::PendingRequest(std::shared_ptr<bool> cancelled, QObject *owner)
    : m_cancelled(std::move(cancelled)), m_owner(owner)
{
}

QuizletClient::PendingRequest &QuizletClient::PendingRequest::operator=(PendingRequest &&other) noexcept
{
    if (this != &other) {
        cancel();
        m_cancelled = std::move(other.m_cancelled);
        m_owner = std::move(other.m_owner);
    }
    return *this;
}

void QuizletClient::PendingRequest::cancel()
{
    if (m_cancelled)
        *m_cancelled = true;
    // The request goes with its owner, later: this may be called from inside its own completion.
    if (m_owner)
        m_owner->deleteLater();
    m_cancelled.reset();
    m_owner.clear();
}

QuizletClient::QuizletClient(Defaults &defaults, QNetworkAccessManager &network,
                             std::chrono::milliseconds requestDeadline)
    : m_address(serviceAddress(defaults).toString(QUrl::FullyEncoded | QUrl::StripTrailingSlash)),
      m_deadline(requestDeadline), m_replies(cachedBytes), m_network(network)
{
}

QUrl QuizletClient::serviceAddress(Defaults &defaults)
{
    return webAddress(Settings(defaults).value(Settings::quizletServiceAddress), productionAddress);
}

QUrl QuizletClient::webSiteAddress(Defaults &defaults)
{
    return webAddress(Settings(defaults).value(Settings::quizletWebSiteAddress), productionWebSite);
}

QuizletClient::PendingRequest QuizletClient::send(const QString &request, Completion completion)
{
    auto cancelled = std::make_shared<bool>(false);
    // The request text is encoded already; joining it to the address as text keeps it exactly so.
    const QString url = m_address + request;
    if (const QByteArray *cached = m_replies.object(url)) {
        dispatch::mainAsync([completion = std::move(completion), reply = *cached, cancelled] {
            if (!*cancelled)
                completion(reply);
        });
        return PendingRequest(cancelled, nullptr);
    }
    // Each request has an owner of its own, so that cancelling it drops its connection.
    auto *owner = new QObject(&m_requests);
    getBounded(m_network, QNetworkRequest(QUrl::fromEncoded(url.toUtf8())),
               {m_deadline, largestReply, RedirectPolicy::sameHost}, *owner,
               [this, url, completion = std::move(completion), cancelled, owner](const BoundedReply &reply) {
                   owner->deleteLater();
                   if (*cancelled)
                       return;
                   // Only what reads as the service's JSON is kept: a captive portal's page answered
                   // with 200 must not stand in for the service for the rest of the session.
                   if (reply.succeeded() && quizlet::decodeReply(*reply.body))
                       m_replies.insert(url, new QByteArray(*reply.body), reply.body->size());
                   completion(reply.body);
               });
    return PendingRequest(cancelled, owner);
}

} // namespace lexi
