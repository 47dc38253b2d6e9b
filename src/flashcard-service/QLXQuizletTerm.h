#pragma once

#include <QString>

// One entry of a flash-card set: the service's "term" and "definition".
class QLXQuizletTerm
{
public:
    QLXQuizletTerm() = default;

    static QLXQuizletTerm quizletTermWithYourWord(const QString &yourWord, const QString &foreignWord);

    const QString &yourLangWord() const { return m_yourLangWord; }
    void setYourLangWord(const QString &word) { m_yourLangWord = word; }
    const QString &foreignLangWord() const { return m_foreignLangWord; }
    void setForeignLangWord(const QString &word) { m_foreignLangWord = word; }
    bool isDirectionSwitched() const { return m_isDirectionSwitched; }
    void setDirectionSwitched(bool switched) { m_isDirectionSwitched = switched; }

    // "(term = definition)", for logs.
    QString description() const;

private:
    QString m_yourLangWord;
    QString m_foreignLangWord;
    bool m_isDirectionSwitched = false;
};
