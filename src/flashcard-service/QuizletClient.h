#pragma once

#include <QByteArray>
#include <QCache>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

class QNetworkAccessManager;

namespace lexi {

class Defaults;

// Sends the flash-card service's requests (see QuizletRequests.h) as GET requests and hands each
// reply's bytes to a completion on the main thread: the body of any HTTP answer, or nothing when
// the connection failed, no whole answer came within the deadline (30 s, however steadily the
// server sends), the answer grew beyond 16 MiB or redirected to another host (the request carries
// the client identifier). Successful (2xx) JSON replies are kept in memory for the client's life
// and answer the same request again without asking the network.
//
// The service's base address is read from the setting Settings::quizletServiceAddress when the
// client is made: an http or https address, by default https://api.quizlet.com; tests point it at a
// loopback server. Make and use the client on the main thread.
class QuizletClient
{
public:
    using Completion = std::function<void(const std::optional<QByteArray> &reply)>;

    // A request under way. Cancelling it, dropping it or putting another one in its place drops
    // the request: its completion never runs, so a superseded reply can never be taken for the
    // answer to a later request.
    class PendingRequest
    {
    public:
        PendingRequest() = default;
        PendingRequest(PendingRequest &&other) noexcept = default;
        PendingRequest &operator=(PendingRequest &&other) noexcept;
        ~PendingRequest() { cancel(); }

        void cancel();

    private:
        friend class QuizletClient;
        PendingRequest(std::shared_ptr<bool> cancelled, QObject *owner);

        std::shared_ptr<bool> m_cancelled;
        // Owns the request on its way; without it the connection is dropped.
        QPointer<QObject> m_owner;
    };

    static constexpr auto productionAddress = QLatin1StringView("https://api.quizlet.com");
    static constexpr auto productionWebSite = QLatin1StringView("https://quizlet.com");

    static constexpr std::chrono::milliseconds deadline = std::chrono::seconds(30);

    // Requests go through `network`, which outlives the client; `requestDeadline`: how long one
    // request may take in all.
    QuizletClient(Defaults &defaults, QNetworkAccessManager &network,
                  std::chrono::milliseconds requestDeadline = deadline);

    // The stored address when it is an http or https address, else the production address.
    static QUrl serviceAddress(Defaults &defaults);
    // The service's web site for people, from Settings::quizletWebSiteAddress on the same terms.
    static QUrl webSiteAddress(Defaults &defaults);

    // Sends `request`, a path and query, to the service. The completion always runs later, from
    // the event loop, also when the reply comes from memory, unless the request is cancelled first.
    [[nodiscard]] PendingRequest send(const QString &request, Completion completion);

private:
    QString m_address;
    std::chrono::milliseconds m_deadline;
    QCache<QString, QByteArray> m_replies;
    QNetworkAccessManager &m_network;
    // The owner of the requests on their way, which go with the client.
    QObject m_requests;
};

} // namespace lexi
