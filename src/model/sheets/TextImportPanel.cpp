#include "TextImportPanel.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace lexi {

namespace {

// Words from a file are shown as they are, never as rich text.
QLabel *plainLabel(QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QLabel *previewField(QWidget *parent)
{
    QLabel *field = plainLabel(parent);
    field->setFrameShape(QFrame::StyledPanel);
    field->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    field->setMargin(6);
    field->setMinimumSize(220, 90);
    field->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return field;
}

} // namespace

TextImportPanel::TextImportPanel(QWidget *parent)
    : QDialog(parent), m_direction(new QComboBox(this)), m_foreignName(plainLabel(this)), m_yourName(plainLabel(this)),
      m_foreignPreview(previewField(this)), m_yourPreview(previewField(this)), m_import(new QPushButton(this)),
      m_cancel(new QPushButton(this))
{
    setWindowModality(Qt::WindowModal);
    m_import->setDefault(true);
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(m_cancel, QDialogButtonBox::RejectRole);
    buttons->addButton(m_import, QDialogButtonBox::AcceptRole);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *previews = new QGridLayout;
    previews->addWidget(m_foreignName, 0, 0);
    previews->addWidget(m_yourName, 0, 1);
    previews->addWidget(m_foreignPreview, 1, 0);
    previews->addWidget(m_yourPreview, 1, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_direction);
    layout->addLayout(previews);
    layout->addWidget(buttons);
}

} // namespace lexi
