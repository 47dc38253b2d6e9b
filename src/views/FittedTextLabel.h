#pragma once

#include <QLabel>
#include <QStringList>

namespace lexi {

// How a text fits a width: the point size it is drawn at, its lines, and whether it had to be cut.
struct FittedText
{
    qreal pointSize = 0;
    QStringList lines;
    bool isElided = false;
    int height = 0;
};

// Fits `text` into `width` and `maximumHeight`: wrapped at word boundaries at the font's size, or
// at a smaller one down to `minimumPointSize` (which fits more lines); what still does not fit is
// cut with an ellipsis at that smallest size.
FittedText fitText(const QString &text, const QFont &font, int width, int maximumHeight, qreal minimumPointSize);

// A plain-text label whose text never leaves its width however long it is: it wraps at word
// boundaries, shrinks down to a smallest size and is cut with an ellipsis beyond that, the whole
// text then in its tool tip. Its font is the size it prefers; its width comes from its layout,
// never from its text.
class FittedTextLabel : public QLabel
{
    Q_OBJECT

public:
    // At most `maximumLines` lines of the font's size high.
    FittedTextLabel(int maximumLines, qreal minimumPointSize, QWidget *parent = nullptr);

    void setText(const QString &text);
    // The text as it is drawn now.
    const FittedText &fitted() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void updateToolTip();
    int maximumHeight() const;

    int m_maximumLines;
    qreal m_minimumPointSize;
    // The fit of the text, font and width it was made for (the base class clears its text
    // without telling).
    mutable FittedText m_fitted;
    mutable QString m_fittedText;
    mutable QFont m_fittedFont;
    mutable int m_fittedWidth = -1;
    // The height of the text at the width a layout asked for last.
    mutable int m_height = 0;
    mutable QString m_heightText;
    mutable QFont m_heightFont;
    mutable int m_heightWidth = -1;
};

} // namespace lexi
