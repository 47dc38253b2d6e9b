#pragma once

// Lets GoogleTest print Qt values readably in failure messages. Every test program includes this
// header first (see tests/support/CMakeLists.txt).

#include <QByteArray>
#include <QRect>
#include <QString>
#include <QStringList>

#include <optional>
#include <ostream>

inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QByteArray &bytes, std::ostream *out)
{
    *out << '"' << bytes.toStdString() << '"';
}

inline void PrintTo(const QRect &rect, std::ostream *out)
{
    *out << rect.width() << 'x' << rect.height() << " at " << rect.x() << ',' << rect.y();
}

inline void PrintTo(const QStringList &texts, std::ostream *out)
{
    *out << '{';
    for (qsizetype i = 0; i < texts.size(); ++i) {
        *out << (i ? ", " : "");
        PrintTo(texts[i], out);
    }
    *out << '}';
}
