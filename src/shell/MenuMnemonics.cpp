#include "MenuMnemonics.h"

#include <QSet>

using namespace Qt::StringLiterals;

namespace lexi {

QStringList withMnemonics(const QStringList &titles)
{
    QSet<QChar> taken;
    QStringList result;
    for (const QString &title : titles) {
        QString marked;
        bool hasMnemonic = false;
        for (const QChar character : title) {
            if (!hasMnemonic && character.isLetterOrNumber() && !taken.contains(character.toLower())) {
                taken.insert(character.toLower());
                marked += u'&';
                hasMnemonic = true;
            }
            marked += character == u'&' ? u"&&"_s : QString(character);
        }
        result.append(marked);
    }
    return result;
}

} // namespace lexi
