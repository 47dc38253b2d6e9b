#include "ExportSheet.h"

#include "views/QLXLanguageTokenField.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace lexi {

namespace {

QLabel *makeInfoLabel(QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

// Two rows of which one is chosen, side by side.
QHBoxLayout *choiceRows(QWidget *parent, QRadioButton *&first, QRadioButton *&second)
{
    first = new QRadioButton(parent);
    second = new QRadioButton(parent);
    auto *group = new QButtonGroup(parent);
    group->addButton(first);
    group->addButton(second);
    first->setChecked(true);
    auto *layout = new QHBoxLayout;
    layout->addWidget(first);
    layout->addWidget(second);
    layout->addStretch();
    return layout;
}

} // namespace

ExportSheet::ExportSheet(QWidget *parent)
    : QDialog(parent), m_formats(new QTabWidget(this)), m_export(new QPushButton(this)),
      m_cancel(new QPushButton(this))
{
    setWindowModality(Qt::WindowModal);
    for (int page = 0; page < pageCount; ++page) {
        auto *widget = page == textPage ? makeTextPage() : new QWidget(m_formats);
        if (page != textPage) {
            auto *layout = new QVBoxLayout(widget);
            m_infoLabels[page] = makeInfoLabel(widget);
            layout->addWidget(m_infoLabels[page]);
            layout->addStretch();
        }
        m_formats->addTab(widget, QString());
    }

    m_export->setDefault(true);
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(m_cancel, QDialogButtonBox::RejectRole);
    buttons->addButton(m_export, QDialogButtonBox::AcceptRole);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_formats);
    layout->addWidget(makeFilterBox());
    layout->addWidget(buttons);
    setMinimumWidth(560);
}

QWidget *ExportSheet::makeTextPage()
{
    auto *page = new QWidget(m_formats);
    m_infoLabels[textPage] = makeInfoLabel(page);
    m_includeComments = new QCheckBox(page);
    m_includeDifficulty = new QCheckBox(page);
    m_includeComments->setChecked(true);
    auto *checks = new QHBoxLayout;
    checks->addWidget(m_includeComments);
    checks->addWidget(m_includeDifficulty);
    checks->addStretch();

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(m_infoLabels[textPage]);
    layout->addLayout(choiceRows(page, m_commaRow, m_tabRow));
    layout->addLayout(checks);
    layout->addLayout(choiceRows(page, m_directionRows[0], m_directionRows[1]));
    layout->addStretch();
    return page;
}

QGroupBox *ExportSheet::makeFilterBox()
{
    m_filterBox = new QGroupBox(this);
    auto *levels = new QGridLayout;
    for (int level = 0; level < int(m_levelBoxes.size()); ++level) {
        m_levelBoxes[level] = new QCheckBox(m_filterBox);
        m_levelBoxes[level]->setChecked(true);
        levels->addWidget(m_levelBoxes[level], level / 3, level % 3);
    }
    m_tagLabel = new QLabel(m_filterBox);
    m_tagField = new QLXLanguageTokenField(m_filterBox);
    m_tagLabel->setBuddy(m_tagField);
    auto *tags = new QHBoxLayout;
    tags->addWidget(m_tagLabel);
    tags->addWidget(m_tagField, 1);

    auto *layout = new QVBoxLayout(m_filterBox);
    layout->addLayout(levels);
    layout->addLayout(tags);
    layout->addLayout(choiceRows(m_filterBox, m_allRow, m_anyRow));
    return m_filterBox;
}

} // namespace lexi
