#include "QLXQuizletPopupController.h"

#include "QuizletKeywordTokens.h"
#include "QuizletTexts.h"

#include "model/Lexicarta.h"
#include "model/VocabularyKeeper.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr int popoverWidth = 460;
constexpr int termsHeight = 260;

// A field for a text of the set: never rich text or a link, whatever the service sent.
QLabel *plainField(QWidget *parent)
{
    auto *field = new QLabel(parent);
    field->setTextFormat(Qt::PlainText);
    field->setTextInteractionFlags(Qt::TextSelectableByMouse);
    field->setWordWrap(true);
    return field;
}

} // namespace

QLXQuizletPopupController::QLXQuizletPopupController(lexi::VocabularyKeeper &keeper, QWidget *parent)
    : QWidget(parent), m_keeper(keeper)
{
    buildView();
    localize();
    connect(&m_keeper, &lexi::VocabularyKeeper::vocabularyReplaced, this,
            &QLXQuizletPopupController::showLanguageNames);
}

void QLXQuizletPopupController::buildView()
{
    setFixedWidth(popoverWidth);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    auto *details = new QGridLayout;
    m_titleLabel = new QLabel(this);
    m_titleField = plainField(this);
    QFont titleFont = m_titleField->font();
    titleFont.setBold(true);
    m_titleField->setFont(titleFont);
    m_authorLabel = new QLabel(this);
    m_authorField = plainField(this);
    m_keywordsLabel = new QLabel(this);
    m_keywordsField = new lexi::QuizletKeywordTokens(this);
    details->addWidget(m_titleLabel, 0, 0, Qt::AlignRight | Qt::AlignTop);
    details->addWidget(m_titleField, 0, 1);
    details->addWidget(m_authorLabel, 1, 0, Qt::AlignRight | Qt::AlignTop);
    details->addWidget(m_authorField, 1, 1);
    details->addWidget(m_keywordsLabel, 2, 0, Qt::AlignRight | Qt::AlignTop);
    details->addWidget(m_keywordsField, 2, 1);
    details->setColumnStretch(1, 1);
    layout->addLayout(details);

    // The languages over their columns, and the terms; an import's outcome takes their place.
    m_termsArea = new QWidget(this);
    auto *termsLayout = new QVBoxLayout(m_termsArea);
    termsLayout->setContentsMargins(0, 0, 0, 0);
    auto *languages = new QHBoxLayout;
    m_foreignLanguageLabel = plainField(m_termsArea);
    m_yourLanguageLabel = plainField(m_termsArea);
    for (QLabel *label : {m_foreignLanguageLabel, m_yourLanguageLabel}) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    m_directionButton = new QToolButton(m_termsArea);
    m_directionButton->setText(u"⇄"_s);
    m_directionButton->setAutoRaise(true);
    connect(m_directionButton, &QToolButton::clicked, this, &QLXQuizletPopupController::changeDirection);
    languages->addWidget(m_foreignLanguageLabel, 1);
    languages->addWidget(m_directionButton);
    languages->addWidget(m_yourLanguageLabel, 1);
    termsLayout->addLayout(languages);

    m_termsTable = new QTableView(m_termsArea);
    m_termsTable->setModel(&m_termsModel);
    m_termsTable->horizontalHeader()->hide();
    m_termsTable->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_termsTable->verticalHeader()->hide();
    m_termsTable->setSelectionMode(QAbstractItemView::NoSelection);
    m_termsTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_termsTable->setAlternatingRowColors(true);
    m_termsTable->setWordWrap(false);
    m_termsTable->setTabKeyNavigation(false);
    m_termsTable->setFixedHeight(termsHeight);
    termsLayout->addWidget(m_termsTable);
    layout->addWidget(m_termsArea);

    m_importInfo = plainField(this);
    m_importInfo->setFixedHeight(m_termsArea->sizeHint().height());
    m_importInfo->setAlignment(Qt::AlignCenter);
    m_importInfo->hide();
    layout->addWidget(m_importInfo);

    auto *buttons = new QHBoxLayout;
    m_closeButton = new QPushButton(this);
    // Return on the focused close button closes; anywhere else in the panel it imports.
    m_closeButton->setAutoDefault(true);
    m_importButton = new QPushButton(this);
    m_importButton->setDefault(true);
    connect(m_closeButton, &QPushButton::clicked, this, &QLXQuizletPopupController::close);
    connect(m_importButton, &QPushButton::clicked, this, &QLXQuizletPopupController::import);
    buttons->addStretch(1);
    buttons->addWidget(m_closeButton);
    buttons->addWidget(m_importButton);
    layout->addLayout(buttons);
    setTabOrder(m_directionButton, m_termsTable);
    setTabOrder(m_termsTable, m_closeButton);
    setTabOrder(m_closeButton, m_importButton);
}

void QLXQuizletPopupController::localize()
{
    using lexi::quizlet::text;
    m_titleLabel->setText(text(u"title"_s));
    m_authorLabel->setText(text(u"author"_s));
    m_keywordsLabel->setText(text(u"keywords"_s));
    m_importButton->setText(text(u"import"_s));
    m_closeButton->setText(text(u"close"_s));
    m_directionButton->setToolTip(text(u"changeDirection"_s));
    m_directionButton->setAccessibleName(text(u"changeDirection"_s));
}

void QLXQuizletPopupController::setQuizletSet(const QLXQuizletSet &set, bool withDetails)
{
    m_state.setQuizletSet(set, withDetails);
    m_importButton->setText(lexi::quizlet::text(u"Import"_s));
    m_importButton->setEnabled(m_state.canImport());
    m_termsArea->show();
    m_importInfo->hide();
    m_titleField->setText(set.title());
    m_authorField->setText(set.createdBy());
    m_keywordsField->setKeywords(set.subjects());
    showLanguageNames();
    showTerms();
}

void QLXQuizletPopupController::showLanguageNames()
{
    const std::shared_ptr<Lexicarta> &vocabulary = m_keeper.vocabulary();
    m_foreignLanguageLabel->setText(vocabulary ? vocabulary->foreignLanguageName() : QString());
    m_yourLanguageLabel->setText(vocabulary ? vocabulary->yourLanguageName() : QString());
}

void QLXQuizletPopupController::showTerms()
{
    m_termsModel.setTerms(m_state.quizletSet().terms(), m_state.invertImportDirection());
}

void QLXQuizletPopupController::changeDirection()
{
    m_state.changeDirection();
    showTerms();
}

void QLXQuizletPopupController::import()
{
    m_state.import(m_keeper);
    const std::optional<lexi::QuizletImportCounts> &counts = m_state.importCounts();
    if (!counts)
        return;
    m_importButton->setText(lexi::quizlet::text(u"Imported"_s));
    m_importButton->setEnabled(false);
    m_termsArea->hide();
    m_importInfo->setText(lexi::quizlet::text(u"importInfo"_s) + u"\n\n"_s + lexi::quizlet::importCountsText(*counts));
    m_importInfo->show();
    m_closeButton->setFocus();
}

void QLXQuizletPopupController::takeFocus()
{
    (m_importButton->isEnabled() ? m_importButton : m_closeButton)->setFocus(Qt::TabFocusReason);
}

void QLXQuizletPopupController::close()
{
    if (m_delegate)
        m_delegate->popoverShallClose();
}

void QLXQuizletPopupController::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && m_importButton->isEnabled()) {
        import();
        return;
    }
    QWidget::keyPressEvent(event);
}
