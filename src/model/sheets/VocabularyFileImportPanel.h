#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace lexi {

// The panel that offers a vocabulary file: as a new language under the name in its field, or
// joined into the open vocabulary; all its words as unknown or not; the import and cancel buttons.
class VocabularyFileImportPanel final : public QDialog
{
    Q_OBJECT

public:
    explicit VocabularyFileImportPanel(QWidget *parent);

    QRadioButton *newLanguageRow() const { return m_newLanguage; }
    QRadioButton *joinRow() const { return m_join; }
    QLineEdit *nameField() const { return m_name; }
    QCheckBox *markAllAsUnknown() const { return m_markAllAsUnknown; }
    QPushButton *importButton() const { return m_import; }
    QPushButton *cancelButton() const { return m_cancel; }

private:
    QRadioButton *m_newLanguage;
    QRadioButton *m_join;
    QLineEdit *m_name;
    QCheckBox *m_markAllAsUnknown;
    QPushButton *m_import;
    QPushButton *m_cancel;
};

} // namespace lexi
