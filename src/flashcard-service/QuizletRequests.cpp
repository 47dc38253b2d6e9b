#include "QuizletRequests.h"

#include <QUrl>

using namespace Qt::StringLiterals;

namespace lexi::quizlet {

namespace {

QString queryValue(const QString &text)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

void appendSearchField(QString &request, const QString &format, const QString &text)
{
    const QString trimmed = text.trimmed();
    if (!trimmed.isEmpty())
        request += format.arg(queryValue(trimmed));
}

} // namespace

QString searchRequest(const QString &keywords, const QString &author, const QString &term)
{
    QString request =
        u"/2.0/search/sets?client_id=%1&whitespace=1&per_page=%2"_s.arg(clientIdentifier, QString::number(setsPerPage));
    appendSearchField(request, u"&q=%1"_s, keywords);
    appendSearchField(request, u"&creator=%1"_s, author);
    appendSearchField(request, u"&term=%1"_s, term);
    return request;
}

QString pageRequest(const QString &searchRequest, qint64 page)
{
    return searchRequest + u"&page=%1"_s.arg(page);
}

QString setDetailsRequest(const QString &identifier)
{
    return u"/2.0/sets?client_id=%1&set_ids=%2"_s.arg(clientIdentifier, queryValue(identifier));
}

} // namespace lexi::quizlet
