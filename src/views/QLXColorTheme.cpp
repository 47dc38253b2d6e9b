#include "QLXColorTheme.h"

#include "platform/files/Settings.h"

QLXColorTheme::QLXColorTheme(lexi::Defaults &defaults, QObject *parent)
    : QObject(parent), m_defaults(defaults), m_index(lexi::Settings(defaults).value(lexi::Settings::backgroundColor)),
      m_currentColor(standardColor(m_index))
{
}

QColor QLXColorTheme::standardColor(qint64 index)
{
    switch (index) {
    case 1:
        return QColor::fromRgbF(0.22f, 0.22f, 0.35f);
    case 2:
        return QColor::fromRgbF(0.51f, 0.21f, 0.28f);
    case 3:
        return QColor::fromRgbF(0.27f, 0.35f, 0.04f);
    case 4:
        return QColor::fromRgbF(0.25f, 0.19f, 0.12f);
    case 5:
        return QColor::fromRgbF(0.28f, 0.01f, 0.14f);
    default:
        return QColor::fromRgbF(0.1f, 0.1f, 0.1f);
    }
}

void QLXColorTheme::setCurrent(qint64 index, const QColor &color)
{
    lexi::Settings(m_defaults).setValue(lexi::Settings::backgroundColor, index);
    m_index = index;
    if (color == m_currentColor)
        return;
    m_currentColor = color;
    emit currentColorChanged(color);
}
