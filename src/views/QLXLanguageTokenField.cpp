#include "QLXLanguageTokenField.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QStringListModel>

using namespace Qt::StringLiterals;

namespace {

const QString separator = u", "_s;

} // namespace

QLXLanguageTokenField::QLXLanguageTokenField(QWidget *parent)
    : QLineEdit(parent), m_completionModel(new QStringListModel(this))
{
    m_completer = new QCompleter(m_completionModel, this);
    m_completer->setWidget(this);
    m_completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    connect(m_completer, qOverload<const QString &>(&QCompleter::activated), this,
            &QLXLanguageTokenField::insertCompletion);
    connect(this, &QLineEdit::textEdited, this, &QLXLanguageTokenField::complete);
}

void QLXLanguageTokenField::setTokens(const QStringList &tokens, const std::optional<QString> &placeholder)
{
    m_placeholder = placeholder;
    QStringList shown = tokens;
    if (placeholder)
        shown.prepend(*placeholder);
    setText(shown.join(separator));
}

QStringList QLXLanguageTokenField::rawTokens() const
{
    QStringList tokens;
    for (const QString &part : text().split(u',')) {
        const QString token = part.trimmed();
        if (!token.isEmpty() && !tokens.contains(token))
            tokens.append(token);
    }
    return tokens;
}

bool QLXLanguageTokenField::hasPlaceholderToken() const
{
    return m_placeholder && rawTokens().contains(*m_placeholder);
}

QStringList QLXLanguageTokenField::tokens() const
{
    QStringList tokens = rawTokens();
    if (m_placeholder)
        tokens.removeAll(*m_placeholder);
    return tokens;
}

void QLXLanguageTokenField::complete()
{
    const QString typed = text().section(u',', -1).trimmed();
    const QStringList completions = m_completions && !typed.isEmpty() ? m_completions(typed) : QStringList();
    m_completionModel->setStringList(completions);
    if (completions.isEmpty())
        m_completer->popup()->hide();
    else
        m_completer->complete();
}

void QLXLanguageTokenField::insertCompletion(const QString &completion)
{
    QString kept = text().section(u',', 0, -2);
    setText(kept.isEmpty() ? completion : kept + separator + completion);
}

void QLXLanguageTokenField::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    if (m_languageDelegate)
        m_languageDelegate->languageTokenFieldDidBecomeActive(this);
}

void QLXLanguageTokenField::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (m_languageDelegate)
        m_languageDelegate->languageTokenFieldDidLoseFocus(this);
}
