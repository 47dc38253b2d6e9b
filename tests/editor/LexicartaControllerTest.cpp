#include "EditorTestSupport.h"

#include "support/ConsoleCapture.h"
#include "support/Screenshots.h"

#include "editor/QLXTokenCloud.h"
#include "editor/WordTableModel.h"
#include "views/QLXPopover.h"
#include "views/QLXTokenButton.h"

#include <QApplication>
#include <QPalette>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>

using namespace Qt::StringLiterals;
using lexi::test::EditorFixture;
using Sender = QLXWordPopoverController::Sender;

namespace {

class LexicartaControllerTest : public testing::Test, protected EditorFixture
{
protected:
    LexicartaControllerTest()
    {
        vocabulary = Lexicarta::create(services);
        vocabulary->setYourLanguageName(u"English"_s);
        vocabulary->setForeignLanguageName(u"German"_s);
        vocabulary->setForeignFacultativeWords({u"der"_s, u"die"_s});
        apple = addWord(*vocabulary, u"apple"_s, u"der Apfel"_s, 0, {u"fruit"_s});
        banana = addWord(*vocabulary, u"banana"_s, u"die Banane"_s, 0, {u"fruit"_s, u"yellow"_s});
        cherry = addWord(*vocabulary, u"cherry"_s, u"die Kirsche"_s, 2, {});
        dog = addWord(*vocabulary, u"dog"_s, u"der Hund"_s, 5, {u"animal"_s});
        list = makeList();
        list->view()->resize(1100, 700);
        list->view()->show();
        keeper.setVocabulary(vocabulary);
        list->showVocabulary();
    }

    QStringList rows() const
    {
        QStringList texts;
        for (const auto &word : list->tableModel()->rows())
            texts.append(word->yourWord());
        return texts;
    }

    QPoint rowCenter(int row) const
    {
        return list->tableView()->visualRect(list->tableModel()->index(row, WordTableModel::YourWordColumn)).center();
    }

    void clickRow(int row, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mouseClick(list->tableView()->viewport(), Qt::LeftButton, modifiers, rowCenter(row));
    }

    void clickHeader(int column)
    {
        QHeaderView *header = list->tableView()->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + 10, header->height() / 2));
    }

    // Drags `data` over the table and drops it at `position` of its viewport; answers whether
    // the table took it.
    bool drop(QMimeData &data, QPoint position)
    {
        QWidget *viewport = list->tableView()->viewport();
        QDragEnterEvent enter(position, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &enter);
        QDragMoveEvent move(position, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
        QDropEvent dropped(QPointF(position), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        dropped.setAccepted(false);
        QApplication::sendEvent(viewport, &dropped);
        return dropped.isAccepted();
    }

    std::shared_ptr<Lexicarta> vocabulary;
    std::shared_ptr<QLXWord> apple, banana, cherry, dog;
    std::unique_ptr<LexicartaController> list;
};

TEST_F(LexicartaControllerTest, TypingInTheSearchFieldNarrowsTheTableOnceTypingPauses)
{
    QTest::keyClicks(list->searchField(), u"an"_s);
    EXPECT_EQ(rows().size(), 4) << "not searched before the pause";
    scheduler.advance(std::chrono::milliseconds(100));
    QTest::keyClicks(list->searchField(), u"a"_s);
    scheduler.advance(std::chrono::milliseconds(100));
    EXPECT_EQ(rows().size(), 4);
    scheduler.advance(LexicartaController::searchDelay);
    // The last keystroke counts: "ana", not "an".
    EXPECT_EQ(rows(), QStringList{u"banana"_s});
    EXPECT_EQ(list->infoText(), u"Words matching \"ana\""_s);
    EXPECT_EQ(list->statusText(), u"1 of 4 words match"_s);

    list->searchField()->clear();
    QTest::keyClick(list->searchField(), Qt::Key_Return);
    EXPECT_EQ(rows().size(), 4);
}

// A search that extends the term narrows the rows found before, and one that takes a character
// back finds the rows found then; words deleted from a searched table are gone from both. The rows
// always equal those of a list that searches anew, on a vocabulary large enough to be searched in
// slices.
TEST(LexicartaControllerSearchTest, SearchesNarrowedAndWidenedAroundADeletionShowWhatAFreshSearchShows)
{
    EditorFixture fixture;
    const std::shared_ptr<Lexicarta> vocabulary = fixture.makeVocabulary(12000);
    const std::unique_ptr<LexicartaController> list = fixture.makeList();
    list->view()->resize(1100, 700);
    list->view()->show();
    fixture.keeper.setVocabulary(vocabulary);
    list->showVocabulary();
    const auto type = [&](const QString &keys) {
        if (keys == u"\b"_s)
            QTest::keyClick(list->searchField(), Qt::Key_Backspace);
        else
            QTest::keyClicks(list->searchField(), keys);
        fixture.scheduler.advance(LexicartaController::searchDelay);
    };
    const auto expectRowsOfAFreshSearch = [&](const char *when) {
        const std::unique_ptr<LexicartaController> fresh = fixture.makeList();
        fresh->showVocabulary();
        fresh->searchField()->setText(list->searchField()->text());
        QTest::keyClick(fresh->searchField(), Qt::Key_Return);
        EXPECT_TRUE(list->tableModel()->rows() == fresh->tableModel()->rows()) << when;
        EXPECT_EQ(list->statusText(), fresh->statusText()) << when;
    };

    type(u"e"_s);
    type(u"r"_s);
    expectRowsOfAFreshSearch("narrowed");
    type(u"\b"_s);
    expectRowsOfAFreshSearch("widened again");
    type(u"r"_s);
    const qsizetype before = list->tableModel()->rowCount();
    ASSERT_GT(before, 40);
    // Every tenth row of the searched table goes.
    QItemSelection selection;
    for (int row = 0; row < 40; row += 10)
        selection.select(list->tableModel()->index(row, 0), list->tableModel()->index(row, 0));
    list->tableView()->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    fixture.fakes.alerts.answers = {1};
    list->popoverController()->deleteWord();
    EXPECT_EQ(list->tableModel()->rowCount(), before - 4);
    EXPECT_FALSE(list->tableView()->selectionModel()->hasSelection());
    expectRowsOfAFreshSearch("after the deletion");
    type(u"\b"_s);
    expectRowsOfAFreshSearch("widened after the deletion");
    type(u"\b"_s);
    EXPECT_EQ(list->tableModel()->rowCount(), vocabulary->countAllWords());
}

TEST_F(LexicartaControllerTest, EscapeInTheSearchFieldClearsItAndShowsEveryWordAtOnce)
{
    QTest::keyClicks(list->searchField(), u"ana"_s);
    scheduler.advance(LexicartaController::searchDelay);
    ASSERT_EQ(rows(), QStringList{u"banana"_s});
    QTest::keyClick(list->searchField(), Qt::Key_Escape);
    EXPECT_TRUE(list->searchField()->text().isEmpty());
    EXPECT_EQ(rows().size(), 4) << "without waiting for a pause";
    EXPECT_EQ(list->infoText(), u"All words of this vocabulary, whatever their level."_s);
}

TEST_F(LexicartaControllerTest, TheEmptyListsTextStaysCentredInTheTableWhenTheWindowIsResized)
{
    vocabulary->setAllWords({});
    list->updateEntireView();
    const QLabel *help = list->helpLabel();
    ASSERT_TRUE(help->isVisible());
    for (const QSize size : {QSize(1600, 900), QSize(800, 540), QSize(1100, 700)}) {
        list->view()->resize(size);
        QApplication::processEvents();
        const QRect table = list->tableView()->viewport()->rect();
        EXPECT_NEAR(help->geometry().center().x(), table.center().x(), 1) << size.width();
        EXPECT_EQ(help->width(), table.width() - 68) << size.width();
    }
}

TEST_F(LexicartaControllerTest, LevelButtonsChooseTheWordsHeadingAndInfo)
{
    QTest::mouseClick(list->levelButton(0), Qt::LeftButton);
    EXPECT_EQ(list->selectedLevel(), 0u);
    EXPECT_EQ(rows(), (QStringList{u"apple"_s, u"banana"_s}));
    EXPECT_EQ(list->headingText(), u"Unknown words"_s);
    EXPECT_FALSE(list->isInfoWarning());
    EXPECT_EQ(list->statusText(), u"2 of 4 words"_s);

    QTest::mouseClick(list->levelButton(5), Qt::LeftButton);
    EXPECT_EQ(rows(), QStringList{u"dog"_s});
    EXPECT_EQ(list->statusText(), u"1 native words, 0 not asked again, 4 words in total"_s);

    QTest::mouseClick(list->levelButton(3), Qt::LeftButton);
    EXPECT_TRUE(rows().isEmpty());
    EXPECT_EQ(list->helpPage(), lexi::VocabularyListTexts::HelpPage::NoWordsInLevel);

    for (int i = 0; i < 29; ++i)
        addWord(*vocabulary, u"w%1"_s.arg(i), u"v%1"_s.arg(i));
    QTest::mouseClick(list->levelButton(0), Qt::LeftButton);
    EXPECT_TRUE(list->isInfoWarning()) << "31 unknown words";
    EXPECT_GE(saving.saves, 4) << "each level change saves";
    EXPECT_GE(sync.requests, 4);
}

TEST_F(LexicartaControllerTest, ClickingTheSortingColumnAgainReversesWithoutRebuilding)
{
    clickHeader(WordTableModel::ForeignWordColumn);
    EXPECT_EQ(rows(), (QStringList{u"apple"_s, u"banana"_s, u"dog"_s, u"cherry"_s}));
    EXPECT_FALSE(list->sortDescending());
    const auto *shown = list->currentWordsToShow().constData();

    clickHeader(WordTableModel::ForeignWordColumn);
    EXPECT_TRUE(list->sortDescending());
    EXPECT_EQ(rows(), (QStringList{u"cherry"_s, u"dog"_s, u"banana"_s, u"apple"_s}));
    EXPECT_EQ(list->currentWordsToShow().constData(), shown) << "the shown words were not rebuilt";
    EXPECT_EQ(list->tableView()->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);

    clickHeader(WordTableModel::YourWordColumn);
    EXPECT_FALSE(list->sortDescending());
    EXPECT_EQ(rows(), (QStringList{u"apple"_s, u"banana"_s, u"cherry"_s, u"dog"_s}));
}

TEST_F(LexicartaControllerTest, SelectingARowOpensThePopoverAndReturnReopensIt)
{
    clickRow(1);
    EXPECT_TRUE(list->popover()->isVisible());
    EXPECT_EQ(list->popoverController()->selectedWords(), lexi::WordList{banana});
    EXPECT_EQ(list->popover()->arrowEdge(), QLXPopover::Edge::Left) << "no room left of the first column";
    // The arrow points at the row's first cell, from its right.
    const QRect cell = list->tableView()->visualRect(list->tableModel()->index(1, WordTableModel::YourWordColumn));
    const QPoint tip = list->popover()->arrowTip();
    const QPoint cellInPage = list->tableView()->viewport()->mapTo(list->view(), cell.center());
    EXPECT_NEAR(tip.y(), cellInPage.y(), 1);
    EXPECT_EQ(tip.x(), list->tableView()->viewport()->mapTo(list->view(), cell.topRight()).x() + 1);
    EXPECT_EQ(list->statusText(), u"4 words, 1 selected"_s);

    QTest::keyClick(list->popoverController()->view(), Qt::Key_Escape);
    EXPECT_FALSE(list->popover()->isVisible());
    EXPECT_FALSE(list->popoverController()->isActive());

    QTest::keyClick(list->tableView(), Qt::Key_Return);
    EXPECT_TRUE(list->popover()->isVisible());
    EXPECT_TRUE(list->popoverController()->isActive());

    // Return in a field applies.
    list->popoverController()->commentField()->setText(u"yellow fruit"_s);
    const int saves = saving.saves;
    QTest::keyClick(list->popoverController()->commentField(), Qt::Key_Return);
    EXPECT_EQ(banana->comment(), u"yellow fruit"_s);
    EXPECT_EQ(saving.saves, saves + 1);
    EXPECT_FALSE(list->popover()->isVisible());
    EXPECT_EQ(sync.marks, 1);

    clickRow(0);
    clickRow(2, Qt::ShiftModifier);
    EXPECT_EQ(list->popoverController()->selectedWords(), (lexi::WordList{apple, banana, cherry}));
}

TEST_F(LexicartaControllerTest, ATagDroppedOnARowTagsItsWordWithoutSorting)
{
    clickHeader(WordTableModel::TagsColumn);
    const QStringList before = rows();
    const int saves = saving.saves;
    const struct
    {
        const char *what;
        std::optional<QString> text;
        bool onRow;
        bool taken;
    } cases[] = {
        {"between rows", u"zoo"_s, false, false},
        {"not text", std::nullopt, true, false},
        {"blank text", u"  "_s, true, false},
        {"text onto a row", u"zoo"_s, true, true},
    };
    for (const auto &test : cases) {
        QMimeData data;
        if (test.text)
            data.setText(*test.text);
        else
            data.setData(u"application/octet-stream"_s, "x");
        const QRect row = list->tableView()->visualRect(list->tableModel()->index(0, 0));
        const QPoint position = test.onRow ? row.center() : QPoint(row.center().x(), row.bottom());
        lexi::test::ConsoleCapture console;
        EXPECT_EQ(drop(data, position), test.taken) << test.what;
        EXPECT_EQ(console.lines().contains(u"LexicartaController > tableViewAcceptDrop"_s), test.taken) << test.what;
    }
    const auto &tagged = list->tableModel()->rows().first();
    EXPECT_TRUE(tagged->tags().contains(u"zoo"_s));
    EXPECT_EQ(rows(), before) << "the row stays where it was";
    EXPECT_TRUE(vocabulary->allTags().contains(u"zoo"_s));
    EXPECT_NE(list->tokenCloud()->buttonForToken(u"zoo"_s), nullptr);
    EXPECT_EQ(saving.saves, saves + 1);
    EXPECT_TRUE(vocabulary->needsSync());
}

TEST_F(LexicartaControllerTest, TagsFilterWithAnyOneOfThem)
{
    QTest::mouseClick(list->tokenCloud()->buttonForToken(u"yellow"_s), Qt::LeftButton);
    EXPECT_EQ(rows(), QStringList{u"banana"_s});
    QTest::mouseClick(list->tokenCloud()->buttonForToken(u"animal"_s), Qt::LeftButton);
    EXPECT_EQ(rows(), (QStringList{u"banana"_s, u"dog"_s}));
    list->deselectAllTags();
    EXPECT_EQ(rows().size(), 4);
}

TEST_F(LexicartaControllerTest, TabGoesFromNoneToTheTagsAndSpaceFiltersWithOne)
{
    QWidget *window = list->view()->window();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QWidget *none = list->tagFilterControls().last();
    none->setFocus();
    QTest::keyClick(none, Qt::Key_Tab);
    QLXTokenButton *animal = list->tokenCloud()->buttonForToken(u"animal"_s);
    ASSERT_EQ(window->focusWidget(), animal);
    QTest::keyClick(animal, Qt::Key_Space);
    EXPECT_EQ(rows(), QStringList{u"dog"_s});
}

TEST_F(LexicartaControllerTest, SelectedTagsWithoutAButtonStopFiltering)
{
    QTest::mouseClick(list->tokenCloud()->buttonForToken(u"animal"_s), Qt::LeftButton);
    ASSERT_EQ(rows(), QStringList{u"dog"_s});
    auto other = Lexicarta::create(services);
    addWord(*other, u"one"_s, u"eins"_s, 0, {u"numbers"_s});
    keeper.setVocabulary(other);
    EXPECT_TRUE(list->tokenCloud()->selectedTokenNames().contains(u"animal"_s));
    EXPECT_EQ(rows(), QStringList{u"one"_s});
}

TEST_F(LexicartaControllerTest, AfterACancelledEditANewVocabularyIsShownAndEdited)
{
    clickRow(0);
    list->popoverController()->closeWordPanel(Sender::Cancel);
    EXPECT_FALSE(list->popoverController()->isActive());

    auto fresh = Lexicarta::create(services);
    const auto pear = addWord(*fresh, u"pear"_s, u"die Birne"_s);
    keeper.setVocabulary(fresh);
    EXPECT_EQ(rows(), QStringList{u"pear"_s});
    clickRow(0);
    list->popoverController()->commentField()->setText(u"green"_s);
    list->popoverController()->closeWordPanel(Sender::OkButton);
    EXPECT_EQ(pear->comment(), u"green"_s);
    EXPECT_EQ(saving.lastSaved, fresh.get());
}

TEST_F(LexicartaControllerTest, ANewVocabularyDuringAnEditRefreshesTheTable)
{
    clickRow(0);
    ASSERT_TRUE(list->popoverController()->isActive());
    auto fresh = Lexicarta::create(services);
    const auto freshApple = addWord(*fresh, u"apple"_s, u"der Apfel"_s);
    addWord(*fresh, u"melon"_s, u"die Melone"_s);
    keeper.setVocabulary(fresh);
    EXPECT_EQ(rows(), (QStringList{u"apple"_s, u"melon"_s}));
    EXPECT_EQ(list->popoverController()->selectedWords(), lexi::WordList{freshApple});
}

TEST_F(LexicartaControllerTest, AFailedSaveKeepsTheTableTrue)
{
    saving.fails = true;
    auto fresh = Lexicarta::create(services);
    addWord(*fresh, u"pear"_s, u"die Birne"_s);
    keeper.setVocabulary(fresh);
    EXPECT_EQ(list->vocabulary(), fresh);
    EXPECT_EQ(rows(), QStringList{u"pear"_s}) << "a failed save still shows the vocabulary held";
}

TEST_F(LexicartaControllerTest, AddingSelectsTheNewRowEvenWhenDescending)
{
    clickHeader(WordTableModel::YourWordColumn);
    ASSERT_TRUE(list->sortDescending());
    list->showAddWordPanel();
    ASSERT_EQ(list->popoverController()->selectedWords().size(), 1);
    const auto blank = list->popoverController()->selectedWords().first();
    EXPECT_TRUE(blank->yourWord().isEmpty());
    EXPECT_TRUE(list->popoverController()->isInAddingMode());
    EXPECT_EQ(list->selectedLevel(), 0u);
    const QModelIndexList selected = list->tableView()->selectionModel()->selectedRows();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(list->tableModel()->rows().at(selected.first().row()), blank);

    // Cancelling removes the blank word, without a save.
    const int saves = saving.saves;
    list->popoverController()->closeWordPanel(Sender::Cancel);
    EXPECT_FALSE(vocabulary->allWords().contains(blank));
    EXPECT_EQ(saving.saves, saves);

    // Adding with more to come opens the next empty popover later, without a sync in between.
    list->showAddWordPanel();
    list->popoverController()->foreignWordField()->setText(u"die Birne"_s);
    list->popoverController()->yourWordField()->setText(u"pear"_s);
    const int requests = sync.requests;
    list->popoverController()->closeWordPanel(Sender::OkButton);
    EXPECT_EQ(sync.requests, requests);
    EXPECT_FALSE(list->popoverController()->isInAddingMode());
    scheduler.advance(LexicartaController::addMoreDelay);
    EXPECT_TRUE(list->popoverController()->isInAddingMode());
    EXPECT_TRUE(list->popoverController()->selectedWords().first()->yourWord().isEmpty());
}

// Adding, editing and deleting one word tells the table of the rows that came, changed or went,
// in either direction, and never resets it: the rows are those a refresh would show.
TEST_F(LexicartaControllerTest, AnAddAnEditAndADeletionChangeSingleRowsInEitherDirection)
{
    const struct
    {
        bool descending;
        QStringList added;
        QStringList deleted;
    } cases[] = {
        {false, {u"apple"_s, u"banana"_s, u"pear"_s}, {u"apple"_s, u"pear"_s}},
        {true, {u"pear"_s, u"banana"_s, u"apple"_s}, {u"pear"_s, u"apple"_s}},
    };
    for (const auto &test : cases) {
        if (list->sortDescending() != test.descending)
            clickHeader(WordTableModel::YourWordColumn);
        list->showAddWordPanel();
        QSignalSpy resets(list->tableModel(), &QAbstractItemModel::modelReset);
        QSignalSpy inserted(list->tableModel(), &QAbstractItemModel::rowsInserted);
        QSignalSpy removed(list->tableModel(), &QAbstractItemModel::rowsRemoved);
        QSignalSpy changed(list->tableModel(), &QAbstractItemModel::dataChanged);
        QLXWordPopoverController *popover = list->popoverController();
        popover->foreignWordField()->setText(u"die Birne"_s);
        popover->yourWordField()->setText(u"pear"_s);
        popover->closeWordPanel(Sender::AddButton);
        EXPECT_EQ(rows(), test.added);
        // The blank entry's row went, and the new word's came where it sorts.
        EXPECT_EQ(removed.size(), 1);
        EXPECT_EQ(inserted.size(), 1);

        const int bananaRow = int(test.added.indexOf(u"banana"_s));
        clickRow(bananaRow);
        popover->commentField()->setText(u"ripe"_s);
        popover->closeWordPanel(Sender::OkButton);
        EXPECT_EQ(rows(), test.added);
        EXPECT_EQ(changed.size(), 1);
        EXPECT_EQ(changed.first().at(0).toModelIndex().row(), bananaRow);
        EXPECT_EQ(removed.size(), 1) << "an edited word that keeps its place keeps its row";

        clickRow(bananaRow);
        popover->deleteWord();
        EXPECT_EQ(rows(), test.deleted);
        EXPECT_EQ(removed.size(), 2);
        EXPECT_EQ(removed.last().at(1).toInt(), bananaRow);
        EXPECT_EQ(resets.size(), 0);

        const std::shared_ptr<QLXWord> pear = vocabulary->findWordEqualTo(QLXWord(u"pear"_s, u"die Birne"_s, {}));
        ASSERT_NE(pear, nullptr);
        vocabulary->addWord(banana);
        vocabulary->removeWord(pear);
        list->updateEntireView();
    }
}

// Typing goes on straight after "Add More": what comes before the next popover has its keyboard
// is held for it, and neither searches the table nor touches the words shown.
TEST_F(LexicartaControllerTest, KeysTypedBeforeTheNextAddPopoverReachItsFields)
{
    QWidget *window = list->view()->window();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    list->showAddWordPanel();
    auto *popover = list->popoverController();
    scheduler.advance(QLXWordPopoverController::focusDelay);
    ASSERT_EQ(window->focusWidget(), popover->foreignWordField());
    QTest::keyClicks(window->focusWidget(), u"der Hase"_s);
    QTest::keyClick(window->focusWidget(), Qt::Key_Tab);
    QTest::keyClicks(window->focusWidget(), u"hare"_s);
    QTest::keyClick(window->focusWidget(), Qt::Key_Return);
    ASSERT_FALSE(list->popover()->isVisible());
    const int wordsAfterFirst = vocabulary->countAllWords();
    const lexi::WordList rowsBefore = list->tableModel()->rows();

    // Before the reopen and before its field takes the keyboard: a table search would find "banana",
    // Backspace and Delete correct the text typed, Return then adds the word with more to come.
    const auto typeIntoFocus = [&](const QString &text) { QTest::keyClicks(window->focusWidget(), text); };
    typeIntoFocus(u"bx"_s);
    QTest::keyClick(window->focusWidget(), Qt::Key_Backspace);
    QTest::keyClick(window->focusWidget(), Qt::Key_Delete);
    typeIntoFocus(u"ar"_s);
    EXPECT_EQ(list->tableModel()->rows(), rowsBefore) << "the list is untouched";
    EXPECT_FALSE(list->popover()->isVisible()) << "no word found by a table search is opened";
    scheduler.advance(LexicartaController::addMoreDelay);
    ASSERT_TRUE(popover->isInAddingMode());
    const auto blank = popover->selectedWords().first();
    typeIntoFocus(u"en"_s);
    QTest::keyClick(window->focusWidget(), Qt::Key_Tab);
    typeIntoFocus(u"bear"_s);
    EXPECT_TRUE(popover->foreignWordField()->text().isEmpty()) << "held until the field has the keyboard";
    EXPECT_EQ(list->getSelectedWordsArray(), lexi::WordList{blank}) << "the selection stays on the new word";

    scheduler.advance(QLXWordPopoverController::focusDelay);
    EXPECT_EQ(popover->foreignWordField()->text(), u"baren"_s);
    EXPECT_EQ(popover->yourWordField()->text(), u"bear"_s);
    EXPECT_EQ(window->focusWidget(), popover->yourWordField());
    EXPECT_EQ(vocabulary->countAllWords(), wordsAfterFirst + 1) << "only the new entry came";
    for (const auto &word : rowsBefore)
        EXPECT_TRUE(vocabulary->allWords().contains(word));
}

TEST_F(LexicartaControllerTest, AReturnHeldForTheNextPopoverAddsItsWordAndKeepsTheRestForTheOneAfter)
{
    QWidget *window = list->view()->window();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    list->showAddWordPanel();
    auto *popover = list->popoverController();
    popover->foreignWordField()->setText(u"der Hase"_s);
    popover->yourWordField()->setText(u"hare"_s);
    popover->closeWordPanel(Sender::OkButton);
    // All typed before the next popover opens.
    QTest::keyClicks(window->focusWidget(), u"der Igel"_s);
    QTest::keyClick(window->focusWidget(), Qt::Key_Tab);
    QTest::keyClicks(window->focusWidget(), u"hedgehog"_s);
    QTest::keyClick(window->focusWidget(), Qt::Key_Return);
    QTest::keyClicks(window->focusWidget(), u"die Maus"_s);
    QTest::keyClick(window->focusWidget(), Qt::Key_Tab);
    QTest::keyClicks(window->focusWidget(), u"mouse"_s);

    scheduler.advance(LexicartaController::addMoreDelay);
    scheduler.advance(QLXWordPopoverController::focusDelay);
    const lexi::WordList words = vocabulary->allWords();
    const auto added = std::find_if(words.begin(), words.end(),
                                    [](const auto &word) { return word->yourWord() == u"hedgehog"_s; });
    ASSERT_NE(added, words.end()) << "the held Return added the word";
    EXPECT_EQ((*added)->foreignWord(), u"der Igel"_s);
    EXPECT_FALSE(list->popover()->isVisible());

    scheduler.advance(LexicartaController::addMoreDelay);
    scheduler.advance(QLXWordPopoverController::focusDelay);
    ASSERT_TRUE(popover->isInAddingMode());
    EXPECT_EQ(popover->foreignWordField()->text(), u"die Maus"_s);
    EXPECT_EQ(popover->yourWordField()->text(), u"mouse"_s);
}

TEST_F(LexicartaControllerTest, ChoosingAnotherWordWhileAddingCancelsTheAddFirst)
{
    for (const Sender closedBy : {Sender::Cancel, Sender::OkButton}) {
        SCOPED_TRACE(int(closedBy));
        list->showAddWordPanel();
        auto *popover = list->popoverController();
        const auto blank = popover->selectedWords().first();
        ASSERT_TRUE(blank->yourWord().isEmpty());
        const int chosenRow = int(list->tableModel()->rows().indexOf(banana));
        ASSERT_GE(chosenRow, 0);
        clickRow(chosenRow);

        EXPECT_FALSE(vocabulary->allWords().contains(blank)) << "the empty entry is gone";
        EXPECT_FALSE(popover->isInAddingMode());
        EXPECT_EQ(popover->selectedWords(), lexi::WordList{banana}) << "the popover edits the word chosen";
        EXPECT_EQ(list->getSelectedWordsArray(), lexi::WordList{banana});
        popover->closeWordPanel(closedBy);
        EXPECT_TRUE(vocabulary->allWords().contains(banana));
        EXPECT_EQ(banana->foreignWord(), u"die Banane"_s);
        EXPECT_TRUE(fakes.alerts.alerts.isEmpty()) << "no word is taken for a duplicate";
    }
    EXPECT_EQ(vocabulary->countAllWords(), 4);
}

TEST_F(LexicartaControllerTest, TabInThePopoverFollowsItsRowsFromTheTop)
{
    list->showAddWordPanel();
    auto *popover = list->popoverController();
    QWidget *window = popover->view()->window();
    window->activateWindow();
    scheduler.advance(QLXWordPopoverController::focusDelay);
    ASSERT_EQ(window->focusWidget(), popover->foreignWordField()) << "the foreign word comes first";
    QTest::keyClicks(window->focusWidget(), u"der Hase"_s);
    QTest::keyClick(window->focusWidget(), Qt::Key_Tab);
    QTest::keyClicks(window->focusWidget(), u"hare"_s);
    QTest::keyClick(window->focusWidget(), Qt::Key_Tab);
    QTest::keyClicks(window->focusWidget(), u"masculine"_s);
    EXPECT_EQ(popover->form().yourWord, u"hare"_s);
    EXPECT_EQ(popover->form().comment, u"masculine"_s);
    EXPECT_TRUE(popover->tagsField()->text().isEmpty());
}

TEST_F(LexicartaControllerTest, ClosingThePopoverGivesTheKeyboardBackToTheTable)
{
    QWidget *window = list->view()->window();
    window->activateWindow();
    int row = 0;
    for (const Sender closedBy : {Sender::Cancel, Sender::OkButton}) {
        SCOPED_TRACE(int(closedBy));
        clickRow(++row);
        ASSERT_TRUE(list->popover()->isVisible());
        list->popoverController()->commentField()->setFocus();
        list->popoverController()->closeWordPanel(closedBy);
        EXPECT_FALSE(list->popover()->isVisible());
        EXPECT_EQ(window->focusWidget(), list->tableView());
    }
    // Also after adding, opened by the add button.
    QTest::mouseClick(list->levelButton(0), Qt::LeftButton);
    list->showAddWordPanel();
    list->popoverController()->commentField()->setFocus();
    list->popoverController()->closeWordPanel(Sender::Cancel);
    EXPECT_EQ(window->focusWidget(), list->tableView());
}

TEST_F(LexicartaControllerTest, TabLeavesTheTableForTheNextControlAndBacktabReturns)
{
    QWidget *window = list->view()->window();
    window->activateWindow();
    list->tableView()->setFocus();
    QTest::keyClick(list->tableView(), Qt::Key_Tab);
    QWidget *next = window->focusWidget();
    ASSERT_NE(next, nullptr);
    EXPECT_NE(next, list->tableView());
    EXPECT_TRUE(list->view()->isAncestorOf(next));
    QTest::keyClick(next, Qt::Key_Backtab);
    EXPECT_EQ(window->focusWidget(), list->tableView());
}

// The contrast ratio of two colours as the accessibility guidelines define it.
double contrast(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &colour) {
        const auto linear = [](double channel) {
            return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
        };
        const QColor rgb = colour.toRgb();
        return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST_F(LexicartaControllerTest, TheTablesColoursComeFromThePaletteLightOrDark)
{
    cherry->setDontAskAgain(true);
    list->updateEntireView();
    const QPalette light = QApplication::palette();
    const QPalette dark = lexi::test::darkPalette();
    QList<QColor> greys;
    for (const QPalette &palette : {light, dark}) {
        QApplication::setPalette(palette);
        // Palette changes reach the widgets through the event loop.
        QApplication::processEvents();
        const QColor base = palette.color(QPalette::Base);
        const int cherryRow = int(list->tableModel()->rows().indexOf(cherry));
        const int appleRow = int(list->tableModel()->rows().indexOf(apple));
        const QModelIndex ordinary = list->tableModel()->index(appleRow, WordTableModel::YourWordColumn);
        EXPECT_FALSE(ordinary.data(Qt::ForegroundRole).isValid()) << "ordinary rows take the view's text colour";
        const auto grey = list->tableModel()->index(cherryRow, WordTableModel::YourWordColumn)
                              .data(Qt::ForegroundRole).value<QColor>();
        const auto tags = list->tableModel()->index(appleRow, WordTableModel::TagsColumn)
                              .data(Qt::ForegroundRole).value<QColor>();
        EXPECT_GT(contrast(grey, base), 3.0) << "a word not asked again stays readable";
        EXPECT_LT(contrast(grey, base), contrast(palette.color(QPalette::Text), base));
        EXPECT_GT(contrast(tags, base), 6.0);
        greys.append(grey);
    }
    QApplication::setPalette(light);
    EXPECT_NE(greys.first(), greys.last()) << "the grey follows the palette";
}

// The info text under the heading follows a change of palette while the page is open; the warning
// about too many unknown words stays red in either.
TEST_F(LexicartaControllerTest, TheInfoTextFollowsALiveChangeOfPaletteAndTheWarningStaysRed)
{
    // The colour of the text drawn: the pixel that stands out most from the background.
    const auto textColour = [this] {
        // Palette changes reach the widgets through the event loop.
        QApplication::processEvents();
        const QImage image = list->infoLabel()->grab().toImage();
        const QColor background = list->infoLabel()->palette().color(QPalette::Window);
        QColor most = background;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor pixel = image.pixelColor(x, y);
                if (contrast(pixel, background) > contrast(most, background))
                    most = pixel;
            }
        }
        return most;
    };
    const QPalette light = QApplication::palette();
    const QPalette dark = lexi::test::darkPalette();
    QTest::mouseClick(list->levelButton(0), Qt::LeftButton);
    ASSERT_FALSE(list->isInfoWarning());
    for (const QPalette &palette : {light, dark, light}) {
        QApplication::setPalette(palette);
        EXPECT_GT(contrast(textColour(), palette.color(QPalette::Window)), 7.0)
            << qPrintable(textColour().name()) << " on " << qPrintable(palette.color(QPalette::Window).name());
    }

    for (int i = 0; i < 29; ++i)
        addWord(*vocabulary, u"w%1"_s.arg(i), u"v%1"_s.arg(i));
    QTest::mouseClick(list->levelButton(1), Qt::LeftButton);
    QTest::mouseClick(list->levelButton(0), Qt::LeftButton);
    ASSERT_TRUE(list->isInfoWarning());
    for (const QPalette &palette : {dark, light}) {
        QApplication::setPalette(palette);
        const QColor warning = textColour();
        EXPECT_GT(warning.red(), warning.green() + 60) << qPrintable(warning.name());
        EXPECT_GT(warning.red(), warning.blue() + 60) << qPrintable(warning.name());
    }
    QApplication::setPalette(light);
}

TEST_F(LexicartaControllerTest, PlaceholdersForDifferingValuesAreNeverWrittenIntoTheWords)
{
    apple->setComment(u"red"_s);
    clickRow(0);
    clickRow(2, Qt::ShiftModifier);
    auto *popover = list->popoverController();
    ASSERT_EQ(popover->selectedWords(), (lexi::WordList{apple, banana, cherry}));
    EXPECT_EQ(popover->commentField()->placeholderText(), u"<Various Values>"_s);
    EXPECT_EQ(popover->tagsField()->text(), u"Various Values"_s);
    EXPECT_EQ(popover->dontAskAgainCheckBox()->checkState(), Qt::Unchecked);
    EXPECT_FALSE(popover->dontAskAgainCheckBox()->isVisible()) << "not all words are native";

    QTest::keyClick(popover->commentField(), Qt::Key_Return);
    EXPECT_EQ(apple->comment(), u"red"_s);
    EXPECT_EQ(banana->comment(), QString());
    EXPECT_EQ(apple->tags(), QStringList{u"fruit"_s});
    EXPECT_EQ(banana->tags(), (QStringList{u"fruit"_s, u"yellow"_s}));
    EXPECT_TRUE(cherry->tags().isEmpty());

    // A tag typed beside the placeholder is added to every word.
    clickRow(0);
    clickRow(1, Qt::ShiftModifier);
    popover->tagsField()->setText(popover->tagsField()->text() + u", ripe"_s);
    popover->closeWordPanel(Sender::OkButton);
    EXPECT_EQ(apple->tags(), (QStringList{u"fruit"_s, u"ripe"_s}));
    EXPECT_EQ(banana->tags(), (QStringList{u"fruit"_s, u"yellow"_s, u"ripe"_s}));
}

TEST_F(LexicartaControllerTest, AddingAWordThereAlreadyWarnsAndAddsNothing)
{
    list->showAddWordPanel();
    auto *popover = list->popoverController();
    popover->foreignWordField()->setText(u"der Apfel"_s);
    popover->yourWordField()->setText(u"apple"_s);
    QTest::keyClick(popover->yourWordField(), Qt::Key_Return);
    ASSERT_EQ(fakes.alerts.alerts.size(), 1);
    EXPECT_EQ(fakes.alerts.alerts.first().title, u"This word is already in the vocabulary"_s);
    EXPECT_EQ(fakes.alerts.alerts.first().buttons, QStringList{u"OK"_s});
    EXPECT_EQ(vocabulary->countAllWords(), 4);
    EXPECT_FALSE(popover->isInAddingMode());
    EXPECT_EQ(rows(), (QStringList{u"apple"_s, u"banana"_s}));
    // Completions of tags come from the vocabulary.
    lexi::test::ConsoleCapture console;
    list->showAddWordPanel();
    QTest::keyClicks(popover->tagsField(), u"fr"_s);
    EXPECT_TRUE(console.lines().contains(u"tokenCell completions for: fr"_s));
}

TEST_F(LexicartaControllerTest, DeletingAsksForTwoOrMoreWords)
{
    clickRow(0);
    clickRow(1, Qt::ShiftModifier);
    fakes.alerts.answers = {0};
    list->popoverController()->deleteWord();
    ASSERT_EQ(fakes.alerts.alerts.size(), 1);
    EXPECT_EQ(fakes.alerts.alerts.first().title, u"Delete the selected words?"_s);
    EXPECT_EQ(vocabulary->countAllWords(), 4) << "declined";

    fakes.alerts.answers = {1};
    list->popoverController()->deleteWord();
    EXPECT_EQ(rows(), (QStringList{u"cherry"_s, u"dog"_s}));

    clickRow(0);
    list->popoverController()->deleteWord();
    EXPECT_EQ(fakes.alerts.alerts.size(), 2) << "one word is deleted without a question";
    EXPECT_EQ(rows(), QStringList{u"dog"_s});
}

TEST_F(LexicartaControllerTest, DeletingDuplicatesEndsTheSynonymsView)
{
    addWord(*vocabulary, u"apple"_s, u"der Apfel"_s);
    addWord(*vocabulary, u"hound"_s, u"der Hund"_s);
    list->setDisplaySynonyms();
    EXPECT_TRUE(list->isSynonymsActive());
    EXPECT_EQ(rows(), (QStringList{u"apple"_s, u"apple"_s, u"dog"_s, u"hound"_s}));
    EXPECT_TRUE(list->showAllWordsButton()->isVisible());

    fakes.alerts.answers = {1, 0};
    list->deleteDuplicates();
    ASSERT_EQ(fakes.alerts.alerts.size(), 2);
    EXPECT_EQ(fakes.alerts.alerts.last().title, u"1 duplicate word deleted"_s);
    EXPECT_EQ(fakes.alerts.alerts.last().style, lexi::Alert::Style::Informational) << "it tells of what was done";
    EXPECT_EQ(fakes.alerts.alerts.first().style, lexi::Alert::Style::Warning) << "the question before it warns";
    EXPECT_FALSE(list->isSynonymsActive());
    EXPECT_EQ(rows().size(), 5);
}

TEST_F(LexicartaControllerTest, KeyboardLayoutsFollowTheFieldsAndComeBackOnFocusLoss)
{
    vocabulary->setForeignTextInputSource(lexi::InputSource{u"de"_s, u"German"_s});
    vocabulary->setYourTextInputSource(lexi::InputSource{u"gb"_s, u"English"_s});
    QApplication::setActiveWindow(list->view());
    clickRow(0);
    auto *popover = list->popoverController();
    popover->foreignWordField()->setFocus();
    EXPECT_EQ(inputSources.selected, QStringList{u"de"_s});
    // Leaving the field without changing it restores the layout.
    popover->yourWordField()->setFocus();
    EXPECT_EQ(inputSources.selected, (QStringList{u"de"_s, u"us"_s, u"gb"_s}));
    list->tableView()->setFocus();
    EXPECT_EQ(inputSources.selected.last(), u"us"_s);
    EXPECT_EQ(inputSources.current->identifier, u"us"_s);

    // The comment and the tags type in the layout the learner chose for them.
    settings.setValue(lexi::Settings::switchKeyboardCommentToForeign, true);
    clickRow(1);
    inputSources.selected.clear();
    popover->commentField()->setFocus();
    popover->tagsField()->setFocus();
    list->tableView()->setFocus();
    EXPECT_EQ(inputSources.selected, (QStringList{u"de"_s, u"us"_s, u"gb"_s, u"us"_s}));
}

} // namespace
