#include "QLXQuizletTerm.h"

#include "platform/values/Format.h"

QLXQuizletTerm QLXQuizletTerm::quizletTermWithYourWord(const QString &yourWord, const QString &foreignWord)
{
    QLXQuizletTerm term;
    term.m_yourLangWord = yourWord;
    term.m_foreignLangWord = foreignWord;
    return term;
}

QString QLXQuizletTerm::description() const
{
    return lexi::format(u"(%@ = %@)", m_yourLangWord, m_foreignLangWord);
}
