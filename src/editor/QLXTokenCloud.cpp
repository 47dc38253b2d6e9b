#include "QLXTokenCloud.h"

#include "QLXTokenCloudDelegate.h"

#include "views/QLXTokenButton.h"

QLXTokenCloud::QLXTokenCloud(QWidget *parent) : QWidget(parent)
{
    m_selectedTokenNames.reserve(8);
}

void QLXTokenCloud::setTokens(const QSet<QString> &tokens)
{
    for (auto it = m_tokenButtons.begin(); it != m_tokenButtons.end();) {
        if (tokens.contains(it.key())) {
            ++it;
            continue;
        }
        delete it.value();
        it = m_tokenButtons.erase(it);
    }
    m_tokens = tokens;
    for (const QString &token : tokens) {
        if (!token.isEmpty() && !m_tokenButtons.contains(token))
            addButton(token);
    }
    recalculateButtonLocations();
}

void QLXTokenCloud::setSelectedTokenNames(const QSet<QString> &names)
{
    m_selectedTokenNames = names;
    for (auto it = m_tokenButtons.cbegin(); it != m_tokenButtons.cend(); ++it)
        it.value()->setChecked(names.contains(it.key()));
}

QStringList QLXTokenCloud::visibleSelectedTokenNames() const
{
    QStringList names;
    for (const QString &name : m_selectedTokenNames) {
        if (m_tokenButtons.contains(name))
            names.append(name);
    }
    names.sort();
    return names;
}

bool QLXTokenCloud::addTokenWithString(const QString &token)
{
    if (token.isEmpty())
        return false;
    if (m_tokens.contains(token))
        return false;
    m_tokens.insert(token);
    addButton(token);
    recalculateButtonLocations();
    return true;
}

void QLXTokenCloud::removeTokenWithString(const QString &token)
{
    if (QLXTokenButton *button = m_tokenButtons.take(token)) {
        delete button;
        recalculateButtonLocations();
    }
    m_tokens.remove(token);
}

void QLXTokenCloud::addButton(const QString &token)
{
    auto *button = new QLXTokenButton(token, this);
    connect(button, &QAbstractButton::clicked, this, [this, button] { buttonClicked(button); });
    m_tokenButtons.insert(token, button);
    button->show();
}

void QLXTokenCloud::buttonClicked(QLXTokenButton *button)
{
    const QString token = button->text();
    if (button->isChecked())
        m_selectedTokenNames.insert(token);
    else
        m_selectedTokenNames.remove(token);
    if (m_delegate)
        m_delegate->tokenCloudDidClickToken(this, token, button->isChecked());
}

QSize QLXTokenCloud::sizeHint() const
{
    return {200, int(std::max(0.0, m_height.preferredHeight()))};
}

void QLXTokenCloud::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    recalculateButtonLocations();
}

void QLXTokenCloud::recalculateButtonLocations()
{
    QList<QLXTokenButton *> buttons;
    QList<lexi::TokenCloudLayout::Token> tokens;
    for (QLXTokenButton *button : std::as_const(m_tokenButtons)) {
        buttons.append(button);
        tokens.append({button->text(), double(button->sizeHint().width())});
    }
    const auto result = lexi::TokenCloudLayout::layout(tokens, width(), height());
    for (QLXTokenButton *button : std::as_const(buttons))
        button->hide();
    for (const auto &placement : result.placements) {
        QLXTokenButton *button = buttons[placement.token];
        // The layout measures from the bottom edge; widgets from the top.
        const double top = height() - placement.y - lexi::TokenCloudLayout::buttonHeight;
        button->setGeometry(int(placement.x), int(top), button->sizeHint().width(), QLXTokenButton::height);
        button->show();
    }
    if (const std::optional<double> reported = m_height.layoutNeeded(result.neededHeight)) {
        updateGeometry();
        if (m_delegate)
            m_delegate->tokenCloudDidChangePreferredHeightTo(this, *reported);
    }
}
