#include "QuizletSearch.h"

#include "QuizletReplyCheck.h"
#include "QuizletRequests.h"

namespace lexi {

QuizletSearch::QuizletSearch(QuizletClient &client, QObject *parent) : QObject(parent), m_client(client)
{
}

void QuizletSearch::search(const QString &keywords, const QString &author, const QString &term)
{
    m_request = quizlet::searchRequest(keywords, author, term);
    send(m_request, Kind::Search);
}

void QuizletSearch::changePage(qint64 page)
{
    if (!m_request.isEmpty())
        send(quizlet::pageRequest(m_request, page), Kind::Page);
}

void QuizletSearch::cancel()
{
    m_pending.cancel();
    m_isLoading = false;
}

void QuizletSearch::send(const QString &request, Kind kind)
{
    m_isLoading = true;
    m_pending = m_client.send(request, [this, kind](const std::optional<QByteArray> &reply) { didComplete(reply, kind); });
}

void QuizletSearch::didComplete(const std::optional<QByteArray> &reply, Kind kind)
{
    m_isLoading = false;
    if (kind == Kind::Search)
        quizlet::checkSearchReply(reply);
    else
        quizlet::checkPageReply(reply);
    // Without an answer the results are emptied for a search too, so that the page's no-results
    // state never shows the rows of an earlier search.
    m_searchResults = QLXQuizletSearchResults::quizletSearchResultsWithJsonData(reply);
    m_searchResults.setPageSize(quizlet::setsPerPage);
    if (!reply)
        emit connectionFailed();
    emit resultsLoaded();
}

} // namespace lexi
