#pragma once

#include <QObject>
#include <QPalette>

class QWidget;

namespace lexi {

// Keeps a widget's text (the colour of its foreground role) at a share of the strength of that
// colour in the palette it inherits, the rest the colour of its background role there, and takes the
// new colours whenever that palette changes, as it does when the desktop switches between a light
// and a dark theme. A colour worked out once would stay the old theme's, dark on dark or light on
// light.
class TextShareKeeper final : public QObject
{
    Q_OBJECT

public:
    // The grey of secondary texts: about 7:1 against a light background and 6:1 against a dark one.
    static constexpr double secondaryTextShare = 2.0 / 3;

    // Sets the share of `widget`'s text (1 is the palette's own text colour), making the widget's
    // keeper the first time.
    static void keep(QWidget &widget, double textShare);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit TextShareKeeper(QWidget &widget);
    void apply();

    QWidget &m_widget;
    double m_textShare = 1.0;
};

} // namespace lexi
