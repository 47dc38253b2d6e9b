#include "flashcard-service/QLXQuizletSet.h"

#include <QJsonDocument>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QLXQuizletSet readSet(const char *json)
{
    return QLXQuizletSet::quizletSetWithDictionary(QJsonDocument::fromJson(json).object());
}

QStringList termTexts(const QLXQuizletSet &set)
{
    QStringList texts;
    for (const QLXQuizletTerm &term : set.terms())
        texts.append(term.description());
    return texts;
}

const char *const animals = R"({"id": 415, "url": "https://quizlet.com/415/animals/", "title": " Animals",
    "created_by": "anna", "term_count": 3, "lang_terms": "en", "lang_definitions": "de",
    "subjects": [" zoo ", "pets\n"],
    "terms": [{"term": " dog ", "definition": "Hund\t"}, {"term": "fish", "definition": "Fisch"}]})";

TEST(QLXQuizletSetTest, ReadsEveryFieldOfASet)
{
    const QLXQuizletSet set = readSet(animals);
    EXPECT_EQ(set.identifier(), u"415"_s);
    EXPECT_EQ(set.url(), QUrl(u"https://quizlet.com/415/animals/"_s));
    EXPECT_EQ(set.title(), u" Animals"_s);
    EXPECT_EQ(set.createdBy(), u"anna"_s);
    EXPECT_EQ(set.count(), 3);
    EXPECT_EQ(set.subjects(), (QStringList{u"zoo"_s, u"pets"_s}));
    EXPECT_EQ(set.language(), u"en - de"_s);
    ASSERT_EQ(set.terms().size(), 2);
    EXPECT_EQ(set.terms()[0].yourLangWord(), u"dog"_s);
    EXPECT_EQ(set.terms()[0].foreignLangWord(), u"Hund"_s);
    EXPECT_FALSE(set.terms()[0].isDirectionSwitched());
    EXPECT_EQ(set.description(), u"( Animals ID: 415 subjects: (zoo,pets,) 3 terms: ((dog = Hund),(fish = Fisch),))"_s);
}

TEST(QLXQuizletSetTest, KeepsOnlyTermsWithBothTextsAndTrimsThem)
{
    const QLXQuizletSet set = readSet(R"({"terms": [
        {"term": "  padded ", "definition": "\n gepolstert \t"},
        {"term": "blank", "definition": " \n\t "},
        {"term": "", "definition": "leer"},
        {"term": "no definition"},
        {"definition": "kein Begriff"},
        {"term": 42, "definition": "zweiundvierzig"},
        {"term": "null", "definition": null},
        "not an object", 7, null, [],
        {"term": "kept", "definition": "behalten", "image": "x.png"}]})");
    EXPECT_EQ(termTexts(set), (QStringList{u"(padded = gepolstert)"_s, u"(kept = behalten)"_s}));
}

TEST(QLXQuizletSetTest, FieldsOfTheWrongTypeReadAsMissing)
{
    const QLXQuizletSet set = readSet(R"({"id": true, "url": 5, "title": ["x"], "created_by": {},
        "term_count": "12", "lang_terms": 1, "lang_definitions": null,
        "subjects": [" zoo ", 3, null, "pets"], "terms": {"term": "a", "definition": "b"}})");
    EXPECT_EQ(set.identifier(), QString());
    EXPECT_TRUE(set.url().isEmpty());
    EXPECT_EQ(set.title(), QString());
    EXPECT_EQ(set.createdBy(), QString());
    EXPECT_EQ(set.count(), 0);
    EXPECT_EQ(set.language(), u" - "_s);
    EXPECT_EQ(set.subjects(), (QStringList{u"zoo"_s, u"pets"_s}));
    EXPECT_TRUE(set.terms().isEmpty());
    EXPECT_TRUE(readSet(R"({"subjects": "zoo"})").subjects().isEmpty());
    EXPECT_TRUE(readSet(R"({"url": "not a url: %%"})").url().isEmpty());
}

TEST(QLXQuizletSetTest, IdentifiersAndCountsKeepTheirValue)
{
    struct Case
    {
        const char *json;
        QString identifier;
        qint64 count;
    };
    const Case cases[] = {
        {R"({"id": 415, "term_count": 12})", u"415"_s, 12},
        {R"({"id": "abc-9", "term_count": 12.9})", u"abc-9"_s, 12},
        {R"({"id": 9007199254740993, "term_count": -3})", u"9007199254740993"_s, -3},
        {R"({"id": 4.5, "term_count": 1e300})", u"4.5"_s, 0},
        {R"({"id": null, "term_count": 9223372036854775807})", QString(), 9223372036854775807},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.json);
        const QLXQuizletSet set = readSet(c.json);
        EXPECT_EQ(set.identifier(), c.identifier);
        EXPECT_EQ(set.count(), c.count);
    }
}

TEST(QLXQuizletSetTest, ASetReplyUsesTheFirstSetOfAnArrayOrTheObject)
{
    const QLXQuizletSet first = QLXQuizletSet::quizletSetWithJsonData(
        QByteArray(R"([{"id": 1, "title": "first"}, {"id": 2, "title": "second"}])"));
    EXPECT_EQ(first.identifier(), u"1"_s);
    EXPECT_EQ(first.title(), u"first"_s);
    EXPECT_EQ(QLXQuizletSet::quizletSetWithJsonData(QByteArray(animals)).description(),
              readSet(animals).description());
}

TEST(QLXQuizletSetTest, AnUnreadableSetReplyGivesThePlaceholder)
{
    const std::optional<QByteArray> replies[] = {
        std::nullopt, QByteArray(), QByteArray("<html>Service unavailable</html>"), QByteArray("[]"),
        QByteArray("{}"), QByteArray("[{}]"), QByteArray("[5, {\"id\": 1}]"), QByteArray("[[]]"),
        QByteArray("\"text\""), QByteArray("{\"id\": 1"),
    };
    for (const std::optional<QByteArray> &reply : replies) {
        SCOPED_TRACE(reply.value_or("(none)").toStdString());
        const QLXQuizletSet set = QLXQuizletSet::quizletSetWithJsonData(reply);
        EXPECT_EQ(set.identifier(), u"unknown"_s);
        EXPECT_TRUE(set.url().isEmpty());
        EXPECT_EQ(set.title(), u"Could not load"_s);
        EXPECT_EQ(set.createdBy(), u"please try again"_s);
        EXPECT_EQ(set.count(), 0);
        EXPECT_EQ(set.termsLanguage(), QString());
        EXPECT_EQ(set.definitionsLanguage(), QString());
        EXPECT_TRUE(set.terms().isEmpty());
        EXPECT_TRUE(set.subjects().isEmpty());
    }
}

} // namespace
