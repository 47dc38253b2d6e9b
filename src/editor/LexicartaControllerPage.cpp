#include "LexicartaController.h"
#include "QLXTokenCloud.h"
#include "VocabularySyncStatus.h"
#include "WordTableModel.h"

#include "model/Lexicarta.h"
#include "platform/dispatch/Scheduler.h"
#include "views/ArrowKeySelection.h"
#include "views/QLXPopover.h"
#include "views/PaletteColors.h"
#include "views/SvgImage.h"
#include "views/TextShareKeeper.h"

#include <QAction>
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTableView>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
namespace Texts = lexi::VocabularyListTexts;

// The controller's page: its widgets, their texts, and the heading, info, help and status they
// show.
using Texts::HelpPage;

namespace {

// A level's badge (resources/images/editor): as many of five bars filled as the level is high;
// all words fill them grey.
QIcon levelIcon(quint64 level)
{
    const QString name = level >= LexicartaController::allWordsLevel ? u"level_all"_s : u"level%1"_s.arg(level);
    return lexi::svgIcon(u":/images/editor/"_s + name + u".svg"_s, QSize(22, 16));
}

} // namespace

void LexicartaController::buildView()
{
    setObjectName(u"vocabularyList"_s);

    // The levels, the add button and the tag cloud on the left.
    m_levelsLabel = new QLabel;
    m_levelGroup = new QButtonGroup(this);
    m_levelGroup->setExclusive(true);
    auto *left = new QVBoxLayout;
    left->setSpacing(4);
    left->addWidget(m_levelsLabel);
    for (quint64 level = 0; level <= allWordsLevel; ++level) {
        auto *button = new QPushButton;
        button->setCheckable(true);
        button->setFlat(true);
        button->setIcon(levelIcon(level));
        button->setIconSize({22, 16});
        m_levelButtons[level] = button;
        m_levelGroup->addButton(button, int(level));
        if (level == allWordsLevel)
            left->addSpacing(6);
        left->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this, level] { selectMemoryView(level); });
    }
    m_addWordButton = new QPushButton;
    left->addSpacing(10);
    left->addWidget(m_addWordButton);
    left->addSpacing(14);
    m_tagsFilterLabel = new QLabel;
    auto *tagButtons = new QHBoxLayout;
    m_selectAllTagsButton = new QPushButton;
    m_selectNoTagsButton = new QPushButton;
    for (QPushButton *button : {m_selectAllTagsButton, m_selectNoTagsButton}) {
        button->setFlat(true);
        button->setCursor(Qt::PointingHandCursor);
    }
    tagButtons->addWidget(m_tagsFilterLabel);
    tagButtons->addStretch();
    tagButtons->addWidget(m_selectAllTagsButton);
    tagButtons->addWidget(m_selectNoTagsButton);
    left->addLayout(tagButtons);
    m_tokenCloud = new QLXTokenCloud;
    m_tokenCloud->setDelegate(this);
    m_tokenScrollArea = new QScrollArea;
    m_tokenScrollArea->setWidget(m_tokenCloud);
    m_tokenScrollArea->setWidgetResizable(true);
    m_tokenScrollArea->setFrameShape(QFrame::NoFrame);
    m_tokenScrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Tab goes from None straight to the tags, not through the area around them.
    m_tokenScrollArea->setFocusPolicy(Qt::NoFocus);
    left->addWidget(m_tokenScrollArea, 1);
    auto *leftPanel = new QWidget;
    leftPanel->setLayout(left);
    leftPanel->setFixedWidth(230);

    // Heading, info and search above the table; the status line below it.
    m_headingLabel = new QLabel;
    QFont headingFont = m_headingLabel->font();
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.45);
    headingFont.setBold(true);
    m_headingLabel->setFont(headingFont);
    m_infoLabel = new QLabel;
    m_infoLabel->setWordWrap(true);
    m_searchField = new QLineEdit;
    m_searchField->setClearButtonEnabled(true);
    m_searchField->setFixedWidth(220);
    m_searchField->installEventFilter(this);
    auto *headingRow = new QHBoxLayout;
    auto *headingTexts = new QVBoxLayout;
    headingTexts->addWidget(m_headingLabel);
    headingTexts->addWidget(m_infoLabel);
    headingRow->addLayout(headingTexts, 1);
    headingRow->addWidget(m_searchField, 0, Qt::AlignTop);

    m_model = new WordTableModel(m_services.popover.clock, this);
    m_model->setDropHandler([this](int row, const QString &text) { return tableViewAcceptDrop(row, text); });
    m_table = new QTableView;
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setAlternatingRowColors(true);
    m_table->setShowGrid(false);
    m_table->setWordWrap(false);
    // Tab leaves the words for the next control; the arrows move among them.
    m_table->setTabKeyNavigation(false);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(24);
    m_table->horizontalHeader()->setSectionsClickable(true);
    m_table->horizontalHeader()->setSortIndicatorShown(true);
    m_table->horizontalHeader()->setHighlightSections(false);
    m_table->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setColumnWidth(WordTableModel::YourWordColumn, 190);
    m_table->setColumnWidth(WordTableModel::ForeignWordColumn, 190);
    m_table->setColumnWidth(WordTableModel::CommentColumn, 170);
    m_table->setColumnWidth(WordTableModel::TagsColumn, 150);
    m_table->setAcceptDrops(true);
    m_table->setDragDropMode(QAbstractItemView::DropOnly);
    m_table->setDropIndicatorShown(true);
    // Drops between rows are told apart from drops onto a row, and refused.
    m_table->setDragDropOverwriteMode(false);
    m_table->setDefaultDropAction(Qt::CopyAction);
    m_table->installEventFilter(this);
    lexi::selectCurrentRowOnFirstArrow(m_table);
    connect(m_table->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &LexicartaController::tableViewDidClickTableColumn);
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &LexicartaController::tableViewSelectionDidChange);

    m_helpLabel = new QLabel(m_table->viewport());
    // It follows the table's width.
    m_table->viewport()->installEventFilter(this);
    m_helpLabel->setAlignment(Qt::AlignCenter);
    m_helpLabel->setWordWrap(true);
    lexi::TextShareKeeper::keep(*m_helpLabel, lexi::TextShareKeeper::secondaryTextShare);
    m_helpLabel->hide();

    m_statusButton = new QPushButton;
    m_statusButton->setFlat(true);
    m_showAllWordsButton = new QPushButton;
    m_showAllWordsButton->hide();
    auto *statusRow = new QHBoxLayout;
    statusRow->addWidget(m_statusButton, 1);
    statusRow->addWidget(m_showAllWordsButton);

    auto *right = new QVBoxLayout;
    right->addLayout(headingRow);
    right->addWidget(m_table, 1);
    right->addLayout(statusRow);

    auto *page = new QHBoxLayout(this);
    page->addWidget(leftPanel);
    page->addLayout(right, 1);

    m_popover = new QLXPopover(this);
    m_popover->setContentWidget(m_popoverController->view());
    m_popoverController->foreignWordField()->installEventFilter(this);

    // Adding, the synonyms and deleting duplicates are in the main window's menus; finding is the
    // page's own shortcut.
    auto *findAction = new QAction(this);
    findAction->setShortcut(QKeySequence::Find);
    findAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(findAction);

    connect(m_addWordButton, &QPushButton::clicked, this, &LexicartaController::showAddWordPanel);
    connect(m_showAllWordsButton, &QPushButton::clicked, this, &LexicartaController::setDisplaySynonyms);
    connect(findAction, &QAction::triggered, this, &LexicartaController::focusOnSearchField);
    connect(m_statusButton, &QPushButton::clicked, this, &LexicartaController::toggleStatusView);
    connect(m_selectAllTagsButton, &QPushButton::clicked, this, &LexicartaController::selectAllTags);
    connect(m_selectNoTagsButton, &QPushButton::clicked, this, &LexicartaController::deselectAllTags);
    // Each keystroke starts the wait anew, so the last one is always searched for.
    connect(m_searchField, &QLineEdit::textChanged, this, [this] {
        m_searchBlock = m_services.popover.scheduler.after(searchDelay, [this] { search(); });
    });
    connect(m_searchField, &QLineEdit::returnPressed, this, [this] {
        m_searchBlock.cancel();
        search();
    });
    applyPaletteColors();
}

void LexicartaController::localize()
{
    m_addWordButton->setText(Texts::text(u"addWordButtonTitle"_s));
    m_levelButtons[allWordsLevel]->setText(Texts::text(u"allWordsLabel"_s));
    for (quint64 level = 0; level < allWordsLevel; ++level)
        m_levelButtons[level]->setText(Texts::text(Texts::levelTexts(level, 0).headingKey));
    m_levelsLabel->setText(Texts::text(u"levelsLabel"_s));
    m_showAllWordsButton->setText(Texts::text(u"showAllWords"_s));
    m_selectAllTagsButton->setText(Texts::text(u"selectAllTagsButtonTitle"_s));
    m_selectNoTagsButton->setText(Texts::text(u"selectNoneTagsButtonTitle"_s));
    m_tagsFilterLabel->setText(Texts::text(u"tagsFilter"_s));
    m_model->setColumnTitles(Texts::text(u"commentTableColumnTitle"_s), Texts::text(u"tagsTableColumnTitle"_s),
                             Texts::text(u"lastAskedTableColumnTitle"_s));
    m_searchField->setPlaceholderText(Texts::text(u"searchPlaceholder"_s));
}

void LexicartaController::awake()
{
    m_lastColumn = WordTableModel::YourWordColumn;
    m_table->horizontalHeader()->setSortIndicator(m_lastColumn, Qt::AscendingOrder);
    m_statusTexts[0] = Texts::initialStatusText(0, 0);
    setStatusPage(0);
    m_levelButtons[allWordsLevel]->setChecked(true);
    setLevelTexts(Texts::levelTexts(allWordsLevel, 0));
}

void LexicartaController::showHelp(HelpPage page)
{
    m_helpPage = page;
    QPalette palette = m_table->palette();
    // While a search narrows the list, its background takes a faint yellow over the palette's.
    const QColor base = this->palette().color(QPalette::Base);
    palette.setColor(QPalette::Base,
                     page == HelpPage::SearchBackground ? lexi::mixedColor(base, QColor(235, 215, 95), 0.12) : base);
    m_table->setPalette(palette);
    QString help;
    switch (page) {
    case HelpPage::NoWordsAdded:
        help = Texts::text(u"noWordsAdded"_s);
        break;
    case HelpPage::NoWordsInLevel:
        help = u"<b>%1</b><br>%2"_s.arg(Texts::text(u"noWordsInLevel"_s).toHtmlEscaped(),
                                          Texts::text(u"noWordsInLevelSmall"_s).toHtmlEscaped());
        break;
    case HelpPage::NoWordsUnknown:
        help = Texts::text(u"noWordsUnknown"_s);
        break;
    case HelpPage::SearchBackground:
    case HelpPage::None:
        m_helpLabel->hide();
        return;
    }
    m_helpLabel->setText(help);
    placeHelpLabel();
    m_helpLabel->show();
}

void LexicartaController::placeHelpLabel()
{
    // Over the table's upper part, 34 points in from either side, as wide as the table is now.
    const QRect area = m_table->viewport()->rect();
    m_helpLabel->setGeometry(34, 60, std::max(0, area.width() - 68), 120);
}

QList<QWidget *> LexicartaController::tagFilterControls() const
{
    return {m_tagsFilterLabel, m_selectAllTagsButton, m_selectNoTagsButton};
}

void LexicartaController::closeHelp()
{
    showHelp(HelpPage::None);
}

void LexicartaController::applyPaletteColors()
{
    const QPalette palette = this->palette();
    const QColor window = palette.color(QPalette::Window);
    const QString levelStyle =
        u"QPushButton { text-align: left; padding: 5px 8px; border-radius: 5px; }"
        "QPushButton:checked { background: %1; font-weight: bold; }"
        "QPushButton:hover:!checked { background: %2; }"_s.arg(
            lexi::mixedColor(window, palette.color(QPalette::Highlight), 0.25).name(),
            lexi::mixedColor(window, palette.color(QPalette::WindowText), 0.07).name());
    for (QPushButton *button : m_levelButtons)
        button->setStyleSheet(levelStyle);
    for (QPushButton *button : {m_selectAllTagsButton, m_selectNoTagsButton})
        button->setStyleSheet(u"QPushButton { color: palette(link); padding: 0 4px; }"_s);
    m_statusButton->setStyleSheet(
        u"QPushButton { text-align: left; color: %1; padding: 2px 4px; }"_s.arg(
            lexi::textTowardsBackground(palette, 2.0 / 3, QPalette::WindowText, QPalette::Window).name()));
    showHelp(m_helpPage);
}

void LexicartaController::setLevelTexts(const Texts::LevelTexts &texts)
{
    m_headingLabel->setText(Texts::text(texts.headingKey));
    m_infoLabel->setText(Texts::text(texts.infoKey));
    m_infoIsWarning = texts.isWarning;
    // Without the warning's red the label takes its colour from the palette, so that it follows a
    // change of palette (a style sheet's palette colours are fixed when it is applied).
    m_infoLabel->setStyleSheet(texts.isWarning ? u"color: rgb(204, 77, 77);"_s : QString());
}

QString LexicartaController::headingText() const
{
    return m_headingLabel->text();
}

QString LexicartaController::infoText() const
{
    return m_infoLabel->text();
}

void LexicartaController::setStatusPage(int page)
{
    m_statusPage = page;
    m_statusButton->setText(m_statusTexts[page]);
}

QString LexicartaController::statusText() const
{
    return m_statusTexts[0];
}

void LexicartaController::updateStatusText()
{
    if (!vocabulary())
        return;
    Texts::StatusFigures figures;
    figures.isSearching = !m_searchField->text().isEmpty();
    figures.isSynonymsActive = m_isSynonymsActive;
    figures.level = m_selectedLevel;
    figures.shown = quint64(m_shown.count());
    figures.total = quint64(vocabulary()->countAllWords());
    if (m_selectedLevel == 5) {
        figures.native = quint64(vocabulary()->level5Words().size());
        figures.nativeWithoutDontAsk = quint64(vocabulary()->nativeWithoutDontAsk().size());
    }
    figures.selectedRows = quint64(m_table->selectionModel()->selectedRows().size());
    m_statusTexts[0] = Texts::statusText(figures);
    m_statusTexts[1] = Texts::syncStatusText(m_syncStatus ? m_syncStatus->syncStatusForVocabulary(*vocabulary()) : std::nullopt);
    setStatusPage(m_statusPage);
}

void LexicartaController::toggleStatusView()
{
    updateStatusText();
    if (m_syncStatus && m_syncStatus->isEnabled())
        setStatusPage(1 - m_statusPage);
}

void LexicartaController::cloudControllerDidSync()
{
    updateStatusText();
    setStatusPage(1);
}
