#include "QuizletPageFixture.h"

#include "flashcard-service/QuizletKeywordTokens.h"
#include "views/QLXPopover.h"

#include <QLabel>
#include <QProgressBar>
#include <QSpinBox>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using lexi::test::HttpResponse;

namespace {

const QByteArray searchWithoutParameters = "/2.0/search/sets?client_id=QmTrvXapLe&whitespace=1&per_page=100";

const QList<std::pair<QString, QString>> kitchenTerms{{u"spoon"_s, u"Löffel"_s}, {u"fork"_s, u"Gabel"_s},
                                                      {u"knife"_s, u"Messer"_s}};

class QLXQuizletControllerTest : public testing::Test, protected lexi::test::QuizletPageFixture
{
protected:
    // Searches for "kitchen", answered with page 1 of 3 (237 sets).
    void searchKitchen()
    {
        service.server.enqueue({200, {}, lexi::test::searchReply(1, 3, 237, 100)});
        typeSearch(u"kitchen"_s);
        ASSERT_TRUE(waitForResults(results + 1));
    }

    // Chooses the first set, whose details come with `terms`, and waits for them.
    void openFirstSet(const QList<std::pair<QString, QString>> &terms = kitchenTerms)
    {
        service.server.enqueue({200, {}, lexi::test::setReply(1, u"Set 1"_s, terms)});
        clickRow(0);
        ASSERT_TRUE(page->popover()->isVisible());
        ASSERT_TRUE(QTest::qWaitFor([&] { return page->selection().hasDetails(); }));
    }

    QLXQuizletPopupController &popup() { return *page->popupController(); }
};

TEST_F(QLXQuizletControllerTest, AtFirstNothingIsTypedAndNoStatusShows)
{
    EXPECT_TRUE(page->loadingView()->isVisible());
    EXPECT_EQ(page->loadingLabel()->text(), u"Type what you are looking for and press Search."_s);
    EXPECT_FALSE(page->spinner()->isVisible());
    EXPECT_FALSE(page->statusArea()->isVisible());
    EXPECT_EQ(page->keywordsField()->placeholderText(), u"e.g. kitchen"_s);
    EXPECT_EQ(page->resultsTable()->model()->headerData(2, Qt::Horizontal), u"Keywords"_s);
}

TEST_F(QLXQuizletControllerTest, ASearchWithEveryFieldEmptyAsksWithoutParametersAndSaysNothingIsTyped)
{
    service.server.enqueue({200, {}, lexi::test::searchReply(0, 0, 0, 0)});
    QTest::mouseClick(page->searchButton(), Qt::LeftButton);
    EXPECT_EQ(page->loadingLabel()->text(), u"Loading…"_s);
    EXPECT_TRUE(page->spinner()->isVisible());
    EXPECT_EQ(page->spinner()->maximum(), 0);

    ASSERT_TRUE(waitForResults(1));
    EXPECT_EQ(service.targets(), QList<QByteArray>{searchWithoutParameters});
    EXPECT_EQ(page->loadingLabel()->text(), u"Type what you are looking for and press Search."_s);
    EXPECT_FALSE(page->spinner()->isVisible());
    EXPECT_FALSE(page->statusArea()->isVisible());
}

TEST_F(QLXQuizletControllerTest, ResultsFillTheTableAndTheStatusArea)
{
    service.server.enqueue({200, {}, lexi::test::searchReply(1, 3, 237, 100)});
    typeSearch(u"kitchen"_s);
    // While it loads, the loading view sits in the middle of the results.
    const QRect table = page->resultsTable()->geometry();
    EXPECT_NEAR(page->loadingView()->geometry().center().y(), table.center().y(), 1);
    EXPECT_NEAR(page->loadingView()->geometry().center().x(), table.center().x(), 1);

    ASSERT_TRUE(waitForResults(1));
    EXPECT_EQ(service.targets(), QList<QByteArray>{searchWithoutParameters + "&q=kitchen"});
    EXPECT_EQ(page->resultsTable()->model()->rowCount(), 100);
    EXPECT_EQ(page->resultsTable()->model()->index(4, 1).data(), u"author5"_s);
    EXPECT_FALSE(page->loadingView()->isVisible());
    EXPECT_TRUE(page->statusArea()->isVisible());
    EXPECT_EQ(page->foundLabel()->text(), u"Sets 1 to 100 of 237 found"_s);
    EXPECT_EQ(page->totalPagesField()->text(), u"3"_s);
    EXPECT_EQ(page->pageField()->value(), 1);
    EXPECT_EQ(page->pageField()->maximum(), 3);
    EXPECT_EQ(service.server.requests().size(), 1);
}

// One field is both the page number and its stepper: an arrow and a typed number each ask for
// the page the field then shows.
TEST_F(QLXQuizletControllerTest, PagesChangeByTheStepperAndByATypedNumber)
{
    searchKitchen();
    service.server.enqueue({200, {}, lexi::test::searchReply(2, 3, 237, 100, 101)});
    page->pageField()->setFocus();
    QTest::keyClick(page->pageField(), Qt::Key_Up);
    EXPECT_EQ(page->pageField()->value(), 2);
    EXPECT_TRUE(page->loadingView()->isVisible());
    ASSERT_TRUE(waitForResults(2));
    EXPECT_EQ(page->foundLabel()->text(), u"Sets 101 to 200 of 237 found"_s);

    service.server.enqueue({200, {}, lexi::test::searchReply(3, 3, 237, 37, 201)});
    page->pageField()->selectAll();
    QTest::keyClicks(page->pageField(), u"3"_s);
    EXPECT_EQ(service.server.requests().size(), 2);
    QTest::keyClick(page->pageField(), Qt::Key_Return);
    ASSERT_TRUE(waitForResults(3));
    EXPECT_EQ(page->pageField()->value(), 3);
    EXPECT_EQ(page->resultsTable()->model()->rowCount(), 37);
    EXPECT_EQ(page->foundLabel()->text(), u"Sets 201 to 237 of 237 found"_s);
    EXPECT_EQ(service.targets().mid(1), (QList<QByteArray>{searchWithoutParameters + "&q=kitchen&page=2",
                                                           searchWithoutParameters + "&q=kitchen&page=3"}));
}

TEST_F(QLXQuizletControllerTest, AFailedConnectionShowsTheAlertAndNoResults)
{
    searchKitchen();
    HttpResponse dropped;
    dropped.dropConnection = true;
    service.server.setDefaultResponse(dropped);
    typeSearch(u" garden"_s);
    ASSERT_TRUE(waitForResults(2));

    ASSERT_EQ(alerts.alerts.size(), 1);
    EXPECT_EQ(alerts.alerts[0], lexi::Alert(u"Quizlet can't be reached"_s,
                                            u"Check your internet connection and try again."_s, {u"OK"_s}, 0));
    EXPECT_EQ(page->resultsTable()->model()->rowCount(), 0);
    EXPECT_TRUE(page->loadingView()->isVisible());
    EXPECT_EQ(page->loadingLabel()->text(), u"No sets found."_s);
    EXPECT_FALSE(page->spinner()->isVisible());
    EXPECT_FALSE(page->statusArea()->isVisible());
}

TEST_F(QLXQuizletControllerTest, ChoosingASetShowsItsSummaryAtItsTitleThenItsTerms)
{
    searchKitchen();
    HttpResponse details{200, {}, lexi::test::setReply(1, u"Set 1"_s, kitchenTerms)};
    details.delay = 100ms;
    service.server.enqueue(details);
    clickRow(0);

    QLXPopover *popover = page->popover();
    ASSERT_TRUE(popover->isVisible());
    const QTableView *table = page->resultsTable();
    const QRect title = table->visualRect(table->model()->index(0, 0));
    EXPECT_EQ(popover->arrowTip().y(), table->viewport()->mapTo(page.get(), title.center()).y());
    EXPECT_EQ(popup().titleField()->text(), u"Set 1"_s);
    EXPECT_EQ(popup().authorField()->text(), u"author1"_s);
    EXPECT_EQ(popup().keywordsField()->keywords(), (QStringList{u"topic"_s, u"topic1"_s}));
    EXPECT_EQ(popup().foreignLanguageLabel()->text(), u"German"_s);
    EXPECT_EQ(popup().yourLanguageLabel()->text(), u"English"_s);
    EXPECT_FALSE(popup().importButton()->isEnabled());
    EXPECT_EQ(popup().termsTable()->model()->rowCount(), 0);

    ASSERT_TRUE(QTest::qWaitFor([&] { return popup().termsTable()->model()->rowCount() == 3; }));
    EXPECT_EQ(service.targets().last(), QByteArray("/2.0/sets?client_id=QmTrvXapLe&set_ids=1"));
    EXPECT_EQ(popup().keywordsField()->keywords(), (QStringList{u"food"_s, u"home"_s}));
    EXPECT_TRUE(popup().importButton()->isEnabled());
    EXPECT_EQ(popup().importButton()->text(), u"Import"_s);
    const QAbstractItemModel *terms = popup().termsTable()->model();
    EXPECT_EQ(terms->index(0, 0).data(), u"Löffel"_s);
    QTest::mouseClick(popup().directionButton(), Qt::LeftButton);
    EXPECT_EQ(terms->index(0, 0).data(), u"spoon"_s);

    // Return in the results goes to the popover's import button; Escape closes the popover and
    // gives the results the keyboard again.
    ASSERT_TRUE(table->hasFocus());
    QTest::keyClick(page->resultsTable(), Qt::Key_Return);
    EXPECT_TRUE(popup().importButton()->hasFocus());
    QTest::keyClick(popup().importButton(), Qt::Key_Escape);
    EXPECT_FALSE(popover->isVisible());
    EXPECT_TRUE(table->hasFocus());
    EXPECT_EQ(recording.saves, 0);
}

// Tab goes from control to control in the order of the layout, passing over the results in one
// step (the arrows move among the sets); while the keyboard is in the open popover, Tab goes round
// the popover's own controls.
TEST_F(QLXQuizletControllerTest, TheKeyboardGoesFromControlToControlAndRoundTheOpenPopover)
{
    const auto tabbedThrough = [](QWidget *from, int steps, Qt::Key key = Qt::Key_Tab) {
        QList<QWidget *> reached;
        QWidget *focused = from;
        for (int step = 0; step < steps; ++step) {
            QTest::keyClick(focused, key);
            focused = QApplication::focusWidget();
            reached.append(focused);
        }
        return reached;
    };
    EXPECT_TRUE(page->keywordsField()->hasFocus());
    searchKitchen();
    EXPECT_EQ(tabbedThrough(page->keywordsField(), 7),
              (QList<QWidget *>{page->authorField(), page->termField(), page->searchButton(), page->resultsTable(),
                                page->pageField(), page->visitButton(), page->keywordsField()}));

    service.server.enqueue({200, {}, lexi::test::setReply(2, u"Set 2"_s, kitchenTerms)});
    page->resultsTable()->setFocus();
    QTest::keyClick(page->resultsTable(), Qt::Key_Down);
    ASSERT_TRUE(QTest::qWaitFor([&] { return page->selection().hasDetails(); }));
    EXPECT_EQ(popup().titleField()->text(), u"Set 2"_s);
    QTest::keyClick(page->resultsTable(), Qt::Key_Return);
    ASSERT_TRUE(popup().importButton()->hasFocus());
    const QList<QWidget *> round{popup().directionButton(), popup().termsTable(), popup().closeButton(),
                                 popup().importButton()};
    EXPECT_EQ(tabbedThrough(popup().importButton(), 4), round);
    EXPECT_EQ(tabbedThrough(popup().importButton(), 4, Qt::Key_Backtab),
              (QList<QWidget *>{round[2], round[1], round[0], round[3]}));

    // Escape in the results closes the popover as well.
    page->resultsTable()->setFocus();
    QTest::keyClick(page->resultsTable(), Qt::Key_Escape);
    EXPECT_FALSE(page->popover()->isVisible());
    EXPECT_TRUE(page->resultsTable()->hasFocus());
}

TEST_F(QLXQuizletControllerTest, ASetWhoseDetailsCannotBeReadShowsThePlaceholderAndCannotBeImported)
{
    searchKitchen();
    service.server.enqueue({200, {{"Content-Type", "text/html"}}, "<html>Sign in to the hotel network</html>"});
    clickRow(0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return page->selection().hasDetails(); }));
    EXPECT_EQ(popup().titleField()->text(), u"Could not load"_s);
    EXPECT_EQ(popup().authorField()->text(), u"please try again"_s);
    EXPECT_FALSE(popup().importButton()->isEnabled());
    QTest::keyClick(&popup(), Qt::Key_Return);
    EXPECT_EQ(recording.saves, 0);
}

TEST_F(QLXQuizletControllerTest, TheDetailsOfASetChosenBeforeNeverReplaceTheChosenOne)
{
    searchKitchen();
    HttpResponse first{200, {}, lexi::test::setReply(1, u"Set 1"_s, kitchenTerms)};
    first.delay = 150ms;
    HttpResponse second{200, {}, lexi::test::setReply(2, u"Set 2"_s, {{u"cup"_s, u"Tasse"_s}})};
    second.delay = 600ms;
    service.server.enqueue(first);
    service.server.enqueue(second);
    clickRow(0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return service.server.requests().size() == 2; }));
    clickRow(1);

    ASSERT_TRUE(QTest::qWaitFor([&] { return page->selection().hasDetails(); }));
    EXPECT_EQ(popup().titleField()->text(), u"Set 2"_s);
    ASSERT_EQ(popup().termsTable()->model()->rowCount(), 1);
    EXPECT_EQ(popup().termsTable()->model()->index(0, 1).data(), u"cup"_s);
}

TEST_F(QLXQuizletControllerTest, AnImportSaysWhatItAddedAndASecondAddsNothingButStillSaves)
{
    searchKitchen();
    openFirstSet();
    QTest::mouseClick(popup().importButton(), Qt::LeftButton);

    EXPECT_EQ(vocabulary->countAllWords(), 3);
    EXPECT_EQ(popup().importButton()->text(), u"Imported"_s);
    EXPECT_FALSE(popup().importButton()->isEnabled());
    EXPECT_FALSE(popup().termsTable()->isVisible());
    EXPECT_TRUE(popup().importInfo()->isVisible());
    EXPECT_TRUE(popup().importInfo()->text().endsWith(u"Words added: 2. Already in your vocabulary: 1."_s));
    EXPECT_EQ(recording.saves, 1);
    EXPECT_EQ(recording.sync.marks, 1);
    EXPECT_EQ(recording.sync.syncs, 0);

    QTest::mouseClick(popup().closeButton(), Qt::LeftButton);
    EXPECT_FALSE(page->popover()->isVisible());
    clickRow(0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return page->selection().hasDetails(); }));
    ASSERT_TRUE(popup().importButton()->isEnabled());
    QTest::keyClick(&popup(), Qt::Key_Return);
    EXPECT_EQ(vocabulary->countAllWords(), 3);
    EXPECT_TRUE(popup().importInfo()->text().endsWith(u"Words added: 0. Already in your vocabulary: 3."_s));
    EXPECT_EQ(recording.saves, 2);
    EXPECT_EQ(recording.sync.marks, 2);
}

// A synchronisation that reloads the vocabulary while the popover is open: the languages shown
// and the import follow the vocabulary open now.
TEST_F(QLXQuizletControllerTest, AnImportAfterTheVocabularyWasReplacedGoesIntoTheNewOne)
{
    searchKitchen();
    openFirstSet();
    const auto reloaded = germanVocabulary();
    reloaded->setForeignLanguageName(u"Deutsch"_s);
    recording.keeper.setVocabulary(reloaded);
    EXPECT_EQ(popup().foreignLanguageLabel()->text(), u"Deutsch"_s);

    QTest::mouseClick(popup().importButton(), Qt::LeftButton);
    EXPECT_EQ(reloaded->countAllWords(), 3);
    EXPECT_EQ(vocabulary->countAllWords(), 1);
    EXPECT_EQ(recording.lastSaved, reloaded.get());
}

TEST_F(QLXQuizletControllerTest, TextsFromTheServiceShowAsTheirLiteralText)
{
    const QString markup = u"<b>Küche</b> <a href=\"https://example.org\">&amp; more</a>"_s;
    QJsonObject set{{u"id"_s, 1}, {u"title"_s, markup}, {u"created_by"_s, u"<i>teacher</i>"_s},
                    {u"subjects"_s, QJsonArray{u"<u>food</u>"_s}}};
    service.server.enqueue({200, {}, QJsonDocument(QJsonObject{{u"total_results"_s, 1},
                                                               {u"total_pages"_s, 1},
                                                               {u"page"_s, 1},
                                                               {u"sets"_s, QJsonArray{set}}})
                                         .toJson()});
    typeSearch(u"kitchen"_s);
    ASSERT_TRUE(waitForResults(1));
    EXPECT_EQ(page->resultsTable()->model()->index(0, 0).data(), markup);
    set[u"terms"_s] = QJsonArray{QJsonObject{{u"term"_s, u"<b>spoon</b>"_s}, {u"definition"_s, u"<img src=x>"_s}}};
    service.server.enqueue({200, {}, QJsonDocument(QJsonArray{set}).toJson()});
    clickRow(0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return page->selection().hasDetails(); }));

    for (QLabel *field : {popup().titleField(), popup().authorField()}) {
        EXPECT_EQ(field->textFormat(), Qt::PlainText);
        EXPECT_FALSE(field->openExternalLinks());
    }
    EXPECT_EQ(popup().titleField()->text(), markup);
    EXPECT_EQ(popup().authorField()->text(), u"<i>teacher</i>"_s);
    EXPECT_EQ(popup().keywordsField()->keywords(), QStringList{u"<u>food</u>"_s});
    EXPECT_EQ(popup().termsTable()->model()->index(0, 0).data(), u"<img src=x>"_s);
    QTest::mouseClick(popup().importButton(), Qt::LeftButton);
    EXPECT_EQ(popup().importInfo()->textFormat(), Qt::PlainText);
    EXPECT_EQ(vocabulary->allWords().last()->tags(), QStringList{markup});
}

TEST_F(QLXQuizletControllerTest, TheLinkOpensTheServicesWebSite)
{
    QTest::mouseClick(page->visitButton(), Qt::LeftButton);
    lexi::Settings(service.defaults).setValue(lexi::Settings::quizletWebSiteAddress, u"http://127.0.0.1:9/"_s);
    QTest::mouseClick(page->visitButton(), Qt::LeftButton);
    EXPECT_EQ(workspace.openedAddresses, (QList<QUrl>{QUrl(u"https://quizlet.com"_s), QUrl(u"http://127.0.0.1:9/"_s)}));
}

} // namespace
