#pragma once

#include <QString>

// The texts (path and query) of the flash-card service's requests; QuizletClient sends them.
// Every value that comes from the learner or a reply is percent-encoded as a query value, so
// "&", "=", "#", "+" and spaces in it can neither add parameters nor cut the request short.
namespace lexi::quizlet {

// Issued by the service to identify this program.
inline constexpr auto clientIdentifier = QLatin1StringView("QmTrvXapLe");
inline constexpr qint64 setsPerPage = 100;

// The first page of a search for sets. Each of the three texts is trimmed, and only those left
// non-empty take part: keywords, the set's author, a term the set contains.
QString searchRequest(const QString &keywords, const QString &author, const QString &term);
// Another page of the search that `searchRequest` built.
QString pageRequest(const QString &searchRequest, qint64 page);
// One set with all its terms.
QString setDetailsRequest(const QString &identifier);

} // namespace lexi::quizlet
