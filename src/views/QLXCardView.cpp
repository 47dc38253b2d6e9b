#include "QLXCardView.h"

#include <QLinearGradient>
#include <QPalette>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr qreal cornerRadius = 10;
// Squares the corners of the plain half where it meets the coloured one.
constexpr qreal middleSquareWidth = 30;

QColor grey(float level)
{
    return QColor::fromRgbF(level, level, level);
}

QLinearGradient topToBottom(const QRectF &rect, const QColor &start, const QColor &end)
{
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0, start);
    gradient.setColorAt(1, end);
    return gradient;
}

// The card's colours are light whatever the desktop's theme, so what lies on it (texts, fields,
// buttons) is drawn in light colours too, or a dark theme would put light text on it.
QPalette lightPalette()
{
    QPalette palette(grey(0.94f));
    palette.setColor(QPalette::Highlight, QColor(48, 140, 198));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::PlaceholderText, QColor(0, 0, 0, 128));
    palette.setColor(QPalette::Link, QColor(0, 80, 180));
    return palette;
}

} // namespace

QLXCardView::QLXCardView(QWidget *parent) : QWidget(parent)
{
    setPalette(lightPalette());
    setColorNeutral();
}

void QLXCardView::setIsSplit(bool split)
{
    m_isSplit = split;
    m_isBackgroundValid = false;
    update();
}

void QLXCardView::setColorRightSide(bool colorRightSide)
{
    m_colorRightSide = colorRightSide;
    m_isBackgroundValid = false;
    update();
}

void QLXCardView::setColorNeutral()
{
    setLeftColors(grey(0.9f), grey(0.82f));
}

void QLXCardView::setColorCorrect()
{
    setLeftColors(QColor::fromRgbF(0.8f, 0.91f, 0.86f), QColor::fromRgbF(0.74f, 0.84f, 0.8f));
}

void QLXCardView::setColorWrong()
{
    setLeftColors(QColor::fromRgbF(0.91f, 0.81f, 0.8f), QColor::fromRgbF(0.87f, 0.77f, 0.76f));
}

void QLXCardView::setColorMisspelled()
{
    setLeftColors(QColor::fromRgbF(1.0f, 0.95f, 0.79f), QColor::fromRgbF(0.95f, 0.91f, 0.75f));
}

void QLXCardView::setColorSynonym()
{
    setLeftColors(QColor::fromRgbF(0.83f, 0.89f, 0.91f), QColor::fromRgbF(0.8f, 0.85f, 0.87f));
}

void QLXCardView::setLeftColors(const QColor &start, const QColor &end)
{
    m_leftStartColor = start;
    m_leftEndColor = end;
    m_isBackgroundValid = false;
    update();
}

void QLXCardView::paintEvent(QPaintEvent *)
{
    // The card is painted often (each picture the card flip takes of it), and looks the same until
    // its size, colours or split change: it is drawn once and then copied.
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * ratio).toSize();
    if (!m_isBackgroundValid || m_background.size() != pixels || m_background.devicePixelRatio() != ratio) {
        m_background = QPixmap(pixels);
        m_background.setDevicePixelRatio(ratio);
        m_background.fill(Qt::transparent);
        QPainter painter(&m_background);
        paintBackground(painter);
        m_isBackgroundValid = true;
    }
    QPainter(this).drawPixmap(0, 0, m_background);
}

void QLXCardView::paintBackground(QPainter &painter) const
{
    painter.setRenderHint(QPainter::Antialiasing);
    // Half a pixel in, so that the one-pixel outline falls on whole pixels.
    const QRectF card = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath rounded;
    rounded.addRoundedRect(card, cornerRadius, cornerRadius);
    const QLinearGradient verdict = topToBottom(card, m_leftStartColor, m_leftEndColor);
    const QLinearGradient plain = topToBottom(card, m_rightStartColor, m_rightEndColor);

    if (!m_isSplit) {
        painter.fillPath(rounded, m_colorRightSide ? verdict : plain);
    } else {
        painter.fillPath(rounded, verdict);
        const qreal middle = card.width() * 0.5 + 0.5;
        QPainterPath right;
        right.addRoundedRect(QRectF(middle, card.top(), card.right() - middle, card.height()), cornerRadius,
                             cornerRadius);
        QPainterPath square;
        square.addRect(QRectF(middle, card.top(), middleSquareWidth, card.height()));
        painter.fillPath(right.united(square), plain);
        painter.fillRect(QRectF(middle, card.top(), 1, card.height()), grey(0.2f));
    }
    painter.setPen(QPen(Qt::white, 1));
    painter.drawPath(rounded);
}
