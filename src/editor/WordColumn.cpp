#include "WordColumn.h"

using namespace Qt::StringLiterals;

namespace lexi {

QString columnIdentifier(WordColumn column)
{
    switch (column) {
    case WordColumn::YourWord:
        return u"yourWord"_s;
    case WordColumn::ForeignWord:
        return u"foreignWord"_s;
    case WordColumn::Comment:
        return u"comment"_s;
    case WordColumn::Tags:
        return u"tags"_s;
    case WordColumn::LastAsked:
        break;
    }
    return u"lastAsked"_s;
}

} // namespace lexi
