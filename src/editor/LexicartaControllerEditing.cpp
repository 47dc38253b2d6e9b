#include "LexicartaController.h"
#include "QLXTokenCloud.h"
#include "TagDrop.h"
#include "WordTableModel.h"

#include "model/Lexicarta.h"
#include "model/VocabularyKeeper.h"
#include "platform/dispatch/Scheduler.h"
#include "platform/ports/Clock.h"
#include "platform/ports/Console.h"
#include "views/QLXPopover.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableView>
#include <cmath>

using namespace Qt::StringLiterals;

// The controller's editing: the selection and the word popover it opens, adding and deleting
// words, and tags dropped onto rows.

qint64 LexicartaController::modificationIDNow() const
{
    return qint64(std::trunc(m_services.popover.clock.now().secondsSince1970()));
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
    stopHoldingKeys();
    m_popover->close();
}

void LexicartaController::showAddWordPanel()
{
    if (!vocabulary())
        return;
    m_tokenCloud->setSelectedTokenNames({});
    m_searchField->clear();
    m_searchBlock.cancel();
    // The level is chosen and the new word added before the table shows the words, once.
    const bool chosen = chooseMemoryView(0);
    auto word = std::make_shared<QLXWord>();
    vocabulary()->addWord(word);
    updateEntireView();
    if (chosen)
        setStatusPage(0);
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
    if (m_popoverController->isInAddingMode() && m_popoverController->isActive()) {
        // The learner chose other words while a new one waited to be filled in: the new entry
        // goes first, so that nothing done in the popover can touch the words chosen now.
        const lexi::WordList chosen = getSelectedWordsArray();
        if (chosen != m_popoverController->selectedWords()) {
            cancelPopover();
            selectWords(chosen);
        }
    }
    updateStatusText();
    showPopoverForSelection();
}

void LexicartaController::selectWords(const lexi::WordList &words)
{
    m_isChangingSelection = true;
    QItemSelection selection;
    for (const std::shared_ptr<QLXWord> &word : words) {
        if (const std::optional<qsizetype> row = m_shown.rowOfWord(word.get())) {
            selection.select(m_model->index(int(*row), 0), m_model->index(int(*row), m_model->columnCount() - 1));
            m_table->selectionModel()->setCurrentIndex(m_model->index(int(*row), WordTableModel::YourWordColumn),
                                                       QItemSelectionModel::NoUpdate);
        }
    }
    m_table->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    m_isChangingSelection = false;
}

void LexicartaController::showPopoverForSelection()
{
    const lexi::WordList words = getSelectedWordsArray();
    if (!vocabulary() || words.isEmpty())
        return;
    m_popoverController->showEditWindowForWords(words, this);
    QModelIndex anchor = m_table->selectionModel()->currentIndex();
    if (!anchor.isValid() || !m_table->selectionModel()->isRowSelected(anchor.row()))
        anchor = m_table->selectionModel()->selectedRows().first();
    const QRect rect = m_table->visualRect(m_model->index(anchor.row(), WordTableModel::YourWordColumn));
    // The keyboard comes back to the table when the popover closes, however it was opened (the
    // add button, a menu item), never to a control where the next key changes something else.
    if (!m_popover->isVisible())
        m_table->setFocus(Qt::OtherFocusReason);
    m_popover->showRelativeToRect(m_table->viewport(), rect);
}

bool LexicartaController::tableViewAcceptDrop(int row, const QString &tag)
{
    const std::shared_ptr<QLXWord> word = m_model->rows().value(row);
    if (!vocabulary() || !word || !lexi::TagDrop::accepts(true, tag))
        return false;
    lexi::Console::writeLine(u"LexicartaController > tableViewAcceptDrop"_s);
    lexi::TagDrop::apply(*word, tag, modificationIDNow());
    recordChange("VocController > removeWord > could not save");
    keeper().requestSync();
    // The row shows its new tag where it stands; the table is not sorted again.
    m_model->wordsChanged({word});
    m_tokenCloud->addTokenWithString(tag.trimmed());
    return true;
}

void LexicartaController::wordPopoverDidDeleteWords(const lexi::WordList &)
{
    closePopover();
    refreshAfterChange();
    keeper().requestSync();
}

void LexicartaController::wordPopoverDidCancelEditWords(const lexi::WordList &)
{
    closePopover();
}

void LexicartaController::wordPopoverDidEditWords(const lexi::WordList &words)
{
    // Rows followed one by one were told of their words' changes already.
    if (!refreshAfterChange())
        m_model->wordsChanged(words);
    closePopover();
    keeper().requestSync();
}

void LexicartaController::wordPopoverDidAddWords(const lexi::WordList &, bool shallAddMore)
{
    refreshAfterChange();
    closePopover();
    if (!shallAddMore)
        keeper().requestSync();
    else
        holdKeysForNextWord();
}

void LexicartaController::holdKeysForNextWord()
{
    m_isHoldingKeysForNextWord = true;
    m_addMoreBlock = m_services.popover.scheduler.after(addMoreDelay, [this] {
        // Opening the panel closes what was open, which lets go of held keys: they are kept aside.
        std::vector<std::unique_ptr<QKeyEvent>> keys = std::move(m_keysForNextWord);
        showAddWordPanel();
        stopHoldingKeys();
        if (m_popoverController->isInAddingMode()) {
            m_isHoldingKeysForNextWord = true;
            m_keysForNextWord = std::move(keys);
        }
    });
}

void LexicartaController::stopHoldingKeys()
{
    m_isHoldingKeysForNextWord = false;
    m_keysForNextWord.clear();
}

void LexicartaController::deliverHeldKeys()
{
    std::vector<std::unique_ptr<QKeyEvent>> keys = std::move(m_keysForNextWord);
    stopHoldingKeys();
    for (auto key = keys.begin(); key != keys.end(); ++key) {
        // A held Return may add this word with more to come: the rest waits for the next one.
        if (m_isHoldingKeysForNextWord) {
            std::move(key, keys.end(), std::back_inserter(m_keysForNextWord));
            return;
        }
        QWidget *target = QApplication::focusWidget();
        if (!target || !m_popover->isAncestorOf(target))
            return;
        QCoreApplication::sendEvent(target, key->get());
    }
}

void LexicartaController::wordPopoverDidCancelAddingWords(const lexi::WordList &words)
{
    if (vocabulary())
        vocabulary()->removeWords(words);
    refreshAfterChange();
    closePopover();
    keeper().requestSync();
}

void LexicartaController::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange)
        applyPaletteColors();
    QWidget::changeEvent(event);
}

bool LexicartaController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_table->viewport() && event->type() == QEvent::Resize)
        placeHelpLabel();
    if (m_isHoldingKeysForNextWord && watched == m_table
        && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        if (event->type() == QEvent::KeyPress)
            m_keysForNextWord.emplace_back(static_cast<QKeyEvent *>(event->clone()));
        return true;
    }
    if (m_isHoldingKeysForNextWord && watched == m_popoverController->foreignWordField()
        && event->type() == QEvent::FocusIn && m_popoverController->isInAddingMode())
        deliverHeldKeys();
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
    // Escape clears the search at once; in an empty field it is left to the page.
    if (watched == m_searchField && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape && !m_searchField->text().isEmpty()) {
        m_searchField->clear();
        m_searchBlock.cancel();
        search();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
