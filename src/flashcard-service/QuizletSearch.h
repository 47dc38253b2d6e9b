#pragma once

#include "QLXQuizletSearchResults.h"
#include "QuizletClient.h"

#include <QObject>
#include <QString>

namespace lexi {

// The flash-card page's search and paging, without any display: it builds and sends the search
// and page requests, keeps the search's request text for its other pages, and reads each reply
// into the page's results. Only the latest request counts: a new search or page cancels the one
// under way, so an older reply never replaces newer results.
//
// A reply arrives as resultsLoaded(); a failed connection tells connectionFailed() first and
// then loads empty results. Used on the main thread; `client` must outlive the search.
class QuizletSearch : public QObject
{
    Q_OBJECT

public:
    explicit QuizletSearch(QuizletClient &client, QObject *parent = nullptr);

    // Asks for the first page of sets matching the three texts (trimmed; empty ones take no part).
    void search(const QString &keywords, const QString &author, const QString &term);
    // Asks for another page of the last search; nothing before a search.
    void changePage(qint64 page);
    // Drops the request under way, if any.
    void cancel();

    bool isLoading() const { return m_isLoading; }
    // The last page that arrived, with its page size set; empty before the first.
    const QLXQuizletSearchResults &searchResults() const { return m_searchResults; }
    // The search's request text, which its other pages extend.
    const QString &request() const { return m_request; }

signals:
    void resultsLoaded();
    void connectionFailed();

private:
    enum class Kind { Search, Page };

    void send(const QString &request, Kind kind);
    void didComplete(const std::optional<QByteArray> &reply, Kind kind);

    QuizletClient &m_client;
    QuizletClient::PendingRequest m_pending;
    bool m_isLoading = false;
    QString m_request;
    QLXQuizletSearchResults m_searchResults;
};

} // namespace lexi
