#pragma once

#include <QColor>
#include <QWidget>

class QLXColorTheme;

// The coloured background behind the quiz pages, the preferences and the statistics side bar. It
// paints the theme's current colour, so every background follows the learner's last choice.
class QLXBookmarkView : public QWidget
{
    Q_OBJECT

public:
    // Applies the stored colour index with this view's colours. `theme` must outlive the view.
    explicit QLXBookmarkView(QLXColorTheme &theme, QWidget *parent = nullptr);

    // The colours of the six choices; the preferences paint their theme buttons with them.
    QColor blackColor() const { return m_colors[0]; }
    void setBlackColor(const QColor &color) { m_colors[0] = color; }
    QColor blueColor() const { return m_colors[1]; }
    void setBlueColor(const QColor &color) { m_colors[1] = color; }
    QColor purpleColor() const { return m_colors[2]; }
    void setPurpleColor(const QColor &color) { m_colors[2] = color; }
    QColor greenColor() const { return m_colors[3]; }
    void setGreenColor(const QColor &color) { m_colors[3] = color; }
    QColor redColor() const { return m_colors[4]; }
    void setRedColor(const QColor &color) { m_colors[4] = color; }
    QColor violetColor() const { return m_colors[5]; }
    void setVioletColor(const QColor &color) { m_colors[5] = color; }

    // Makes this view's colour of `index` (black for any index outside 1 to 5) the theme's current
    // colour and stores the index.
    void setColor(qint64 index);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QLXColorTheme &m_theme;
    QColor m_colors[6];
};
