#include "QLXTokenCloud.h"

#include "QLXTokenCloudDelegate.h"

#include "views/QLXTokenButton.h"

#include <QResizeEvent>

#include <vector>

QLXTokenCloud::QLXTokenCloud(QWidget *parent) : QWidget(parent)
{
    m_selectedTokenNames.reserve(8);
}

void QLXTokenCloud::setTokens(const QSet<QString> &tokens)
{
    bool changed = false;
    for (auto it = m_tokenButtons.begin(); it != m_tokenButtons.end();) {
        if (tokens.contains(it.key())) {
            ++it;
            continue;
        }
        m_buttonWidths.remove(it.value());
        delete it.value();
        it = m_tokenButtons.erase(it);
        changed = true;
    }
    m_tokens = tokens;
    for (const QString &token : tokens) {
        if (!token.isEmpty() && !m_tokenButtons.contains(token)) {
            addButton(token);
            changed = true;
        }
    }
    // The same buttons stay where they are.
    if (changed)
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
        m_buttonWidths.remove(button);
        delete button;
        recalculateButtonLocations();
    }
    m_tokens.remove(token);
}

void QLXTokenCloud::addButton(const QString &token)
{
    auto *button = new QLXTokenButton(token, this);
    // Tab reaches each tag and Space toggles it, as a click does.
    button->setFocusPolicy(Qt::TabFocus);
    connect(button, &QAbstractButton::clicked, this, [this, button] { buttonClicked(button); });
    m_tokenButtons.insert(token, button);
    // Measured once: a button's text, and so its width, never changes.
    m_buttonWidths.insert(button, button->sizeHint().width());
    button->hide();
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
    // The rows hang from the bottom edge, so a new height moves them too.
    if (event->size() != event->oldSize())
        recalculateButtonLocations();
}

QWidget *QLXTokenCloud::focusBeforeCloud() const
{
    for (QWidget *widget = previousInFocusChain(); widget && widget != this; widget = widget->previousInFocusChain()) {
        if (!isAncestorOf(widget) && (widget->focusPolicy() & Qt::TabFocus))
            return widget;
    }
    return nullptr;
}

void QLXTokenCloud::recalculateButtonLocations()
{
    QList<QLXTokenButton *> buttons;
    QList<lexi::TokenCloudLayout::Token> tokens;
    for (QLXTokenButton *button : std::as_const(m_tokenButtons)) {
        buttons.append(button);
        tokens.append({button->text(), double(m_buttonWidths.value(button))});
    }
    const auto result = lexi::TokenCloudLayout::layout(tokens, width(), height());
    std::vector<bool> placed(std::size_t(buttons.size()), false);
    // Tab goes through the tags in the order they are shown, from where the cloud stands among
    // the page's controls.
    QWidget *previous = focusBeforeCloud();
    for (const auto &placement : result.placements) {
        QLXTokenButton *button = buttons[placement.token];
        if (previous)
            QWidget::setTabOrder(previous, button);
        previous = button;
        // The layout measures from the bottom edge; widgets from the top.
        const double top = height() - placement.y - lexi::TokenCloudLayout::buttonHeight;
        button->setGeometry(int(placement.x), int(top), m_buttonWidths.value(button), QLXTokenButton::height);
        button->show();
        placed[std::size_t(placement.token)] = true;
    }
    for (qsizetype i = 0; i < buttons.size(); ++i) {
        if (!placed[std::size_t(i)])
            buttons[i]->hide();
    }
    if (const std::optional<double> reported = m_height.layoutNeeded(result.neededHeight)) {
        updateGeometry();
        if (m_delegate)
            m_delegate->tokenCloudDidChangePreferredHeightTo(this, *reported);
    }
}
