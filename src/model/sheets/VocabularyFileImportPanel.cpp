#include "VocabularyFileImportPanel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace lexi {

VocabularyFileImportPanel::VocabularyFileImportPanel(QWidget *parent)
    : QDialog(parent), m_newLanguage(new QRadioButton(this)), m_join(new QRadioButton(this)),
      m_name(new QLineEdit(this)), m_markAllAsUnknown(new QCheckBox(this)), m_import(new QPushButton(this)),
      m_cancel(new QPushButton(this))
{
    setWindowModality(Qt::WindowModal);
    auto *rows = new QButtonGroup(this);
    rows->addButton(m_newLanguage);
    rows->addButton(m_join);
    m_newLanguage->setChecked(true);
    // The name is the new language's: it means nothing for a join.
    connect(m_newLanguage, &QRadioButton::toggled, m_name, &QLineEdit::setEnabled);

    m_import->setDefault(true);
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(m_cancel, QDialogButtonBox::RejectRole);
    buttons->addButton(m_import, QDialogButtonBox::AcceptRole);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *newLanguage = new QHBoxLayout;
    newLanguage->addWidget(m_newLanguage);
    newLanguage->addWidget(m_name, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(newLanguage);
    layout->addWidget(m_join);
    layout->addWidget(m_markAllAsUnknown);
    layout->addWidget(buttons);
    setMinimumWidth(460);
}

} // namespace lexi
