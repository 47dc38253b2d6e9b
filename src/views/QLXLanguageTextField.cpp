#include "QLXLanguageTextField.h"

void QLXLanguageTextField::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    if (m_languageDelegate)
        m_languageDelegate->languageTextFieldDidBecomeActive(this);
}

void QLXLanguageTextField::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (m_languageDelegate)
        m_languageDelegate->languageTextFieldDidLoseFocus(this);
}
