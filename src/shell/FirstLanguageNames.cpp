#include "FirstLanguageNames.h"

#include "model/LanguageNames.h"

using namespace Qt::StringLiterals;

namespace lexi {

FirstLanguageNames firstLanguageNames(const QString &localeName, const QString &typedName)
{
    const LanguageNames fields = languageNamesFromFields(typedName, localeName);
    FirstLanguageNames names{fields.your, fields.foreign};
    if (names.yourLanguageName.compare(names.foreignLanguageName, Qt::CaseInsensitive) == 0)
        names.yourLanguageName = u"My Language"_s;
    return names;
}

} // namespace lexi
