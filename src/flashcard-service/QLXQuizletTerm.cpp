#include "QLXQuizletTerm.h"

using namespace Qt::StringLiterals;

QLXQuizletTerm QLXQuizletTerm::quizletTermWithYourWord(const QString &yourWord, const QString &foreignWord)
{
    QLXQuizletTerm term;
    term.m_yourLangWord = yourWord;
    term.m_foreignLangWord = foreignWord;
    return term;
}

QString QLXQuizletTerm::description() const
{
    return u"(%1 = %2)"_s.arg(m_yourLangWord, m_foreignLangWord);
}
