#pragma once

#include <QColor>
#include <QPixmap>
#include <QWidget>

// The index card of the quiz pages. Its colour tells the verdict on an answer; split, its left
// half carries that colour and its right half stays plain, with a dark line between them. What it
// holds is drawn in a light palette of its own, as the card is light under every theme.
class QPainter;

class QLXCardView : public QWidget
{
    Q_OBJECT

public:
    explicit QLXCardView(QWidget *parent = nullptr);

    bool isSplit() const { return m_isSplit; }
    void setIsSplit(bool split);
    // Unsplit, the card shows its colour only when this is on; else it stays plain.
    bool colorRightSide() const { return m_colorRightSide; }
    void setColorRightSide(bool colorRightSide);

    void setColorNeutral();
    void setColorCorrect();
    void setColorWrong();
    void setColorMisspelled();
    void setColorSynonym();

    // The colour pair of the verdict, and the plain pair, each from top to bottom.
    QColor leftStartColor() const { return m_leftStartColor; }
    QColor leftEndColor() const { return m_leftEndColor; }
    QColor rightStartColor() const { return m_rightStartColor; }
    QColor rightEndColor() const { return m_rightEndColor; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void setLeftColors(const QColor &start, const QColor &end);
    void paintBackground(QPainter &painter) const;

    QColor m_leftStartColor;
    QColor m_leftEndColor;
    QColor m_rightStartColor = QColor::fromRgbF(0.98f, 0.98f, 0.98f);
    QColor m_rightEndColor = QColor::fromRgbF(0.9f, 0.9f, 0.9f);
    bool m_isSplit = false;
    bool m_colorRightSide = false;
    // The card drawn at its present size and colours, while m_isBackgroundValid.
    QPixmap m_background;
    bool m_isBackgroundValid = false;
};
