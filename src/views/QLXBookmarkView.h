#pragma once

#include <QWidget>

class QLXColorTheme;

// The coloured background behind the quiz pages, the preferences and the statistics side bar. It
// paints the theme's current colour, so every background follows the learner's last choice.
class QLXBookmarkView : public QWidget
{
    Q_OBJECT

public:
    // Applies the stored colour index. `theme` must outlive the view.
    explicit QLXBookmarkView(QLXColorTheme &theme, QWidget *parent = nullptr);

    // Makes the theme's standard colour of `index` (black for any index outside 1 to 5) its
    // current colour and stores the index.
    void setColor(qint64 index);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QLXColorTheme &m_theme;
};
