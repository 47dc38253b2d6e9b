#include "QuizPagesFixture.h"

#include "support/LoopbackHttpServer.h"
#include "support/Screenshots.h"

#include "platform/files/StringTables.h"
#include "quiz/QLXQuizSetupController.h"
#include "quiz/QLXTypingQuizController.h"
#include "views/QLXCardView.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

class QuizSetupTest : public lexi::test::QuizPagesFixture
{
protected:
    QuizSetupTest()
    {
        for (const char *flag : {"hasShownQuizHelpQuestion", "hasShownQuizHelpCorrectAnswer",
                                 "hasShownQuizHelpMisspelledAnswer", "hasShownQuizHelpWrongAnswer"})
            defaults.setBool(QString::fromUtf8(flag), true);
        vocabulary->setForeignLanguageName(u"German"_s);
        vocabulary->setYourLanguageName(u"English"_s);
    }

    QLXQuizSetupController &makeSetup(std::chrono::milliseconds infoMessageDeadline =
                                          QLXQuizSetupController::messageDeadline)
    {
        setup = std::make_unique<QLXQuizSetupController>(
            services, pages,
            QLXQuizSetupController::Links{{&typing, nullptr, nullptr},
                                          [this](const QUrl &url) { openedUrls.append(url); },
                                          network,
                                          infoMessageDeadline});
        setup->awake();
        pages.show();
        return *setup;
    }

    // `count` never-asked words of `level`, each with the given tags.
    void addWords(int count, quint64 level, const QStringList &tags = {})
    {
        for (int index = 0; index < count; ++index)
            addWord(u"w%1-%2"_s.arg(level).arg(vocabulary->countAllWords()), u"f"_s, level, tags);
    }

    // Words of `level` asked just now: not due.
    void addRestingWords(int count, quint64 level)
    {
        for (int index = 0; index < count; ++index)
            addWord(u"r%1"_s.arg(vocabulary->countAllWords()), u"f"_s, level)->setLastAsked(clock.now());
    }

    bool levelsOn(std::initializer_list<int> levels) const
    {
        for (int level = 0; level < 6; ++level) {
            if (setup->levelButton(level).isChecked() != (std::find(levels.begin(), levels.end(), level) != levels.end()))
                return false;
        }
        return true;
    }

    QString error() const { return setup->errorLabel().isVisibleTo(&pages) ? setup->errorLabel().text() : QString(); }

    static QString text(const char *key) { return lexi::StringTables::text(QString::fromUtf8(key), u"Quiz"_s); }

    QNetworkAccessManager network;
    QLXTypingQuizController typing{services, pages};
    std::unique_ptr<QLXQuizSetupController> setup;
    QList<QUrl> openedUrls;
};

TEST_F(QuizSetupTest, ShowsDueCountsAndProposesTheDueWordsUpToThirty)
{
    addWords(40, 0);
    addWords(5, 2, {u"house"_s});
    addRestingWords(3, 4);
    makeSetup().showQuiz();
    EXPECT_EQ(pages.currentPage(), lexi::QuizPages::Setup);
    EXPECT_EQ(setup->countLabel(0).text(), u"40"_s);
    EXPECT_EQ(setup->countLabel(2).text(), u"5"_s);
    EXPECT_EQ(setup->countLabel(4).text(), u"0"_s);
    EXPECT_TRUE(levelsOn({0, 2}));
    EXPECT_EQ(setup->numberField().value(), 30) << "45 due words";
    EXPECT_EQ(setup->tagField().text(), text("allTags"));
    EXPECT_EQ(setup->directionPopup().itemText(0), u"German"_s);
    EXPECT_EQ(setup->directionPopup().itemText(1), u"English"_s);

    setup->levelButton(0).click();
    EXPECT_EQ(setup->numberField().value(), 5);
    setup->tagField().setText(u"garden"_s);
    setup->showQuiz();
    EXPECT_EQ(setup->countLabel(2).text(), u"5"_s) << "the counts ignore the tag filter";
}

TEST_F(QuizSetupTest, ChecksTheChoiceAndStartsNothingOnAFault)
{
    addWords(3, 1);
    makeSetup().showQuiz();
    ASSERT_TRUE(levelsOn({1}));
    EXPECT_TRUE(error().isEmpty());

    setup->levelButton(1).click();
    EXPECT_EQ(error(), text("nothingSelected"));
    EXPECT_FALSE(setup->startButton().isEnabled());

    setup->levelButton(3).click();
    EXPECT_EQ(error(), text("noWordsInList"));
    EXPECT_FALSE(setup->startButton().isEnabled());

    setup->levelButton(1).click();
    setup->numberField().setValue(0);
    EXPECT_EQ(error(), text("zeroEntered"));
    EXPECT_TRUE(setup->startButton().isEnabled());
    setup->startButton().click();
    scheduler.advance(1s);
    EXPECT_EQ(pages.currentPage(), lexi::QuizPages::Setup);
    EXPECT_EQ(error(), text("zeroEntered"));

    vocabulary->setAllWords({});
    setup->showQuiz();
    EXPECT_TRUE(levelsOn({}));
    EXPECT_EQ(error(), text("noWordsOverDue"));
}

TEST_F(QuizSetupTest, TagsOnlyOutsideTheChosenLevelsEndInNoMatchingWords)
{
    addWords(4, 1);
    addWords(2, 3, {u"kitchen"_s});
    addRestingWords(1, 3);
    makeSetup().showQuiz();
    setup->levelButton(3).click();
    ASSERT_TRUE(levelsOn({1}));
    setup->tagField().setText(u"garden"_s);
    setup->numberField().setValue(4);
    EXPECT_EQ(error(), text("noWordsWithTags"));
    EXPECT_TRUE(setup->startButton().isEnabled());

    setup->tagField().setText(u"kitchen"_s);
    setup->startButton().click();
    EXPECT_EQ(error(), text("noMatchingWordsMsg"));
    scheduler.advance(1s);
    EXPECT_EQ(pages.currentPage(), lexi::QuizPages::Setup);
}

TEST_F(QuizSetupTest, StartsTheTypingQuizOnceAfterTheFlipBegan)
{
    addWords(12, 0);
    makeSetup().showQuiz();
    setup->directionPopup().setCurrentIndex(1);
    setup->setAskDirection(1);
    EXPECT_TRUE(defaults.boolForKey(u"askForYourWord"_s));
    EXPECT_FALSE(defaults.boolForKey(u"askForForeignWord"_s));
    setup->numberField().setValue(10);

    QTest::mouseClick(&setup->startButton(), Qt::LeftButton);
    setup->startQuiz();
    EXPECT_TRUE(setup->isQuizRunning());
    scheduler.advance(100ms);
    EXPECT_EQ(pages.currentPage(), lexi::QuizPages::Setup);
    scheduler.advance(100ms);
    EXPECT_EQ(pages.currentPage(), lexi::QuizPages::TypingQuiz);
    EXPECT_EQ(typing.numberOfWordsToAsk(), 10);
    EXPECT_EQ(typing.askIndex(), 0) << "started once";
    EXPECT_FALSE(typing.askForForeignWord());
    EXPECT_TRUE(typing.askForYourWord());
    EXPECT_TRUE(setup->flip().isFlipping());
    EXPECT_FALSE(typing.card().isVisible()) << "the flip shows in its place";

    // The main window's second call after the tab switch leaves the quiz alone.
    setup->showQuiz();
    EXPECT_EQ(pages.currentPage(), lexi::QuizPages::TypingQuiz);
    EXPECT_TRUE(setup->isQuizRunning());

    // Leaving the tab ends the run; coming back shows the set-up page.
    QSignalSpy ended(setup.get(), &QLXQuizSetupController::quizRunEnded);
    pages.hide();
    EXPECT_EQ(ended.count(), 1);
    EXPECT_FALSE(setup->isQuizRunning());
    pages.show();
    setup->showQuiz();
    EXPECT_EQ(pages.currentPage(), lexi::QuizPages::Setup);
}

// A mode that starts the typing quiz's run but shows no card where the set-up page's card was.
class CardlessMode : public lexi::QuizMode
{
public:
    explicit CardlessMode(QLXTypingQuizController &typing) : m_typing(typing) {}
    QLXQuizInterface &quiz() override { return m_typing.quiz(); }
    QWidget *start() override
    {
        m_typing.start();
        return nullptr;
    }
    bool isRunInProgress() const override { return m_typing.isRunInProgress(); }
    void leave() override { m_typing.leave(); }

private:
    QLXTypingQuizController &m_typing;
};

// With no card to turn to, the flip's first half is let go: the next flip plays, and the saves
// held back while the card flips are not held back.
TEST_F(QuizSetupTest, AStartWithNoCardLeavesNoFlipHalfTaken)
{
    addWords(12, 0);
    CardlessMode cardless(typing);
    setup = std::make_unique<QLXQuizSetupController>(
        services, pages, QLXQuizSetupController::Links{{&cardless, nullptr, nullptr}, {}, network});
    setup->awake();
    pages.show();
    setup->showQuiz();
    setup->startQuiz();
    scheduler.advance(1s);
    EXPECT_TRUE(setup->isQuizRunning());
    EXPECT_FALSE(setup->flip().isFlipping());
    EXPECT_FALSE(lexi::dispatch::ForegroundAnimation::isAnyPlaying());
    EXPECT_TRUE(setup->flip().flipFirstHalf(typing.card())) << "the next flip plays";
    setup->flip().cancelFirstHalf();
    setup.reset();
}

TEST_F(QuizSetupTest, ReturnStartsTheQuizAndTheLevelTogglesAreNamed)
{
    addWords(3, 1);
    makeSetup().showQuiz();
    QApplication::setActiveWindow(&pages);
    const char *names[] = {"Unknown words",    "Ultra-short term memory", "Short term memory",
                           "Mid term memory", "Long term memory",        "Native"};
    for (int level = 0; level < 6; ++level) {
        EXPECT_EQ(setup->levelButton(level).accessibleName(), QString::fromUtf8(names[level]));
        EXPECT_EQ(setup->levelButton(level).toolTip(), QString::fromUtf8(names[level]));
    }

    // With a fault, Return starts nothing.
    setup->numberField().setFocus();
    setup->numberField().setValue(0);
    QTest::keyClick(&setup->numberField(), Qt::Key_Return);
    scheduler.advance(1s);
    EXPECT_FALSE(setup->isQuizRunning());

    // Return in a field or on a toggle is the start button's.
    for (QWidget *focus : {static_cast<QWidget *>(&setup->numberField()), static_cast<QWidget *>(&setup->tagField()),
                           static_cast<QWidget *>(&setup->levelButton(1))}) {
        SCOPED_TRACE(focus->metaObject()->className());
        setup->showQuiz();
        focus->setFocus();
        QTest::keyClick(focus, Qt::Key_Return);
        EXPECT_TRUE(setup->isQuizRunning());
        scheduler.advance(QLXQuizSetupController::startDelay);
        EXPECT_EQ(pages.currentPage(), lexi::QuizPages::TypingQuiz);
        scheduler.advance(1s);
    }
}

TEST_F(QuizSetupTest, TheRunEndsAtItsResults)
{
    addWords(2, 0);
    makeSetup().showQuiz();
    QSignalSpy ended(setup.get(), &QLXQuizSetupController::quizRunEnded);
    setup->startQuiz();
    scheduler.advance(1s);
    for (int answer = 0; answer < 2; ++answer) {
        typing.next();
        scheduler.advance(1s);
    }
    EXPECT_TRUE(setup->isQuizRunning());
    typing.showStatistics();
    scheduler.advance(1s);
    EXPECT_EQ(ended.count(), 1);
    EXPECT_FALSE(setup->isQuizRunning());
    typing.newQuizButton().click();
    EXPECT_EQ(pages.currentPage(), lexi::QuizPages::Setup);
}

TEST_F(QuizSetupTest, TwoOrMorePreselectedWordsAreAskedInsteadOfAChoiceByLevel)
{
    addWords(6, 0);
    const auto first = addWord(u"one"_s, u"eins"_s, 1);
    const auto second = addWord(u"three"_s, u"drei"_s, 3);
    makeSetup();

    setup->setPreSelectedWords({first});
    setup->showQuiz();
    EXPECT_TRUE(levelsOn({0, 1, 3})) << "a single word is ignored";
    EXPECT_EQ(setup->numberField().value(), 8);

    setup->setPreSelectedWords({first, second});
    setup->showQuiz();
    EXPECT_TRUE(levelsOn({1, 3}));
    EXPECT_EQ(setup->numberField().value(), 2);
    setup->startQuiz();
    scheduler.advance(1s);
    EXPECT_EQ(QSet<QLXWord *>({typing.wordsToAsk()[0].get(), typing.wordsToAsk()[1].get()}),
              QSet<QLXWord *>({first.get(), second.get()}));
    EXPECT_EQ(typing.numberOfWordsToAsk(), 2);

    // The preselection lasts until the next start.
    pages.hide();
    pages.show();
    setup->showQuiz();
    EXPECT_TRUE(levelsOn({0, 1, 3}));
    EXPECT_EQ(setup->numberField().value(), 8);
}

TEST_F(QuizSetupTest, TheInformationMessageIsFetchedOnceAndShownByItsRules)
{
    lexi::test::LoopbackHttpServer server;
    const qint64 now = qint64(clock.now().secondsSince1970());
    const QByteArray body = uR"({"title":"Lexicarta 2","message":"A new version with flash cards is out.",
        "validFrom":%1,"validTo":"%2","buttonTitle":"Read more","url":"https://example.org/news",
        "alternateButtonTitle":"Later","alternateUrl":"file:///etc/passwd","displayedIn":"direct",
        "uuid":"news-2"})"_s.arg(now - 10).arg(now + 10).toUtf8();
    server.enqueue({200, {{"Content-Type", "application/json"}}, body});
    lexi::Settings(defaults).setValue(lexi::Settings::infoMessageAddress,
                                      server.url().toString() + u"/messages/message.json"_s);
    addWords(14, 0);
    addWords(9, 1, {u"verbs"_s});
    addWords(6, 2, {u"food"_s});
    addWords(3, 4);
    addRestingWords(5, 3);
    QSignalSpy replies(&network, &QNetworkAccessManager::finished);
    makeSetup();
    ASSERT_TRUE(replies.wait(10000));
    QCoreApplication::processEvents();
    ASSERT_TRUE(setup->infoMessage().has_value());
    EXPECT_EQ(server.requests().size(), 1);
    EXPECT_EQ(server.requests().first().target, QByteArray("/messages/message.json"));

    setup->showQuiz();
    EXPECT_TRUE(setup->infoPanel().isVisibleTo(&pages));
    EXPECT_EQ(setup->infoTitle().text(), u"Lexicarta 2"_s);
    EXPECT_TRUE(lexi::test::saveScreenshot(pages, u"quiz-setup"_s));

    setup->infoButton().click();
    setup->infoAlternateButton().click();
    EXPECT_EQ(openedUrls, QList<QUrl>{QUrl(u"https://example.org/news"_s)}) << "only web links open";

    clock.advance(11s);
    setup->showQuiz();
    EXPECT_FALSE(setup->infoPanel().isVisibleTo(&pages)) << "one second after its validity";
    clock.advance(-1s);
    setup->showQuiz();
    EXPECT_TRUE(setup->infoPanel().isVisibleTo(&pages)) << "its last second";

    setup->dontShowThisInfoAgain();
    EXPECT_TRUE(defaults.boolForKey(u"news-2"_s));
    setup->showQuiz();
    EXPECT_FALSE(setup->infoPanel().isVisibleTo(&pages));
    setup->startQuiz();
    EXPECT_EQ(server.requests().size(), 1) << "one fetch per start";
}

// The message's texts come from a server: markup in them is shown as it is, so an image is never
// read from the file system and a link never opens.
TEST_F(QuizSetupTest, TheInformationMessageShowsItsTextsAsTheyAre)
{
    lexi::test::LoopbackHttpServer server;
    const QByteArray body = R"({"title":"<img src='hostile.png'>News","message":"<a href='file:///etc'>see</a>",
        "validFrom":0,"validTo":1e12,"buttonTitle":"Read","url":"https://example.org","alternateButtonTitle":"Later",
        "alternateUrl":"https://example.org","displayedIn":"direct","uuid":"markup"})";
    server.enqueue({200, {}, body});
    lexi::Settings(defaults).setValue(lexi::Settings::infoMessageAddress,
                                      server.url().toString() + u"/messages/message.json"_s);
    addWords(3, 0);
    QSignalSpy replies(&network, &QNetworkAccessManager::finished);
    makeSetup();
    ASSERT_TRUE(replies.wait(10000));
    QCoreApplication::processEvents();
    setup->showQuiz();
    ASSERT_TRUE(setup->infoPanel().isVisibleTo(&pages));

    EXPECT_EQ(setup->infoTitle().text(), u"<img src='hostile.png'>News"_s);
    for (const QLabel *label : setup->infoPanel().findChildren<QLabel *>()) {
        SCOPED_TRACE(label->text().toStdString());
        EXPECT_EQ(label->textFormat(), Qt::PlainText);
        EXPECT_FALSE(label->openExternalLinks());
    }
}

// A server that sends one byte now and then never falls silent: the fetch ends at its deadline
// all the same, with no message.
TEST_F(QuizSetupTest, TheInformationMessageFetchEndsAtItsDeadline)
{
    lexi::test::LoopbackHttpServer server;
    const QByteArray body = R"({"title":"Slow","message":"m","validFrom":0,"validTo":1e12,"buttonTitle":"b",
        "url":"https://example.org","alternateButtonTitle":"a","alternateUrl":"https://example.org",
        "displayedIn":"direct","uuid":"slow"})";
    lexi::test::HttpResponse trickled{200, {}, body};
    trickled.trickle = 50ms;
    server.enqueue(trickled);
    lexi::Settings(defaults).setValue(lexi::Settings::infoMessageAddress,
                                      server.url().toString() + u"/messages/message.json"_s);
    QSignalSpy replies(&network, &QNetworkAccessManager::finished);
    makeSetup(300ms);
    EXPECT_TRUE(replies.wait(5000)) << "the whole body takes " << body.size() * 50 << " ms";
    QCoreApplication::processEvents();
    EXPECT_FALSE(setup->infoMessage().has_value());
}

TEST_F(QuizSetupTest, NoAddressFetchesNothing)
{
    QSignalSpy replies(&network, &QNetworkAccessManager::finished);
    makeSetup().showQuiz();
    QCoreApplication::processEvents();
    EXPECT_EQ(network.findChildren<QNetworkReply *>().size() + setup->findChildren<QNetworkReply *>().size(), 0);
    EXPECT_FALSE(setup->infoMessage().has_value());
    EXPECT_FALSE(setup->infoPanel().isVisibleTo(&pages));
}

TEST_F(QuizSetupTest, FeedbackPanel)
{
    makeSetup().showQuiz();
    setup->showFeedbackPrompt();
    EXPECT_EQ(setup->feedbackPanel().currentIndex(), 1);
    EXPECT_TRUE(defaults.boolForKey(u"userWasUnhappy"_s));
    setup->sendEmail();
    ASSERT_EQ(openedUrls.size(), 1);
    EXPECT_EQ(openedUrls.first().scheme(), u"mailto"_s);
    setup->showRatingPrompt();
    EXPECT_EQ(setup->feedbackPanel().currentIndex(), setup->feedbackPanel().count() - 1);
    setup->rateit();
    EXPECT_EQ(ratingPrompt.ratingPagesOpened, 1);
    EXPECT_TRUE(ratingPrompt.ratedThisVersion);
}

} // namespace
