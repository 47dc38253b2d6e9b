#pragma once

#include <QLineEdit>
#include <QStringList>

#include <functional>

class QCompleter;
class QLXLanguageTokenField;
class QStringListModel;

class QLXLanguageTokenFieldDelegate
{
public:
    virtual ~QLXLanguageTokenFieldDelegate() = default;
    virtual void languageTokenFieldDidBecomeActive(QLXLanguageTokenField *field) = 0;
    virtual void languageTokenFieldDidLoseFocus(QLXLanguageTokenField *field) = 0;
};

// A field of tokens separated by commas (tags), completing the token being typed, that tells its
// delegate when it gains and loses the keyboard focus. It can hold a placeholder token standing
// for values that differ between several words: the field knows it put it there, so a
// placeholder is never mistaken for a token the learner typed, whatever its text.
class QLXLanguageTokenField : public QLineEdit
{
    Q_OBJECT

public:
    using CompletionProvider = std::function<QStringList(const QString &prefix)>;

    explicit QLXLanguageTokenField(QWidget *parent = nullptr);

    void setLanguageDelegate(QLXLanguageTokenFieldDelegate *delegate) { m_languageDelegate = delegate; }
    QLXLanguageTokenFieldDelegate *languageDelegate() const { return m_languageDelegate; }
    void setCompletionProvider(CompletionProvider provider) { m_completions = std::move(provider); }

    // Shows the tokens, after the placeholder when `placeholder` is given.
    void setTokens(const QStringList &tokens, const std::optional<QString> &placeholder = std::nullopt);
    // The tokens the learner left or typed: trimmed, not empty, each once; the placeholder is
    // not one of them.
    QStringList tokens() const;
    // The placeholder is still there.
    bool hasPlaceholderToken() const;

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void complete();
    void insertCompletion(const QString &completion);
    QStringList rawTokens() const;

    QLXLanguageTokenFieldDelegate *m_languageDelegate = nullptr;
    CompletionProvider m_completions;
    std::optional<QString> m_placeholder;
    QCompleter *m_completer = nullptr;
    QStringListModel *m_completionModel = nullptr;
};
