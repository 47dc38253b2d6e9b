#include "QLXLanguageSheet.h"

#include "platform/files/StringTables.h"
#include "views/TextShareKeeper.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QString text(const QString &key)
{
    return lexi::StringTables::text(key, u"Settings"_s);
}

// The entries of a facultative-words field: separated by commas, trimmed, empty ones dropped.
QStringList entriesOf(const QLineEdit *field)
{
    QStringList entries;
    for (const QString &entry : field->text().split(u',')) {
        const QString trimmed = entry.trimmed();
        if (!trimmed.isEmpty())
            entries.append(trimmed);
    }
    return entries;
}

QLabel *columnTitle(const QString &title)
{
    auto *label = new QLabel(title);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

} // namespace

QLXLanguageSheet::QLXLanguageSheet(QWidget *parent) : QDialog(parent)
{
    setObjectName(u"editLangPanel"_s);
    setWindowModality(Qt::WindowModal);

    m_title = new QLabel;
    QFont titleFont = m_title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.2);
    m_title->setFont(titleFont);

    m_foreignName = new QLineEdit;
    m_yourName = new QLineEdit;
    m_foreignFacultativeWords = new QLineEdit;
    m_yourFacultativeWords = new QLineEdit;
    m_foreignKeyboard = new QComboBox;
    m_yourKeyboard = new QComboBox;
    m_autoSelect = new QCheckBox(text(u"autoSwitchKeyboard"_s));
    for (QLineEdit *field : {m_foreignFacultativeWords, m_yourFacultativeWords})
        field->setPlaceholderText(u"le, la, les"_s);

    auto *fields = new QGridLayout;
    fields->setHorizontalSpacing(16);
    fields->setVerticalSpacing(8);
    fields->addWidget(columnTitle(text(u"foreignLanguage"_s)), 0, 1);
    fields->addWidget(columnTitle(text(u"yourLanguage"_s)), 0, 2);
    auto *nameLabel = new QLabel(text(u"languageTableColumnTitle"_s) + u':');
    nameLabel->setBuddy(m_foreignName);
    fields->addWidget(nameLabel, 1, 0, Qt::AlignRight);
    fields->addWidget(m_foreignName, 1, 1);
    fields->addWidget(m_yourName, 1, 2);
    auto *wordsLabel = new QLabel(text(u"prefixesToIgnore"_s) + u':');
    wordsLabel->setBuddy(m_foreignFacultativeWords);
    fields->addWidget(wordsLabel, 2, 0, Qt::AlignRight);
    fields->addWidget(m_foreignFacultativeWords, 2, 1);
    fields->addWidget(m_yourFacultativeWords, 2, 2);
    fields->addWidget(m_autoSelect, 3, 1, 1, 2);
    auto *keyboardLabel = new QLabel(text(u"keyboard"_s) + u':');
    keyboardLabel->setBuddy(m_foreignKeyboard);
    fields->addWidget(keyboardLabel, 4, 0, Qt::AlignRight);
    fields->addWidget(m_foreignKeyboard, 4, 1);
    fields->addWidget(m_yourKeyboard, 4, 2);
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(2, 1);

    auto *info = new QLabel(text(u"keyboardInfo"_s));
    info->setWordWrap(true);
    lexi::TextShareKeeper::keep(*info, lexi::TextShareKeeper::secondaryTextShare);

    auto *buttons = new QDialogButtonBox;
    m_cancel = buttons->addButton(text(u"cancel"_s), QDialogButtonBox::RejectRole);
    m_confirm = buttons->addButton(text(u"add"_s), QDialogButtonBox::AcceptRole);
    // Confirming saves first; the sheet closes once that is done.
    disconnect(buttons, &QDialogButtonBox::accepted, nullptr, nullptr);
    connect(m_confirm, &QPushButton::clicked, this, &QLXLanguageSheet::confirmed);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_autoSelect, &QCheckBox::toggled, this, &QLXLanguageSheet::editSetAutoInputSourceEnabled);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 18, 20, 16);
    layout->setSpacing(12);
    layout->addWidget(m_title);
    layout->addLayout(fields);
    layout->addWidget(info);
    layout->addSpacing(4);
    layout->addWidget(buttons);
    setMinimumWidth(560);

    // Return confirms, Escape cancels; set once the buttons belong to the sheet, which a default
    // button must for the sheet to press it.
    m_confirm->setDefault(true);
    const QList<QWidget *> tabOrder{m_foreignName, m_yourName, m_foreignFacultativeWords, m_yourFacultativeWords,
                                    m_autoSelect, m_foreignKeyboard, m_yourKeyboard, m_cancel, m_confirm};
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

void QLXLanguageSheet::setContent(const lexi::LanguageSheetContent &content)
{
    m_content = content;
    m_title->setText(text(content.isAdding ? u"addLanguageTitle"_s : u"editLanguageTitle"_s));
    setWindowTitle(m_title->text());
    m_foreignName->setText(content.foreignName);
    m_yourName->setText(content.yourName);
    m_foreignFacultativeWords->setText(content.foreignFacultativeWords.join(u", "_s));
    m_yourFacultativeWords->setText(content.yourFacultativeWords.join(u", "_s));
    fillKeyboards(m_foreignKeyboard, content.foreignKeyboard);
    fillKeyboards(m_yourKeyboard, content.yourKeyboard);
    m_autoSelect->setChecked(content.isAutoSelectInputSource);
    editSetAutoInputSourceEnabled();
    m_confirm->setText(text(content.isAdding ? u"add"_s : u"edit"_s));
    setBusy(false);
    m_foreignName->setFocus();
    m_foreignName->selectAll();
}

void QLXLanguageSheet::fillKeyboards(QComboBox *popUp, const lexi::KeyboardChoice &choice)
{
    popUp->clear();
    for (const lexi::InputSource &source : m_content.sources)
        popUp->addItem(source.localizedName);
    if (choice.unlistedSourceId)
        popUp->addItem(text(u"unchangedKeyboard"_s));
    popUp->setCurrentIndex(int(choice.selected));
}

lexi::LanguageSheetContent QLXLanguageSheet::content() const
{
    lexi::LanguageSheetContent content = m_content;
    content.foreignName = m_foreignName->text();
    content.yourName = m_yourName->text();
    content.foreignFacultativeWords = entriesOf(m_foreignFacultativeWords);
    content.yourFacultativeWords = entriesOf(m_yourFacultativeWords);
    content.foreignKeyboard.selected = std::max(m_foreignKeyboard->currentIndex(), 0);
    content.yourKeyboard.selected = std::max(m_yourKeyboard->currentIndex(), 0);
    content.isAutoSelectInputSource = m_autoSelect->isChecked();
    return content;
}

void QLXLanguageSheet::setBusy(bool busy)
{
    m_isBusy = busy;
    for (QWidget *control : std::initializer_list<QWidget *>{m_foreignName, m_yourName, m_foreignFacultativeWords,
                                                             m_yourFacultativeWords, m_autoSelect, m_confirm, m_cancel})
        control->setEnabled(!busy);
    editSetAutoInputSourceEnabled();
}

void QLXLanguageSheet::reject()
{
    if (!m_isBusy)
        QDialog::reject();
}

void QLXLanguageSheet::editSetAutoInputSourceEnabled()
{
    const bool enabled = m_autoSelect->isChecked() && m_autoSelect->isEnabled();
    m_yourKeyboard->setEnabled(enabled);
    m_foreignKeyboard->setEnabled(enabled);
}
