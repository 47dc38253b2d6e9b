#pragma once

#include <QLineEdit>

class QLXLanguageTextField;

class QLXLanguageTextFieldDelegate
{
public:
    virtual ~QLXLanguageTextFieldDelegate() = default;
    virtual void languageTextFieldDidBecomeActive(QLXLanguageTextField *field) = 0;
    virtual void languageTextFieldDidLoseFocus(QLXLanguageTextField *field) = 0;
};

// A text field that tells its delegate when it gains and loses the keyboard focus, so that the
// keyboard layout can follow the field's language.
class QLXLanguageTextField : public QLineEdit
{
    Q_OBJECT

public:
    explicit QLXLanguageTextField(QWidget *parent = nullptr) : QLineEdit(parent) {}

    void setLanguageDelegate(QLXLanguageTextFieldDelegate *delegate) { m_languageDelegate = delegate; }
    QLXLanguageTextFieldDelegate *languageDelegate() const { return m_languageDelegate; }

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    QLXLanguageTextFieldDelegate *m_languageDelegate = nullptr;
};
