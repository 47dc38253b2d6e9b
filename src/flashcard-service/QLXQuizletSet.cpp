#include "QLXQuizletSet.h"

#include "QuizletJson.h"

#include <QJsonArray>

using namespace Qt::StringLiterals;

namespace {

// Whole numbers as integers, so that "id": 415 reads "415"; texts as they are; anything else empty.
QString identifierText(const QJsonValue &value)
{
    if (value.isString())
        return value.toString();
    if (value.isDouble())
        return value.toVariant().toString();
    return {};
}

std::optional<QJsonObject> setObjectInReply(const std::optional<QByteArray> &data)
{
    const std::optional<QJsonDocument> document = lexi::quizlet::decodeReply(data);
    if (!document)
        return std::nullopt;
    if (document->isObject())
        return document->object();
    const QJsonArray sets = document->array();
    if (sets.isEmpty() || !sets.first().isObject())
        return std::nullopt;
    return sets.first().toObject();
}

} // namespace

QLXQuizletSet QLXQuizletSet::quizletSetWithJsonData(const std::optional<QByteArray> &data)
{
    const std::optional<QJsonObject> dictionary = setObjectInReply(data);
    if (!dictionary || dictionary->isEmpty())
        return placeholderSet();
    return quizletSetWithDictionary(*dictionary);
}

QLXQuizletSet QLXQuizletSet::quizletSetWithDictionary(const QJsonObject &dictionary)
{
    QLXQuizletSet set;
    set.m_identifier = identifierText(dictionary.value("id"_L1));
    set.m_url = QUrl(dictionary.value("url"_L1).toString(), QUrl::StrictMode);
    if (!set.m_url.isValid())
        set.m_url.clear();
    set.m_title = dictionary.value("title"_L1).toString();
    set.m_count = lexi::quizlet::integerValue(dictionary.value("term_count"_L1));
    set.m_createdBy = dictionary.value("created_by"_L1).toString();
    set.m_termsLanguage = dictionary.value("lang_terms"_L1).toString();
    set.m_definitionsLanguage = dictionary.value("lang_definitions"_L1).toString();

    for (const QJsonValue subject : dictionary.value("subjects"_L1).toArray()) {
        if (subject.isString())
            set.m_subjects.append(subject.toString().trimmed());
    }
    for (const QJsonValue element : dictionary.value("terms"_L1).toArray()) {
        const QJsonObject entry = element.toObject();
        const QString term = entry.value("term"_L1).toString().trimmed();
        const QString definition = entry.value("definition"_L1).toString().trimmed();
        if (!term.isEmpty() && !definition.isEmpty())
            set.m_terms.append(QLXQuizletTerm::quizletTermWithYourWord(term, definition));
    }
    return set;
}

QLXQuizletSet QLXQuizletSet::placeholderSet()
{
    QLXQuizletSet set;
    set.m_identifier = u"unknown"_s;
    set.m_title = u"Could not load"_s;
    set.m_createdBy = u"please try again"_s;
    return set;
}

QString QLXQuizletSet::language() const
{
    return u"%1 - %2"_s.arg(m_termsLanguage, m_definitionsLanguage);
}

QString QLXQuizletSet::description() const
{
    QString text = u"(%1 ID: %2 subjects: ("_s.arg(m_title, m_identifier);
    for (const QString &subject : m_subjects)
        text += subject + u',';
    text += u") %1 terms: ("_s.arg(m_count);
    for (const QLXQuizletTerm &term : m_terms)
        text += term.description() + u',';
    return text + u"))"_s;
}
