#pragma once

#include "support/LoopbackHttpServer.h"

#include "flashcard-service/QuizletClient.h"
#include "platform/files/Defaults.h"
#include "platform/files/Settings.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QNetworkAccessManager>
#include <QString>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <utility>

namespace lexi::test {

// The reply to a search: page `page` of `totalPages`, `totalResults` sets in all, `count` of them
// here, numbered from `first` ("Set 1" by "author1", id 1, subjects "topic" and "topic1").
inline QByteArray searchReply(qint64 page, qint64 totalPages, qint64 totalResults, int count, int first = 1)
{
    using namespace Qt::StringLiterals;
    QJsonArray sets;
    for (int number = first; number < first + count; ++number) {
        sets.append(QJsonObject{{u"id"_s, number},
                                {u"title"_s, u"Set %1"_s.arg(number)},
                                {u"created_by"_s, u"author%1"_s.arg(number)},
                                {u"term_count"_s, 3},
                                {u"subjects"_s, QJsonArray{u"topic"_s, u"topic%1"_s.arg(number)}}});
    }
    return QJsonDocument(QJsonObject{{u"total_results"_s, totalResults},
                                     {u"total_pages"_s, totalPages},
                                     {u"page"_s, page},
                                     {u"sets"_s, sets}})
        .toJson(QJsonDocument::Compact);
}

// The reply to a set-details request: an array of the one set, with its terms as (term,
// definition) pairs.
inline QByteArray setReply(qint64 identifier, const QString &title, const QList<std::pair<QString, QString>> &terms)
{
    using namespace Qt::StringLiterals;
    QJsonArray entries;
    for (const auto &[term, definition] : terms)
        entries.append(QJsonObject{{u"term"_s, term}, {u"definition"_s, definition}});
    const QJsonObject set{{u"id"_s, identifier},        {u"title"_s, title},
                          {u"created_by"_s, u"teacher"_s}, {u"term_count"_s, qsizetype(terms.size())},
                          {u"subjects"_s, QJsonArray{u"food"_s, u"home"_s}},
                          {u"lang_terms"_s, u"en"_s},   {u"lang_definitions"_s, u"de"_s},
                          {u"terms"_s, entries}};
    return QJsonDocument(QJsonArray{set}).toJson(QJsonDocument::Compact);
}

// A loopback server standing in for the flash-card service, and a client pointed at it.
class QuizletService
{
public:
    QuizletService()
    {
        Settings(defaults).setValue(Settings::quizletServiceAddress, server.url().toString());
        m_client = std::make_unique<QuizletClient>(defaults, network);
    }

    QuizletClient &client() { return *m_client; }
    // The path and query of each request the server got.
    QList<QByteArray> targets() const
    {
        QList<QByteArray> targets;
        for (const HttpRequest &request : server.requests())
            targets.append(request.target);
        return targets;
    }

    LoopbackHttpServer server;
    QNetworkAccessManager network;
    QTemporaryDir folder;
    Defaults defaults{folder.filePath(QStringView(u"Lexicarta.conf").toString())};

private:
    std::unique_ptr<QuizletClient> m_client;
};

} // namespace lexi::test
