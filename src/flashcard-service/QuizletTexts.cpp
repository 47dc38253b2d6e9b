#include "QuizletTexts.h"

#include "QLXQuizletSearchResults.h"
#include "QuizletImport.h"

#include "platform/files/StringTables.h"
#include "platform/values/Format.h"

namespace lexi::quizlet {

QString text(const QString &key)
{
    return StringTables::text(key, u"Quizlet"_s);
}

QString noResultsText(const QString &keywords, const QString &author, const QString &term)
{
    const bool nothingTyped = keywords.isEmpty() && author.isEmpty() && term.isEmpty();
    return text(nothingTyped ? u"nothingSelected"_s : u"noResults"_s);
}

QString foundText(const QLXQuizletSearchResults &results)
{
    return format(text(u"numberOfFoundLabel"_s), results.indexOfFirstSetInPage(), results.indexOfLastSetInPage(),
                  results.totalCount());
}

QString importCountsText(const QuizletImportCounts &counts)
{
    return format(text(u"importCounts"_s), counts.added, counts.alreadyThere);
}

} // namespace lexi::quizlet
