#include "support/GeneratedVocabulary.h"
#include "support/NullWorkspace.h"
#include "support/RecordingKeeper.h"

#include "model/QLXStorageManager.h"
#include "platform/files/ApplicationFolders.h"
#include "platform/files/Defaults.h"
#include "quiz/CardFlip.h"
#include "quiz/QLXFlashCardQuizController.h"
#include "quiz/QLXTypingQuizController.h"
#include "quiz/QuizPages.h"
#include "quiz/QuizSetupCheck.h"
#include "views/QLXCardView.h"
#include "views/QLXColorTheme.h"

#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <vector>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

// A clock whose steady time moves only when the benchmark says.
class SteppedClock final : public lexi::Clock
{
public:
    lexi::Date now() const override { return lexi::Date::fromSecondsSinceReferenceDate(790174800.0); }
    Duration monotonicNow() const override { return m_monotonic; }
    void advance(Duration step) { m_monotonic += step; }

private:
    Duration m_monotonic{};
};

// Holds delayed blocks until the benchmark runs those due so far.
class HeldScheduler final : public lexi::dispatch::Scheduler
{
public:
    void runPending()
    {
        std::vector<lexi::dispatch::Block> due;
        due.swap(m_blocks);
        for (lexi::dispatch::Block &block : due)
            block();
    }

protected:
    void start(Duration, lexi::dispatch::Block fire) override { m_blocks.push_back(std::move(fire)); }

private:
    std::vector<lexi::dispatch::Block> m_blocks;
};

class NoRatingPrompt final : public lexi::RatingPrompt
{
public:
    void logEvent(bool) override {}
    void openRatingsPageInAppStore() override {}
    void setRatedThisVersion(bool) override {}
};

// One answer of the typing quiz on a vocabulary of 50,000 words: from Next to the new card,
// judging, recording, the pictures of the card flip and the save handed to the background saver;
// everything the main thread does for it. Argument 0 leaves the save out.
void BM_TypingQuizAnswer(benchmark::State &state)
{
    lexi::bench::BenchmarkServices services;
    const std::shared_ptr<Lexicarta> vocabulary = lexi::bench::generateVocabulary(services.services());
    QTemporaryDir folder;
    lexi::Defaults defaults(folder.filePath(u"Lexicarta.conf"_s));
    lexi::ApplicationFolders folders(folder.path());
    lexi::test::NullWorkspace workspace;
    QLXStorageManager store(folders, services.services(), workspace);
    // Saves go to the storage manager's background saver, as in the program, or, to show the
    // quiz's own share, to nobody.
    const bool saves = state.range(0) != 0;
    lexi::test::RecordingSyncRequests sync;
    lexi::VocabularyKeeper keeper([&](const Lexicarta &saved) { return !saves || store.saveVocabulary(&saved); }, sync);
    keeper.setVocabulary(vocabulary);
    NoRatingPrompt rating;
    SteppedClock clock;
    HeldScheduler scheduler;
    QLXColorTheme theme(defaults);
    lexi::QuizPages pages;
    pages.resize(1200, 800);
    const lexi::QuizServices quizServices{defaults, scheduler, clock, keeper, rating, theme};
    QLXTypingQuizController quiz(quizServices, pages);
    quiz.setVocabulary(vocabulary);
    pages.show();

    const auto startRun = [&] {
        quiz.setNumberOfWordsToAsk(30);
        quiz.createWordsToAsk();
        quiz.startQuiz();
        pages.showPage(lexi::QuizPages::TypingQuiz);
        clock.advance(2s);
        scheduler.runPending();
    };
    startRun();
    for (auto _ : state) {
        quiz.answerField().setText(u"der Baum"_s);
        quiz.next();
        scheduler.runPending();

        state.PauseTiming();
        clock.advance(1s);
        scheduler.runPending();
        if (!quiz.nextWord())
            startRun();
        state.ResumeTiming();
    }
    store.flushSaves();
}
BENCHMARK(BM_TypingQuizAnswer)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// One card of the flash cards on a vocabulary of 50,000 words: its answer revealed, marked right,
// recorded with the save handed to the background saver, and the next card flipped in with the
// pictures of the flip; everything the main thread does for it. Argument 0 leaves the save out.
void BM_FlashCardStep(benchmark::State &state)
{
    lexi::bench::BenchmarkServices services;
    const std::shared_ptr<Lexicarta> vocabulary = lexi::bench::generateVocabulary(services.services());
    QTemporaryDir folder;
    lexi::Defaults defaults(folder.filePath(u"Lexicarta.conf"_s));
    lexi::ApplicationFolders folders(folder.path());
    lexi::test::NullWorkspace workspace;
    QLXStorageManager store(folders, services.services(), workspace);
    const bool saves = state.range(0) != 0;
    lexi::test::RecordingSyncRequests sync;
    lexi::VocabularyKeeper keeper([&](const Lexicarta &saved) { return !saves || store.saveVocabulary(&saved); }, sync);
    keeper.setVocabulary(vocabulary);
    NoRatingPrompt rating;
    SteppedClock clock;
    HeldScheduler scheduler;
    QLXColorTheme theme(defaults);
    lexi::QuizPages pages;
    pages.resize(1200, 800);
    const lexi::QuizServices quizServices{defaults, scheduler, clock, keeper, rating, theme};
    QLXFlashCardQuizController quiz(quizServices, pages);
    quiz.setVocabulary(vocabulary);
    // Auto-play off: the learner turns each card.
    quiz.run().changeFlipTimeout(0);
    pages.show();

    const auto startRun = [&] {
        quiz.setNumberOfWordsToAsk(30);
        quiz.createWordsToAsk();
        quiz.start();
        clock.advance(2s);
        scheduler.runPending();
    };
    startRun();
    for (auto _ : state) {
        quiz.run().next();
        quiz.run().markCorrect();
        quiz.run().next();
        scheduler.runPending();

        state.PauseTiming();
        clock.advance(1s);
        scheduler.runPending();
        if (!quiz.run().currentWord()) {
            clock.advance(1s);
            scheduler.runPending();
            startRun();
        }
        state.ResumeTiming();
    }
    store.flushSaves();
}
BENCHMARK(BM_FlashCardStep)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);



// The six due counts of the set-up page, in one pass over 50,000 words.
void BM_OverdueCounts(benchmark::State &state)
{
    lexi::bench::BenchmarkServices services;
    const std::shared_ptr<Lexicarta> vocabulary = lexi::bench::generateVocabulary(services.services());
    for (auto _ : state)
        benchmark::DoNotOptimize(lexi::overdueCountsPerLevel(*vocabulary));
}
BENCHMARK(BM_OverdueCounts)->Unit(benchmark::kMillisecond);

// One frame of the card flip over a full-HD window: the background, then both pictures turned in
// perspective.
void BM_CardFlipFrame(benchmark::State &state)
{
    SteppedClock clock;
    HeldScheduler scheduler;
    QWidget host;
    host.resize(1920, 1080);
    QLXCardView card(&host);
    card.setGeometry(600, 350, 720, 380);
    card.setIsSplit(true);
    lexi::CardFlip flip(host, scheduler, clock);
    flip.flipFirstHalf(card);
    card.setColorCorrect();
    flip.flipSecondHalf(card);
    QImage frame(1920, 1080, QImage::Format_ARGB32_Premultiplied);
    double progress = 0;
    for (auto _ : state) {
        QPainter painter(&frame);
        painter.fillRect(frame.rect(), QColor(26, 26, 26));
        flip.paintFrame(painter, progress);
        progress = progress >= 1 ? 0 : progress + 1.0 / 47;
    }
}
BENCHMARK(BM_CardFlipFrame)->Unit(benchmark::kMillisecond);

} // namespace
