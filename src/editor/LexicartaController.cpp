#include "LexicartaController.h"

#include "QLXPopover.h"
#include "QLXTokenButton.h"
#include "QLXTokenCloud.h"
#include "TagDrop.h"
#include "VocabularySaving.h"
#include "VocabularySync.h"
#include "WordTableModel.h"

#include "logging/QLXLogMacros.h"
#include "model/Lexicarta.h"
#include "platform/dispatch/Scheduler.h"
#include "platform/files/StringTables.h"
#include "platform/ports/AlertPresenter.h"
#include "platform/ports/Clock.h"
#include "platform/ports/Console.h"
#include "platform/values/Format.h"

#include <QAction>
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSvgRenderer>
#include <QTableView>
#include <QVBoxLayout>

#include <cmath>

using namespace Qt::StringLiterals;
namespace Texts = lexi::VocabularyListTexts;
using Texts::HelpPage;

namespace {

constexpr int qlxLogLevel = QLXLogLevelInfo;

QString text(const QString &key)
{
    return lexi::StringTables::text(key, Texts::table);
}

// A level's badge (resources/images/editor): as many of five bars filled as the level is high;
// all words fill them grey.
QIcon levelIcon(quint64 level)
{
    const QString name = level >= LexicartaController::allWordsLevel ? u"level_all"_s : u"level%1"_s.arg(level);
    QSvgRenderer renderer(u":/images/editor/"_s + name + u".svg"_s);
    QPixmap pixmap(QSize(22, 16) * 2);
    pixmap.setDevicePixelRatio(2);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(0, 0, 22, 16));
    return QIcon(pixmap);
}

} // namespace

LexicartaController::LexicartaController(Services services, QObject *parent)
    : QObject(parent), m_services(std::move(services))
{
    m_popoverController = new QLXWordPopoverController(m_services.popover, this);
    buildView();
    localize();
    awake();
}

LexicartaController::~LexicartaController()
{
    m_searchBlock.cancel();
    m_addMoreBlock.cancel();
    if (m_view && !m_view->parent())
        delete m_view;
}

void LexicartaController::buildView()
{
    m_view = new QWidget;
    m_view->setObjectName(u"vocabularyList"_s);

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
        button->setStyleSheet(u"QPushButton { text-align: left; padding: 5px 8px; border-radius: 5px; }"
                              "QPushButton:checked { background: #d7e6fa; font-weight: bold; }"
                              "QPushButton:hover:!checked { background: #eceff3; }"_s);
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
        button->setStyleSheet(u"QPushButton { color: #2f6fc4; padding: 0 4px; }"_s);
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
    connect(m_table->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &LexicartaController::tableViewDidClickTableColumn);
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &LexicartaController::tableViewSelectionDidChange);

    m_helpLabel = new QLabel(m_table->viewport());
    m_helpLabel->setAlignment(Qt::AlignCenter);
    m_helpLabel->setWordWrap(true);
    m_helpLabel->setForegroundRole(QPalette::PlaceholderText);
    m_helpLabel->hide();

    m_statusButton = new QPushButton;
    m_statusButton->setFlat(true);
    m_statusButton->setStyleSheet(u"QPushButton { text-align: left; color: #555; padding: 2px 4px; }"_s);
    m_showAllWordsButton = new QPushButton;
    m_showAllWordsButton->hide();
    auto *statusRow = new QHBoxLayout;
    statusRow->addWidget(m_statusButton, 1);
    statusRow->addWidget(m_showAllWordsButton);

    auto *right = new QVBoxLayout;
    right->addLayout(headingRow);
    right->addWidget(m_table, 1);
    right->addLayout(statusRow);

    auto *page = new QHBoxLayout(m_view);
    page->addWidget(leftPanel);
    page->addLayout(right, 1);

    m_popover = new QLXPopover(m_view);
    m_popover->setContentWidget(m_popoverController->view());

    // The main window's menu gives adding its shortcut.
    m_addWordAction = new QAction(this);
    m_synonymsAction = new QAction(this);
    m_deleteDuplicatesAction = new QAction(this);
    m_findAction = new QAction(this);
    m_findAction->setShortcut(QKeySequence::Find);
    m_findAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    m_view->addAction(m_findAction);

    connect(m_addWordAction, &QAction::triggered, this, &LexicartaController::showAddWordPanel);
    connect(m_addWordButton, &QPushButton::clicked, this, &LexicartaController::showAddWordPanel);
    connect(m_synonymsAction, &QAction::triggered, this, &LexicartaController::setDisplaySynonyms);
    connect(m_showAllWordsButton, &QPushButton::clicked, this, &LexicartaController::setDisplaySynonyms);
    connect(m_deleteDuplicatesAction, &QAction::triggered, this, &LexicartaController::deleteDuplicates);
    connect(m_findAction, &QAction::triggered, this, &LexicartaController::focusOnSearchField);
    connect(m_statusButton, &QPushButton::clicked, this, &LexicartaController::toggleStatusView);
    connect(m_selectAllTagsButton, &QPushButton::clicked, this, &LexicartaController::selectAllTags);
    connect(m_selectNoTagsButton, &QPushButton::clicked, this, &LexicartaController::deselectAllTags);
    // Each keystroke starts the wait anew, so the last one is always searched for.
    connect(m_searchField, &QLineEdit::textChanged, this, [this] {
        m_searchBlock.cancel();
        m_searchBlock = m_services.popover.scheduler.after(searchDelay, [this] { search(); });
    });
    connect(m_searchField, &QLineEdit::returnPressed, this, [this] {
        m_searchBlock.cancel();
        search();
    });
}

void LexicartaController::localize()
{
    m_addWordAction->setText(text(u"addWordMenuItemTitle"_s));
    m_addWordButton->setText(text(u"addWordButtonTitle"_s));
    m_levelButtons[allWordsLevel]->setText(text(u"allWordsLabel"_s));
    for (quint64 level = 0; level < allWordsLevel; ++level)
        m_levelButtons[level]->setText(text(Texts::levelTexts(level, 0).headingKey));
    m_levelsLabel->setText(text(u"levelsLabel"_s));
    m_showAllWordsButton->setText(text(u"showAllWords"_s));
    m_selectAllTagsButton->setText(text(u"selectAllTagsButtonTitle"_s));
    m_selectNoTagsButton->setText(text(u"selectNoneTagsButtonTitle"_s));
    m_tagsFilterLabel->setText(text(u"tagsFilter"_s));
    m_model->setColumnTitles(text(u"commentTableColumnTitle"_s), text(u"tagsTableColumnTitle"_s),
                             text(u"lastAskedTableColumnTitle"_s));
    m_synonymsAction->setText(text(u"showSynonyms"_s));
    m_deleteDuplicatesAction->setText(text(u"deleteDuplicates"_s));
    m_searchField->setPlaceholderText(text(u"searchPlaceholder"_s));
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

qint64 LexicartaController::now1970() const
{
    return qint64(std::trunc(m_services.popover.clock.now().secondsSince1970()));
}

bool LexicartaController::save(const char *failure)
{
    if (m_vocabulary && m_services.popover.saver.saveVocabulary(*m_vocabulary))
        return true;
    QLXLogError("%@", QString::fromUtf8(failure));
    return false;
}

void LexicartaController::requestSync()
{
    if (m_sync)
        m_sync->syncWithDropbox();
}

void LexicartaController::markNeedsSync()
{
    if (m_sync && m_vocabulary)
        m_sync->markFileAsNeedsSync(*m_vocabulary);
}

void LexicartaController::showVocabulary(lexi::VocabularySync *sync)
{
    m_sync = sync;
    updateEntireView();
    setStatusPage(m_sync && m_sync->isEnabled() ? 1 : 0);
}

void LexicartaController::setVocabulary(const std::shared_ptr<Lexicarta> &vocabulary)
{
    m_vocabulary = vocabulary;
    if (m_popoverController->isActive()) {
        m_popoverController->updateVocabulary(vocabulary);
        // The table must not go on showing words of the vocabulary that was replaced.
        updateEntireView();
    } else {
        selectMemoryView(std::nullopt);
    }
    emit vocabularyChanged();
}

void LexicartaController::reloadVocabularyFromDisk()
{
    if (!m_vocabulary || !m_services.loadFromDisk)
        return;
    if (std::shared_ptr<Lexicarta> loaded = m_services.loadFromDisk(*m_vocabulary))
        setVocabulary(loaded);
}

void LexicartaController::recalculate()
{
    lexi::ShownWordsQuery query;
    query.level = m_selectedLevel;
    query.synonyms = m_isSynonymsActive;
    query.searchTerm = m_searchField->text();
    query.tags = m_tokenCloud->visibleSelectedTokenNames();
    query.column = lexi::WordColumn(m_lastColumn);
    m_shown.recalculate(*m_vocabulary, query);
}

void LexicartaController::showWords(bool asRowChanges)
{
    lexi::WordList rows;
    rows.reserve(m_shown.count());
    for (qsizetype row = 0; row < m_shown.count(); ++row)
        rows.append(m_shown.words().at(m_shown.wordIndexForRow(row)));
    if (asRowChanges)
        m_model->changeRows(rows);
    else
        m_model->resetRows(rows);
}

void LexicartaController::updateEntireView()
{
    refresh(false);
}

void LexicartaController::refreshAfterChange()
{
    refresh(true);
}

void LexicartaController::refresh(bool asRowChanges)
{
    if (!m_vocabulary)
        return;
    m_model->setLanguageNames(m_vocabulary->yourLanguageName(), m_vocabulary->foreignLanguageName());
    const QStringList tags = m_vocabulary->allTags();
    m_tokenCloud->setTokens(QSet<QString>(tags.cbegin(), tags.cend()));
    recalculate();
    m_isChangingSelection = true;
    m_table->clearSelection();
    showWords(asRowChanges);
    m_isChangingSelection = false;
    m_selectedWord = nullptr;
    updateStatusText();
    showHelp(Texts::helpPage(quint64(m_vocabulary->countAllWords()), quint64(m_shown.count()), m_selectedLevel,
                             !m_searchField->text().isEmpty()));
}

void LexicartaController::showHelp(HelpPage page)
{
    m_helpPage = page;
    QPalette palette = m_table->palette();
    palette.setColor(QPalette::Base, page == HelpPage::SearchBackground ? QColor(0xfd, 0xfb, 0xef)
                                                                         : m_view->palette().color(QPalette::Base));
    m_table->setPalette(palette);
    QString help;
    switch (page) {
    case HelpPage::NoWordsAdded:
        help = text(u"noWordsAdded"_s);
        break;
    case HelpPage::NoWordsInLevel:
        help = u"<b>%1</b><br>%2"_s.arg(text(u"noWordsInLevel"_s).toHtmlEscaped(),
                                          text(u"noWordsInLevelSmall"_s).toHtmlEscaped());
        break;
    case HelpPage::NoWordsUnknown:
        help = text(u"noWordsUnknown"_s);
        break;
    case HelpPage::SearchBackground:
    case HelpPage::None:
        m_helpLabel->hide();
        return;
    }
    m_helpLabel->setText(help);
    // Over the table's upper part, 34 points in from either side.
    const QRect area = m_table->viewport()->rect();
    m_helpLabel->setGeometry(34, 60, std::max(0, area.width() - 68), 120);
    m_helpLabel->show();
}

void LexicartaController::closeHelp()
{
    showHelp(HelpPage::None);
}

void LexicartaController::setLevelTexts(const Texts::LevelTexts &texts)
{
    m_headingLabel->setText(text(texts.headingKey));
    m_infoLabel->setText(text(texts.infoKey));
    m_infoIsWarning = texts.isWarning;
    m_infoLabel->setStyleSheet(texts.isWarning ? u"color: rgb(204, 77, 77);"_s : u"color: black;"_s);
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
    if (!m_vocabulary)
        return;
    Texts::StatusFigures figures;
    figures.isSearching = !m_searchField->text().isEmpty();
    figures.isSynonymsActive = m_isSynonymsActive;
    figures.level = m_selectedLevel;
    figures.shown = quint64(m_shown.count());
    figures.total = quint64(m_vocabulary->countAllWords());
    if (m_selectedLevel == 5) {
        figures.native = quint64(m_vocabulary->level5Words().size());
        figures.nativeWithoutDontAsk = quint64(m_vocabulary->nativeWithoutDontAsk().size());
    }
    figures.selectedRows = quint64(m_table->selectionModel()->selectedRows().size());
    m_statusTexts[0] = Texts::statusText(figures);
    m_statusTexts[1] = Texts::syncStatusText(m_sync ? m_sync->syncStatusForVocabulary(*m_vocabulary) : std::nullopt);
    setStatusPage(m_statusPage);
}

void LexicartaController::toggleStatusView()
{
    updateStatusText();
    if (m_sync && m_sync->isEnabled())
        setStatusPage(1 - m_statusPage);
}

void LexicartaController::cloudControllerDidSync()
{
    updateStatusText();
    setStatusPage(1);
}

void LexicartaController::cancelPopover()
{
    if (m_popoverController->isActive() || m_popoverController->isInAddingMode())
        m_popoverController->closeWordPanel(QLXWordPopoverController::Sender::Cancel);
    else
        closePopover();
}

void LexicartaController::closePopover()
{
    m_popover->close();
}

void LexicartaController::switchSynonymsOff()
{
    m_showAllWordsButton->setEnabled(false);
    m_showAllWordsButton->hide();
    m_synonymsAction->setText(text(u"showSynonyms"_s));
    m_isSynonymsActive = false;
}

void LexicartaController::selectMemoryView(std::optional<quint64> level)
{
    cancelPopover();
    if (!save("VocController > doSync > could not save voc")) {
        // Nothing else changes, but the table shows the vocabulary it holds now.
        updateEntireView();
        return;
    }
    requestSync();

    if (level)
        m_levelButtons[std::min<quint64>(*level, allWordsLevel)]->setChecked(true);
    if (m_isSynonymsActive)
        switchSynonymsOff();
    const int checked = m_levelGroup->checkedId();
    m_selectedLevel = checked < 0 ? allWordsLevel : quint64(checked);
    setLevelTexts(Texts::levelTexts(m_selectedLevel, m_vocabulary ? m_vocabulary->level0Words().size() : 0));
    if (!m_searchField->text().isEmpty())
        m_infoLabel->setText(Texts::searchInfoText(m_searchField->text()));

    updateEntireView();
    setStatusPage(0);
}

void LexicartaController::setDisplaySynonyms()
{
    const bool wasOn = m_isSynonymsActive;
    selectMemoryView(allWordsLevel);
    if (wasOn) {
        switchSynonymsOff();
    } else {
        m_isSynonymsActive = true;
        m_showAllWordsButton->setEnabled(true);
        m_showAllWordsButton->show();
        m_selectedLevel = allWordsLevel;
        m_synonymsAction->setText(text(u"showAllWords"_s));
        setLevelTexts(Texts::synonymsTexts());
    }
    updateEntireView();
}

void LexicartaController::deleteDuplicates()
{
    if (!m_vocabulary)
        return;
    const int answer = m_services.popover.alerts.runModal({text(u"reallyDeleteDuplicates"_s),
                                                           text(u"reallyDeleteDuplicatesMsg"_s),
                                                           {text(u"cancel"_s), text(u"deleteDuplicates"_s)}});
    if (answer != 1)
        return;
    if (!save("VocController > deleteDuplicates > could not save voc"))
        return;
    const qsizetype deleted = m_vocabulary->deleteDuplicates();
    if (!save("VocController > deleteDuplicates > could not save voc"))
        return;
    m_services.popover.alerts.runModal(
        {lexi::format(text(u"duplicatesDeleted"_s), deleted), QString(), {lexi::StringTables::text(u"OK"_s)}});
    if (m_isSynonymsActive)
        setDisplaySynonyms();
    updateEntireView();
    requestSync();
    emit vocabularyChanged();
}

void LexicartaController::search()
{
    const QString term = m_searchField->text();
    if (!term.isEmpty())
        m_infoLabel->setText(Texts::searchInfoText(term));
    else
        setLevelTexts(m_isSynonymsActive ? Texts::synonymsTexts()
                                         : Texts::levelTexts(m_selectedLevel,
                                                             m_vocabulary ? m_vocabulary->level0Words().size() : 0));
    updateEntireView();
}

void LexicartaController::focusOnSearchField()
{
    m_searchField->setFocus(Qt::ShortcutFocusReason);
    m_searchField->selectAll();
}

void LexicartaController::selectAllTags()
{
    if (!m_vocabulary)
        return;
    const QStringList tags = m_vocabulary->allTags();
    m_tokenCloud->setSelectedTokenNames(QSet<QString>(tags.cbegin(), tags.cend()));
    updateEntireView();
}

void LexicartaController::deselectAllTags()
{
    m_tokenCloud->setSelectedTokenNames({});
    updateEntireView();
}

void LexicartaController::tableViewDidClickTableColumn(int column)
{
    if (column == m_lastColumn) {
        // A reversed order is only the other row mapping.
        m_shown.setSortDescending(!m_shown.sortDescending());
    } else {
        m_shown.setSortDescending(false);
        m_lastColumn = column;
        if (m_vocabulary)
            recalculate();
    }
    m_table->horizontalHeader()->setSortIndicator(m_lastColumn, m_shown.sortDescending() ? Qt::DescendingOrder
                                                                                           : Qt::AscendingOrder);
    m_isChangingSelection = true;
    m_table->clearSelection();
    showWords(false);
    m_isChangingSelection = false;
    updateStatusText();
}

void LexicartaController::showAddWordPanel()
{
    if (!m_vocabulary)
        return;
    m_tokenCloud->setSelectedTokenNames({});
    m_searchField->clear();
    m_searchBlock.cancel();
    selectMemoryView(0);

    auto word = std::make_shared<QLXWord>();
    m_vocabulary->addWord(word);
    updateEntireView();
    const std::optional<qsizetype> row = m_shown.rowOfWord(word.get());
    if (!row)
        return;
    m_popoverController->setIsInAddingMode(true);
    const QModelIndex index = m_model->index(int(*row), WordTableModel::YourWordColumn);
    m_table->scrollTo(index);
    m_table->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_table->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
}

lexi::WordList LexicartaController::getSelectedWordsArray() const
{
    QList<int> rows;
    for (const QModelIndex &index : m_table->selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    lexi::WordList words;
    for (int row : rows) {
        if (row < m_model->rows().size())
            words.append(m_model->rows().at(row));
    }
    return words;
}

void LexicartaController::deselectWords()
{
    cancelPopover();
    m_table->clearSelection();
}

void LexicartaController::closeAddWordPopover()
{
    if (m_popoverController->isInAddingMode())
        cancelPopover();
}

void LexicartaController::tableViewSelectionDidChange()
{
    if (m_isChangingSelection)
        return;
    const QModelIndexList selected = m_table->selectionModel()->selectedRows();
    if (selected.isEmpty()) {
        m_selectedWord = nullptr;
        updateStatusText();
        return;
    }
    const QModelIndex current = m_table->selectionModel()->currentIndex();
    const int row = current.isValid() && m_table->selectionModel()->isRowSelected(current.row())
                        ? current.row()
                        : selected.first().row();
    m_selectedWord = m_model->rows().value(row);
    updateStatusText();
    showPopoverForSelection();
}

void LexicartaController::showPopoverForSelection()
{
    const lexi::WordList words = getSelectedWordsArray();
    if (!m_vocabulary || words.isEmpty())
        return;
    m_popoverController->showEditWindowForWords(words, m_vocabulary, this);
    QModelIndex anchor = m_table->selectionModel()->currentIndex();
    if (!anchor.isValid() || !m_table->selectionModel()->isRowSelected(anchor.row()))
        anchor = m_table->selectionModel()->selectedRows().first();
    const QRect rect = m_table->visualRect(m_model->index(anchor.row(), WordTableModel::YourWordColumn));
    m_popover->showRelativeToRect(m_table->viewport(), rect);
}

bool LexicartaController::tableViewAcceptDrop(int row, const QString &tag)
{
    const std::shared_ptr<QLXWord> word = m_model->rows().value(row);
    if (!m_vocabulary || !word || !lexi::TagDrop::accepts(true, tag))
        return false;
    lexi::Console::writeLine(u"LexicartaController > tableViewAcceptDrop"_s);
    lexi::TagDrop::apply(*word, tag, now1970());
    m_vocabulary->buildTagsIndex();
    m_vocabulary->setNeedsSync(true);
    markNeedsSync();
    save("VocController > removeWord > could not save");
    requestSync();
    // The row shows its new tag where it stands; the table is not sorted again.
    m_model->wordsChanged({word});
    m_tokenCloud->addTokenWithString(tag.trimmed());
    emit vocabularyChanged();
    return true;
}

void LexicartaController::wordPopoverDidDeleteWords(const lexi::WordList &)
{
    closePopover();
    markNeedsSync();
    refreshAfterChange();
    requestSync();
    emit vocabularyChanged();
}

void LexicartaController::wordPopoverDidCancelEditWords(const lexi::WordList &)
{
    closePopover();
}

void LexicartaController::wordPopoverDidEditWords(const lexi::WordList &words)
{
    refreshAfterChange();
    m_model->wordsChanged(words);
    closePopover();
    markNeedsSync();
    requestSync();
    emit vocabularyChanged();
}

void LexicartaController::wordPopoverDidAddWords(const lexi::WordList &, bool shallAddMore)
{
    refreshAfterChange();
    closePopover();
    markNeedsSync();
    if (!shallAddMore)
        requestSync();
    else
        m_addMoreBlock = m_services.popover.scheduler.after(addMoreDelay, [this] { showAddWordPanel(); });
    emit vocabularyChanged();
}

void LexicartaController::wordPopoverDidCancelAddingWords(const lexi::WordList &words)
{
    if (m_vocabulary) {
        for (const std::shared_ptr<QLXWord> &word : words)
            m_vocabulary->removeWord(word);
    }
    refreshAfterChange();
    closePopover();
    requestSync();
}

void LexicartaController::tokenCloudDidClickToken(QLXTokenCloud *, const QString &, bool)
{
    updateEntireView();
}

void LexicartaController::tokenCloudDidChangePreferredHeightTo(QLXTokenCloud *cloud, double height)
{
    if (cloud->minimumHeight() < int(std::ceil(height)))
        cloud->setMinimumHeight(int(std::ceil(height)));
    m_tokenScrollArea->verticalScrollBar()->setValue(0);
}

bool LexicartaController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_table && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_table->selectionModel()->hasSelection()) {
            showPopoverForSelection();
            return true;
        }
        if (key == Qt::Key_Escape && m_popover->isVisible()) {
            cancelPopover();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
