#pragma once

#include <QByteArray>
#include <QCache>
#include <QNetworkAccessManager>
#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

namespace lexi {

class Defaults;

// Sends the flash-card service's requests (see QuizletRequests.h) as GET requests and hands each
// reply's bytes to a completion on the main thread: the body of any HTTP answer, or nothing when
// the connection failed, 30 s passed without data or the answer grew beyond 16 MiB. Successful
// (2xx) JSON replies are kept in memory for the client's life and answer the same request again
// without asking the network.
//
// The service's base address is read from the defaults key "quizletServiceAddress" when the client
// is made: an http or https address, by default https://api.quizlet.com; tests point it at a
// loopback server. Make and use the client on the main thread.
class QuizletClient
{
public:
    using Completion = std::function<void(const std::optional<QByteArray> &reply)>;

    static constexpr auto productionAddress = QLatin1StringView("https://api.quizlet.com");

    explicit QuizletClient(Defaults &defaults);

    // The stored address when it is an http or https address, else the production address.
    static QUrl serviceAddress(Defaults &defaults);

    // Sends `request`, a path and query, to the service. The completion always runs later, from
    // the event loop, also when the reply comes from memory.
    void send(const QString &request, Completion completion);

private:
    void deliver(QNetworkReply *reply, const QString &url, const Completion &completion);

    QString m_address;
    QCache<QString, QByteArray> m_replies;
    QNetworkAccessManager m_network;
};

} // namespace lexi
