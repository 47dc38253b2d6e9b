#include "PlainText.h"

#include <QTextDocument>

namespace lexi {

QString plainToolTip(const QString &text)
{
    return text.isEmpty() ? QString() : Qt::convertFromPlainText(text, Qt::WhiteSpaceNormal);
}

} // namespace lexi
