#pragma once

#include "platform/files/Defaults.h"

#include <QColor>
#include <QObject>

// The one background colour of the program's pages: the theme the learner picks, by index 0 to 5,
// kept in the settings. Every background view paints it and follows when it changes. One per
// installation; used on the main thread.
class QLXColorTheme : public QObject
{
    Q_OBJECT

public:
    // Starts with the colour of the stored index.
    explicit QLXColorTheme(lexi::Defaults &defaults, QObject *parent = nullptr);

    // 0 dark grey, 1 blue, 2 purple, 3 green, 4 red, 5 violet; any other index is dark grey.
    static QColor standardColor(qint64 index);

    qint64 index() const { return m_index; }
    const QColor &currentColor() const { return m_currentColor; }
    // Makes `color` the current colour and stores `index` as the learner's choice (also an index
    // outside 0 to 5, which reads as dark grey).
    void setCurrent(qint64 index, const QColor &color);

signals:
    void currentColorChanged(const QColor &color);

private:
    lexi::Defaults &m_defaults;
    qint64 m_index;
    QColor m_currentColor;
};
