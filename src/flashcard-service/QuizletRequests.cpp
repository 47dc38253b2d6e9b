#include "QuizletRequests.h"

#include "platform/values/Format.h"

#include <QUrl>

namespace lexi::quizlet {

namespace {

QString queryValue(const QString &text)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

void appendSearchField(QString &request, QStringView format, const QString &text)
{
    const QString trimmed = text.trimmed();
    if (!trimmed.isEmpty())
        request += lexi::format(format, queryValue(trimmed));
}

} // namespace

QString searchRequest(const QString &keywords, const QString &author, const QString &term)
{
    QString request =
        lexi::format(u"/2.0/search/sets?client_id=%@&whitespace=1&per_page=%ld", clientIdentifier, setsPerPage);
    appendSearchField(request, u"&q=%@", keywords);
    appendSearchField(request, u"&creator=%@", author);
    appendSearchField(request, u"&term=%@", term);
    return request;
}

QString pageRequest(const QString &searchRequest, qint64 page)
{
    return searchRequest + lexi::format(u"&page=%ld", page);
}

QString setDetailsRequest(const QString &identifier)
{
    return lexi::format(u"/2.0/sets?client_id=%@&set_ids=%@", clientIdentifier, queryValue(identifier));
}

} // namespace lexi::quizlet
