#include "TextShareKeeper.h"

#include "PaletteColors.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace lexi {

TextShareKeeper::TextShareKeeper(QWidget &widget) : QObject(&widget), m_widget(widget)
{
    widget.installEventFilter(this);
}

void TextShareKeeper::keep(QWidget &widget, double textShare)
{
    auto *keeper = widget.findChild<TextShareKeeper *>(QString(), Qt::FindDirectChildrenOnly);
    if (!keeper)
        keeper = new TextShareKeeper(widget);
    keeper->m_textShare = textShare;
    keeper->apply();
}

bool TextShareKeeper::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_widget) {
        switch (event->type()) {
        case QEvent::PaletteChange:
        case QEvent::ApplicationPaletteChange:
        case QEvent::ParentChange:
            apply();
            break;
        default:
            break;
        }
    }
    return false;
}

void TextShareKeeper::apply()
{
    // The widget's own palette holds the colour set last time; the inherited one has the theme's.
    const QWidget *parent = m_widget.parentWidget();
    const QPalette inherited = parent ? parent->palette() : QApplication::palette(&m_widget);
    // A label on a list's base paints with the Text role, one on a page with WindowText.
    const QPalette::ColorRole role = m_widget.foregroundRole();
    const QColor text = textTowardsBackground(inherited, m_textShare, role, m_widget.backgroundRole());
    if (m_widget.palette().color(role) == text)
        return;
    QPalette palette = m_widget.palette();
    palette.setColor(role, text);
    // Setting the palette sends another change, which finds the colour in place and stops.
    m_widget.setPalette(palette);
}

} // namespace lexi
