#pragma once

#include <QByteArray>
#include <QCache>
#include <QObject>
#include <QString>
#include <QUrl>

#include <chrono>
#include <functional>
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
// The service's base address is read from the setting Settings::quizletServiceAddressKey when the
// client is made: an http or https address, by default https://api.quizlet.com; tests point it at a
// loopback server. Make and use the client on the main thread.
class QuizletClient
{
public:
    using Completion = std::function<void(const std::optional<QByteArray> &reply)>;

    static constexpr auto productionAddress = QLatin1StringView("https://api.quizlet.com");

    static constexpr std::chrono::milliseconds deadline = std::chrono::seconds(30);

    // Requests go through `network`, which outlives the client; `requestDeadline`: how long one
    // request may take in all.
    QuizletClient(Defaults &defaults, QNetworkAccessManager &network,
                  std::chrono::milliseconds requestDeadline = deadline);

    // The stored address when it is an http or https address, else the production address.
    static QUrl serviceAddress(Defaults &defaults);

    // Sends `request`, a path and query, to the service. The completion always runs later, from
    // the event loop, also when the reply comes from memory.
    void send(const QString &request, Completion completion);

private:
    QString m_address;
    std::chrono::milliseconds m_deadline;
    QCache<QString, QByteArray> m_replies;
    QNetworkAccessManager &m_network;
    // The owner of the requests on their way, which go with the client.
    QObject m_requests;
};

} // namespace lexi
