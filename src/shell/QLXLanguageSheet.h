#pragma once

#include "LanguageSheetContent.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The sheet in which the learner adds a language or edits one: the two language names, the words
// each side may begin with, and the keyboards. Confirming does not close it: the preferences
// close it once the vocabulary is saved, and leave it open when the names are refused.
class QLXLanguageSheet final : public QDialog
{
    Q_OBJECT

public:
    explicit QLXLanguageSheet(QWidget *parent = nullptr);

    // Shows `content`; the confirm button says "add" or "edit".
    void setContent(const lexi::LanguageSheetContent &content);
    // What the sheet shows now.
    lexi::LanguageSheetContent content() const;
    // While a confirmed sheet is being saved, nothing in it can be changed, and it cannot be
    // cancelled.
    void setBusy(bool busy);
    void reject() override;

    QLineEdit *editLangNameTextField() const { return m_foreignName; }
    QLineEdit *editYourLangNameTextField() const { return m_yourName; }
    QLineEdit *editYourIgnoreTokenField() const { return m_yourFacultativeWords; }
    QLineEdit *editForeignIgnoreTokenField() const { return m_foreignFacultativeWords; }
    QComboBox *editYourKeyboardPopUp() const { return m_yourKeyboard; }
    QComboBox *editForeignKeyboardPopUp() const { return m_foreignKeyboard; }
    QCheckBox *editEnableAutoInputCheckBox() const { return m_autoSelect; }
    QPushButton *editButton() const { return m_confirm; }
    QPushButton *editCancelButton() const { return m_cancel; }

signals:
    void confirmed();

private:
    void editSetAutoInputSourceEnabled();
    void fillKeyboards(QComboBox *popUp, const lexi::KeyboardChoice &choice);

    lexi::LanguageSheetContent m_content;
    bool m_isBusy = false;
    QLabel *m_title = nullptr;
    QLineEdit *m_foreignName = nullptr;
    QLineEdit *m_yourName = nullptr;
    QLineEdit *m_yourFacultativeWords = nullptr;
    QLineEdit *m_foreignFacultativeWords = nullptr;
    QComboBox *m_yourKeyboard = nullptr;
    QComboBox *m_foreignKeyboard = nullptr;
    QCheckBox *m_autoSelect = nullptr;
    QPushButton *m_confirm = nullptr;
    QPushButton *m_cancel = nullptr;
};
