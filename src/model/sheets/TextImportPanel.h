#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

namespace lexi {

// The panel that previews a text file's first words: the direction the columns are read in, the
// foreign and your words side by side under their languages' names, and the import and cancel
// buttons.
class TextImportPanel final : public QDialog
{
    Q_OBJECT

public:
    explicit TextImportPanel(QWidget *parent);

    QComboBox *directionPopUp() const { return m_direction; }
    QLabel *foreignName() const { return m_foreignName; }
    QLabel *yourName() const { return m_yourName; }
    QLabel *foreignPreview() const { return m_foreignPreview; }
    QLabel *yourPreview() const { return m_yourPreview; }
    QPushButton *importButton() const { return m_import; }
    QPushButton *cancelButton() const { return m_cancel; }

private:
    QComboBox *m_direction;
    QLabel *m_foreignName;
    QLabel *m_yourName;
    QLabel *m_foreignPreview;
    QLabel *m_yourPreview;
    QPushButton *m_import;
    QPushButton *m_cancel;
};

} // namespace lexi
