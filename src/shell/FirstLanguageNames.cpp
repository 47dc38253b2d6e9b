#include "FirstLanguageNames.h"

using namespace Qt::StringLiterals;

namespace lexi {

FirstLanguageNames firstLanguageNames(const QString &localeName, const QString &typedName)
{
    FirstLanguageNames names{localeName.trimmed(), typedName.trimmed()};
    if (names.yourLanguageName.isEmpty())
        names.yourLanguageName = u"Unknown"_s;
    if (names.yourLanguageName.endsWith(u')'))
        names.yourLanguageName.append(u'_');
    if (names.foreignLanguageName.isEmpty())
        names.foreignLanguageName = u"Unknown"_s;
    if (names.yourLanguageName.compare(names.foreignLanguageName, Qt::CaseInsensitive) == 0)
        names.yourLanguageName = u"My Language"_s;
    return names;
}

} // namespace lexi
