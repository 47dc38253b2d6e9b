#pragma once

#include <QDir>
#include <QString>
#include <QWidget>

namespace lexi::test {

// Renders `widget` into <build>/screenshots/<name>.png for people to look at; whether it was
// written.
inline bool saveScreenshot(QWidget &widget, const QString &name)
{
    using namespace Qt::StringLiterals;
    const QString folder = QString::fromUtf8(LEXICARTA_SCREENSHOT_DIR);
    QDir().mkpath(folder);
    return widget.grab().save(folder + u'/' + name + u".png"_s);
}

} // namespace lexi::test
