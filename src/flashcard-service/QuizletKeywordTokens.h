#pragma once

#include <QStringList>
#include <QWidget>

namespace lexi {

// A set's keywords, each shown as a token, in as many rows as the width needs.
class QuizletKeywordTokens : public QWidget
{
    Q_OBJECT

public:
    explicit QuizletKeywordTokens(QWidget *parent = nullptr);

    void setKeywords(const QStringList &keywords);
    QStringList keywords() const;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    // Places the tokens in rows of `width`; the height they take.
    int layOut(int width, bool move) const;
};

} // namespace lexi
