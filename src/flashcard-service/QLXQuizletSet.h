#pragma once

#include "QLXQuizletTerm.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

// One flash-card set of the service, as a search reply summarises it or as the set-details reply
// gives it with all its terms.
class QLXQuizletSet
{
public:
    QLXQuizletSet() = default;

    // Reads a set-details reply: an array gives its first element, an object itself. Without bytes,
    // with bytes that are not JSON, or with no set or an empty one in them: the placeholder set.
    static QLXQuizletSet quizletSetWithJsonData(const std::optional<QByteArray> &data);
    // Reads one set object. Fields that are missing or of the wrong type read as 0 or empty;
    // terms without both a term and a definition, after trimming, are left out.
    static QLXQuizletSet quizletSetWithDictionary(const QJsonObject &dictionary);
    // Stands in for a set that could not be loaded; its title and author tell the learner so.
    static QLXQuizletSet placeholderSet();

    // The set's "id" in text form, as requests use it.
    const QString &identifier() const { return m_identifier; }
    void setIdentifier(const QString &identifier) { m_identifier = identifier; }
    // Empty when there is none.
    const QUrl &url() const { return m_url; }
    void setUrl(const QUrl &url) { m_url = url; }
    const QString &title() const { return m_title; }
    void setTitle(const QString &title) { m_title = title; }
    const QString &createdBy() const { return m_createdBy; }
    void setCreatedBy(const QString &createdBy) { m_createdBy = createdBy; }
    // The number of terms the service counts; the terms themselves come with the set's details.
    qint64 count() const { return m_count; }
    void setCount(qint64 count) { m_count = count; }
    const QStringList &subjects() const { return m_subjects; }
    void setSubjects(const QStringList &subjects) { m_subjects = subjects; }
    const QList<QLXQuizletTerm> &terms() const { return m_terms; }
    void setTerms(const QList<QLXQuizletTerm> &terms) { m_terms = terms; }
    const QString &termsLanguage() const { return m_termsLanguage; }
    void setTermsLanguage(const QString &language) { m_termsLanguage = language; }
    const QString &definitionsLanguage() const { return m_definitionsLanguage; }
    void setDefinitionsLanguage(const QString &language) { m_definitionsLanguage = language; }

    // "terms language - definitions language".
    QString language() const;
    // Title, identifier, subjects, count and terms, for logs.
    QString description() const;

private:
    QString m_identifier;
    QUrl m_url;
    QString m_title;
    QString m_createdBy;
    qint64 m_count = 0;
    QStringList m_subjects;
    QList<QLXQuizletTerm> m_terms;
    QString m_termsLanguage;
    QString m_definitionsLanguage;
};
