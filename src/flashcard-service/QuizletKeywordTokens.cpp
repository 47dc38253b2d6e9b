#include "QuizletKeywordTokens.h"

#include "views/QLXTokenButton.h"

#include <QResizeEvent>

namespace lexi {

namespace {

constexpr int spacing = 4;

} // namespace

QuizletKeywordTokens::QuizletKeywordTokens(QWidget *parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

void QuizletKeywordTokens::setKeywords(const QStringList &keywords)
{
    qDeleteAll(findChildren<QLXTokenButton *>(Qt::FindDirectChildrenOnly));
    for (const QString &keyword : keywords) {
        // Shown only: a click changes nothing.
        auto *token = new QLXTokenButton(keyword, this);
        token->setCheckable(false);
        token->setCursor(Qt::ArrowCursor);
        token->show();
    }
    layOut(width(), true);
    updateGeometry();
}

QStringList QuizletKeywordTokens::keywords() const
{
    QStringList keywords;
    for (const QLXTokenButton *token : findChildren<QLXTokenButton *>(Qt::FindDirectChildrenOnly))
        keywords.append(token->text());
    return keywords;
}

int QuizletKeywordTokens::heightForWidth(int width) const
{
    return layOut(width, false);
}

QSize QuizletKeywordTokens::sizeHint() const
{
    return {200, heightForWidth(width() > 0 ? width() : 200)};
}

void QuizletKeywordTokens::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layOut(event->size().width(), true);
}

int QuizletKeywordTokens::layOut(int width, bool move) const
{
    const QList<QLXTokenButton *> tokens = findChildren<QLXTokenButton *>(Qt::FindDirectChildrenOnly);
    if (tokens.isEmpty())
        return QLXTokenButton::height;
    int x = 0;
    int y = 0;
    for (QLXTokenButton *token : tokens) {
        const QSize size(std::min(token->sizeHint().width(), std::max(width, 1)), QLXTokenButton::height);
        if (x > 0 && x + size.width() > width) {
            x = 0;
            y += QLXTokenButton::height + spacing;
        }
        if (move)
            token->setGeometry(QRect(QPoint(x, y), size));
        x += size.width() + spacing;
    }
    return y + QLXTokenButton::height;
}

} // namespace lexi
