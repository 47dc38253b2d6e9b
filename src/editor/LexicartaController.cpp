#include "LexicartaController.h"

#include "QLXTokenCloud.h"
#include "VocabularySyncStatus.h"
#include "WordTableModel.h"

#include "logging/QLXLogMacros.h"
#include "model/Lexicarta.h"
#include "model/VocabularyKeeper.h"
#include "platform/files/StringTables.h"
#include "platform/ports/AlertPresenter.h"
#include "platform/values/Format.h"

#include <QButtonGroup>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableView>

#include <cmath>

using namespace Qt::StringLiterals;
namespace Texts = lexi::VocabularyListTexts;

// The controller's list: the vocabulary it holds, which of its words the table shows (level,
// synonyms, search, tags) and in which order. Building the page and what it shows is in
// LexicartaControllerPage.cpp; selecting, editing, adding and dropping in
// LexicartaControllerEditing.cpp.

namespace {

constexpr int qlxLogLevel = QLXLogLevelInfo;

} // namespace

LexicartaController::LexicartaController(Services services, QWidget *parent)
    : QWidget(parent), m_services(std::move(services))
{
    m_popoverController = new QLXWordPopoverController(m_services.popover, this);
    connect(&keeper(), &lexi::VocabularyKeeper::vocabularyReplaced, this, &LexicartaController::vocabularyWasReplaced);
    buildView();
    localize();
    awake();
}

const std::shared_ptr<Lexicarta> &LexicartaController::vocabulary() const
{
    return m_services.popover.keeper.vocabulary();
}

bool LexicartaController::save(const char *failure)
{
    if (keeper().save())
        return true;
    QLXLogError("%@", QString::fromUtf8(failure));
    return false;
}

bool LexicartaController::recordChange(const char *failure)
{
    if (keeper().recordChange())
        return true;
    QLXLogError("%@", QString::fromUtf8(failure));
    return false;
}

void LexicartaController::showVocabulary()
{
    m_syncStatus = m_services.syncStatus;
    updateEntireView();
    setStatusPage(m_syncStatus && m_syncStatus->isEnabled() ? 1 : 0);
}

lexi::VocabularyHelpTargets LexicartaController::helpTargets() const
{
    lexi::VocabularyHelpTargets targets;
    for (quint64 level = 0; level <= allWordsLevel; ++level)
        targets.levels.append(levelButton(level));
    targets.addWord = addWordButton();
    targets.search = searchField();
    targets.tagFilter = tagFilterControls();
    return targets;
}

void LexicartaController::vocabularyWasReplaced()
{
    // An open popover goes on with the same words in the new vocabulary, or is cancelled; the
    // table must not go on showing words of the vocabulary that was replaced.
    if (m_popoverController->isActive())
        updateEntireView();
    else
        selectMemoryView(std::nullopt);
}

void LexicartaController::recalculate()
{
    lexi::ShownWordsQuery query;
    query.level = m_selectedLevel;
    query.synonyms = m_isSynonymsActive;
    query.searchTerm = m_searchField->text();
    query.tags = m_tokenCloud->visibleSelectedTokenNames();
    query.column = lexi::WordColumn(m_lastColumn);
    m_shown.recalculate(*vocabulary(), query);
}

qsizetype LexicartaController::rowCountBefore(const std::vector<lexi::RowEdit> &edits) const
{
    qsizetype count = m_shown.count();
    for (const lexi::RowEdit &edit : edits) {
        if (edit.kind == lexi::RowEdit::Kind::Inserted)
            --count;
        else if (edit.kind == lexi::RowEdit::Kind::Removed)
            ++count;
    }
    return count;
}

bool LexicartaController::showWords(bool asRowChanges)
{
    m_isChangingSelection = true;
    m_table->clearSelection();
    const std::optional<std::vector<lexi::RowEdit>> edits = m_shown.takeRowEdits();
    const bool followed = edits && rowCountBefore(*edits) == m_model->rows().size();
    if (followed)
        m_model->applyRowEdits(*edits);
    else if (asRowChanges)
        m_model->changeRows(m_shown.wordsInRowOrder());
    else
        m_model->resetRows(m_shown.wordsInRowOrder());
    m_isChangingSelection = false;
    updateStatusText();
    return followed;
}

lexi::VocabularyListTexts::LevelTexts LexicartaController::selectedLevelTexts() const
{
    return Texts::levelTexts(m_selectedLevel, vocabulary() ? vocabulary()->level0Words().size() : 0);
}

void LexicartaController::updateEntireView()
{
    refresh(false);
}

bool LexicartaController::refreshAfterChange()
{
    return refresh(true);
}

bool LexicartaController::refresh(bool asRowChanges)
{
    if (!vocabulary())
        return false;
    m_model->setLanguageNames(vocabulary()->yourLanguageName(), vocabulary()->foreignLanguageName());
    const QStringList tags = vocabulary()->allTags();
    m_tokenCloud->setTokens(QSet<QString>(tags.cbegin(), tags.cend()));
    recalculate();
    const bool followed = showWords(asRowChanges);
    showHelp(Texts::helpPage(quint64(vocabulary()->countAllWords()), quint64(m_shown.count()), m_selectedLevel,
                             !m_searchField->text().isEmpty()));
    return followed;
}


void LexicartaController::switchSynonymsOff()
{
    m_showAllWordsButton->setEnabled(false);
    m_showAllWordsButton->hide();
    m_isSynonymsActive = false;
}

void LexicartaController::selectMemoryView(std::optional<quint64> level)
{
    const bool chosen = chooseMemoryView(level);
    // After a failed save nothing else changes, but the table shows the vocabulary it holds now.
    updateEntireView();
    if (chosen)
        setStatusPage(0);
}

bool LexicartaController::chooseMemoryView(std::optional<quint64> level)
{
    cancelPopover();
    if (!save("VocController > doSync > could not save voc"))
        return false;
    keeper().requestSync();

    if (level)
        levelButton(*level)->setChecked(true);
    if (m_isSynonymsActive)
        switchSynonymsOff();
    const int checked = m_levelGroup->checkedId();
    m_selectedLevel = checked < 0 ? allWordsLevel : quint64(checked);
    setLevelTexts(selectedLevelTexts());
    if (!m_searchField->text().isEmpty())
        m_infoLabel->setText(Texts::searchInfoText(m_searchField->text()));
    return true;
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
        setLevelTexts(Texts::synonymsTexts());
    }
    updateEntireView();
}

void LexicartaController::deleteDuplicates()
{
    if (!vocabulary())
        return;
    enum { cancelButton, deleteButton };
    const int answer = m_services.popover.alerts.runModal(
        {Texts::text(u"reallyDeleteDuplicates"_s), Texts::text(u"reallyDeleteDuplicatesMsg"_s),
         {Texts::text(u"cancel"_s), Texts::text(u"deleteDuplicates"_s)}, cancelButton});
    if (answer != deleteButton)
        return;
    if (!save("VocController > deleteDuplicates > could not save voc"))
        return;
    const qsizetype deleted = vocabulary()->deleteDuplicates();
    if (!recordChange("VocController > deleteDuplicates > could not save voc"))
        return;
    // It tells of what was done: nothing to warn of.
    m_services.popover.alerts.runModal({Texts::duplicatesDeletedText(deleted), QString(),
                                        {lexi::StringTables::text(u"OK"_s)}, 0, lexi::Alert::Style::Informational});
    if (m_isSynonymsActive)
        setDisplaySynonyms();
    updateEntireView();
    keeper().requestSync();
}

void LexicartaController::search()
{
    const QString term = m_searchField->text();
    if (!term.isEmpty())
        m_infoLabel->setText(Texts::searchInfoText(term));
    else
        setLevelTexts(m_isSynonymsActive ? Texts::synonymsTexts() : selectedLevelTexts());
    updateEntireView();
}

void LexicartaController::focusOnSearchField()
{
    m_searchField->setFocus(Qt::ShortcutFocusReason);
    m_searchField->selectAll();
}

void LexicartaController::selectAllTags()
{
    if (!vocabulary())
        return;
    const QStringList tags = vocabulary()->allTags();
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
        if (vocabulary())
            recalculate();
    }
    m_table->horizontalHeader()->setSortIndicator(m_lastColumn, m_shown.sortDescending() ? Qt::DescendingOrder
                                                                                           : Qt::AscendingOrder);
    showWords(false);
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
