#include "FittedTextLabel.h"

#include "PlainText.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>

#include <cmath>

namespace lexi {

namespace {

QFont atSize(QFont font, qreal points)
{
    font.setPointSizeF(points);
    return font;
}

int heightOf(int lines, const QFont &font)
{
    return int(std::ceil(lines * QFontMetricsF(font).lineSpacing()));
}

struct Wrapped
{
    QStringList lines;
    // Where each line starts in the text.
    QList<int> starts;
    bool fitsWidth = true;
};

// The lines of `text` broken at its word boundaries within `width`; a word wider than that stands
// on a line of its own and makes the text not fit.
Wrapped wrapAtWords(const QString &text, const QFont &font, int width)
{
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    Wrapped wrapped;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        if (line.naturalTextWidth() > width)
            wrapped.fitsWidth = false;
        QString piece = text.mid(line.textStart(), line.textLength());
        // The blank a line breaks at belongs to neither line.
        while (!piece.isEmpty() && piece.back().isSpace())
            piece.chop(1);
        wrapped.lines.append(piece);
        wrapped.starts.append(line.textStart());
    }
    layout.endLayout();
    return wrapped;
}

} // namespace

FittedText fitText(const QString &text, const QFont &font, int width, int maximumHeight, qreal minimumPointSize)
{
    FittedText fitted;
    const qreal preferred = font.pointSizeF();
    fitted.pointSize = preferred;
    if (text.isEmpty() || width <= 0)
        return fitted;
    const auto linesWithin = [maximumHeight](const QFont &sized) {
        return std::max(1, int(maximumHeight / QFontMetricsF(sized).lineSpacing()));
    };
    // Line breaks of the text are kept; a word wrap breaks only at blanks and after hyphens.
    QString flowing = text;
    flowing.replace(u'\n', QChar::LineSeparator);

    const qreal smallest = std::min(minimumPointSize, preferred);
    for (qreal points = preferred; points >= smallest; points -= 1) {
        const QFont sized = atSize(font, points);
        const Wrapped wrapped = wrapAtWords(flowing, sized, width);
        if (wrapped.fitsWidth && wrapped.lines.size() <= linesWithin(sized)) {
            fitted.pointSize = points;
            fitted.lines = wrapped.lines;
            fitted.height = heightOf(int(fitted.lines.size()), sized);
            return fitted;
        }
    }

    // Even the smallest size does not fit: too wide lines and the rest after the last line that
    // fits are cut.
    const QFont sized = atSize(font, smallest);
    const QFontMetricsF metrics(sized);
    const Wrapped wrapped = wrapAtWords(flowing, sized, width);
    const int maximumLines = linesWithin(sized);
    fitted.pointSize = smallest;
    for (qsizetype index = 0; index < wrapped.lines.size() && index < maximumLines; ++index) {
        const bool isLastShown = index == maximumLines - 1 && index + 1 < wrapped.lines.size();
        QString line = isLastShown ? flowing.mid(wrapped.starts[index]) : wrapped.lines[index];
        line.replace(QChar::LineSeparator, u' ');
        const QString elided = metrics.elidedText(line, Qt::ElideRight, width);
        if (isLastShown || elided != line)
            fitted.isElided = true;
        fitted.lines.append(elided);
    }
    fitted.height = heightOf(int(fitted.lines.size()), sized);
    return fitted;
}

FittedTextLabel::FittedTextLabel(int maximumLines, qreal minimumPointSize, QWidget *parent)
    : QLabel(parent), m_maximumLines(maximumLines), m_minimumPointSize(minimumPointSize)
{
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QSizePolicy policy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void FittedTextLabel::setText(const QString &text)
{
    // The same text again changes nothing, and leaves the layout around it alone.
    if (text == this->text())
        return;
    QLabel::setText(text);
    updateToolTip();
    updateGeometry();
}

const FittedText &FittedTextLabel::fitted() const
{
    const int width = contentsRect().width();
    if (width != m_fittedWidth || text() != m_fittedText || font() != m_fittedFont) {
        m_fitted = fitText(text(), font(), width, maximumHeight(), m_minimumPointSize);
        m_fittedText = text();
        m_fittedFont = font();
        m_fittedWidth = width;
    }
    return m_fitted;
}

QSize FittedTextLabel::sizeHint() const
{
    return QSize(width(), heightForWidth(width()));
}

QSize FittedTextLabel::minimumSizeHint() const
{
    return QSize(0, heightForWidth(width()));
}

int FittedTextLabel::heightForWidth(int width) const
{
    const QMargins margins = contentsMargins();
    const int inner = width - margins.left() - margins.right();
    // A layout asks this several times over for each pass: the fit is made once for each width.
    if (inner != m_heightWidth || text() != m_heightText || font() != m_heightFont) {
        m_height = fitText(text(), font(), inner, maximumHeight(), m_minimumPointSize).height;
        m_heightText = text();
        m_heightFont = font();
        m_heightWidth = inner;
    }
    return m_height + margins.top() + margins.bottom();
}

int FittedTextLabel::maximumHeight() const
{
    return int(std::ceil(m_maximumLines * QFontMetricsF(font()).lineSpacing()));
}

void FittedTextLabel::updateToolTip()
{
    setToolTip(fitted().isElided ? plainToolTip(text()) : QString());
}

bool FittedTextLabel::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip)
        updateToolTip();
    return QLabel::event(event);
}

void FittedTextLabel::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    updateToolTip();
}

void FittedTextLabel::changeEvent(QEvent *event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        updateToolTip();
        updateGeometry();
    }
}

void FittedTextLabel::paintEvent(QPaintEvent *)
{
    const FittedText &shown = fitted();
    QPainter painter(this);
    const QFont sized = atSize(font(), shown.pointSize);
    painter.setFont(sized);
    painter.setPen(palette().color(foregroundRole()));
    const qreal lineSpacing = QFontMetricsF(sized).lineSpacing();
    const QRect area = contentsRect();
    qreal top = area.top();
    if (alignment() & Qt::AlignVCenter)
        top += (area.height() - shown.height) / 2.0;
    else if (alignment() & Qt::AlignBottom)
        top += area.height() - shown.height;
    const Qt::Alignment horizontal = alignment() & Qt::AlignHorizontal_Mask;
    for (const QString &line : shown.lines) {
        painter.drawText(QRectF(area.left(), top, area.width(), lineSpacing), int(horizontal | Qt::AlignTop), line);
        top += lineSpacing;
    }
}

} // namespace lexi
