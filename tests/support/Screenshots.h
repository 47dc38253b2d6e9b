#pragma once

#include <QApplication>
#include <QDir>
#include <QPalette>
#include <QString>
#include <QWidget>

namespace lexi::test {

// The dark scheme of Qt's Fusion style, as a desktop with a dark theme hands it to the program.
inline QPalette darkPalette()
{
    const QColor windowText(240, 240, 240);
    const QColor window(50, 50, 50);
    const QColor base = window.darker(140);
    const QColor mid = window.darker(130);
    const QColor dark = window.darker(150);
    const QColor disabledText(130, 130, 130);
    QPalette palette(windowText, window, window.lighter(150), dark, mid, windowText, base);
    palette.setColor(QPalette::Midlight, mid.lighter(110));
    palette.setColor(QPalette::Button, window);
    palette.setColor(QPalette::ButtonText, windowText);
    palette.setColor(QPalette::Shadow, dark.darker(135));
    palette.setColor(QPalette::AlternateBase, base.lighter(120));
    palette.setColor(QPalette::Highlight, QColor(48, 140, 198));
    palette.setColor(QPalette::HighlightedText, windowText);
    palette.setColor(QPalette::Link, QColor(90, 170, 240));
    palette.setColor(QPalette::LinkVisited, QColor(170, 130, 230));
    palette.setColor(QPalette::ToolTipBase, window.lighter(130));
    palette.setColor(QPalette::ToolTipText, windowText);
    QColor placeholder = windowText;
    placeholder.setAlpha(128);
    palette.setColor(QPalette::PlaceholderText, placeholder);
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, disabledText);
    palette.setColor(QPalette::Disabled, QPalette::Base, window);
    palette.setColor(QPalette::Disabled, QPalette::Highlight, QColor(145, 145, 145));
    return palette;
}

// Runs `render` once under the application's palette as it is and once more under the dark
// palette, then puts the palette back. Widgets made inside `render` are made under that palette,
// as they are at the start of a program on such a desktop.
template<typename Render>
void inLightAndDarkPalette(Render render)
{
    const QPalette light = QApplication::palette();
    render(QString());
    QApplication::setPalette(darkPalette());
    render(QStringLiteral("dark-"));
    QApplication::setPalette(light);
}

// Renders `widget` into <build>/screenshots/<name>.png for people to look at; whether it was
// written.
inline bool saveScreenshotAsIs(QWidget &widget, const QString &name)
{
    using namespace Qt::StringLiterals;
    const QString folder = QString::fromUtf8(LEXICARTA_SCREENSHOT_DIR);
    QDir().mkpath(folder);
    // Lays new texts out first, as the event loop would before painting.
    QApplication::processEvents();
    return widget.grab().save(folder + u'/' + name + u".png"_s);
}

// Renders `widget` into <name>.png, and once more under the dark palette, as a desktop switched
// to a dark theme repaints it, into dark-<name>.png; whether both were written.
inline bool saveScreenshot(QWidget &widget, const QString &name)
{
    using namespace Qt::StringLiterals;
    const QPalette light = QApplication::palette();
    bool saved = saveScreenshotAsIs(widget, name);
    QApplication::setPalette(darkPalette());
    saved = saveScreenshotAsIs(widget, u"dark-"_s + name) && saved;
    QApplication::setPalette(light);
    QApplication::processEvents();
    return saved;
}

} // namespace lexi::test
