#include "support/GeneratedVocabulary.h"
#include "support/NullWorkspace.h"
#include "support/RecordingKeeper.h"
#include "support/SilentAlertPresenter.h"
#include "support/StallFigures.h"
#include "support/StallMeter.h"
#include "support/XvfbDisplay.h"

#include "editor/LexicartaController.h"
#include "editor/QLXWordPopoverController.h"
#include "editor/WordTableModel.h"
#include "model/QLXStorageManager.h"
#include "platform/dispatch/QtScheduler.h"
#include "platform/files/ApplicationFolders.h"
#include "platform/files/Defaults.h"
#include "platform/files/Settings.h"
#include "platform/ports/Console.h"
#include "quiz/QLXTypingQuizController.h"
#include "quiz/QuizPages.h"
#include "views/QLXColorTheme.h"
#include "views/QLXLanguageTextField.h"

#include <QApplication>
#include <QDir>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <string>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

// The learner's steps as the learner meets them: the real word list and typing quiz in windows
// on the display, the generated vocabulary of 50,000 and of 200,000 words, each step posted to
// the event loop and measured by the main thread's longest stall (StallMeter) until the program
// is idle again, painting included. Each step's time is its longest stall; "median_ms" and
// "max_ms" are taken over the steps. The program runs on the xcb platform (on a private Xvfb when
// no display is set) and then runs itself again offscreen, so that both sets of figures stand
// side by side; QT_QPA_PLATFORM chooses one platform alone.

namespace {

constexpr int stepsPerBenchmark = 9;

// The word list of a generated vocabulary in a window of its own, saving through the storage
// manager's background saver as the program does.
class ListWindow
{
public:
    explicit ListWindow(int wordCount)
        : m_alerts(1), m_services{m_clock, m_alerts, m_inputSources},
          vocabulary(lexi::bench::generateVocabulary(m_benchServices.services(), wordCount)),
          list(LexicartaController::Services{popoverServices()})
    {
        list.view()->resize(1180, 720);
        list.view()->show();
        keeper.setVocabulary(vocabulary);
        list.showVocabulary();
        if (!QTest::qWaitForWindowExposed(list.view()))
            fprintf(stderr, "responsiveness_bench: the list's window was never shown\n");
        settle();
    }

    // Lets the saves and the painting of what came before finish, unmeasured.
    void settle()
    {
        store.flushSaves();
        lexi::bench::StallMeter::runEventLoop(150ms);
    }

    // Opens the popover for a new word, unmeasured; the fields are filled with a new word.
    void openAddPopover(int number)
    {
        list.showAddWordPanel();
        lexi::bench::StallMeter::runEventLoop(50ms);
        QLXWordPopoverController &popover = *list.popoverController();
        popover.yourWordField()->setText(u"a new word %1"_s.arg(number));
        popover.foreignWordField()->setText(u"ein neues Wort %1"_s.arg(number));
    }

    void selectRows(const QList<int> &rows)
    {
        QItemSelection selection;
        for (int row : rows)
            selection.select(list.tableModel()->index(row, 0), list.tableModel()->index(row, WordTableModel::ColumnCount - 1));
        list.tableView()->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    }

    lexi::bench::StallMeter meter;

private:
    lexi::bench::BenchmarkServices m_benchServices;
    QTemporaryDir m_folder;
    lexi::ApplicationFolders m_folders{m_folder.path()};
    lexi::test::NullWorkspace m_workspace;
    const lexi::Clock &m_clock = lexi::Clock::system();
    lexi::test::SilentAlertPresenter m_alerts;
    lexi::NullInputSources m_inputSources;
    lexi::VocabularyServices m_services;

public:
    QLXStorageManager store{m_folders, m_services, m_workspace};
    lexi::test::RecordingSyncRequests sync;
    lexi::VocabularyKeeper keeper{[this](const Lexicarta &saved) { return store.saveVocabulary(&saved); }, sync};
    lexi::Defaults defaults{QDir(m_folder.path()).filePath(u"settings.conf"_s)};
    lexi::Settings settings{defaults};
    lexi::dispatch::QtScheduler scheduler;
    std::shared_ptr<Lexicarta> vocabulary;
    LexicartaController list;

private:
    QLXWordPopoverController::Services popoverServices()
    {
        return {keeper, m_alerts, m_inputSources, m_clock, scheduler, settings, u"English"_s};
    }
};

void addWordPopoverOpens(benchmark::State &state)
{
    ListWindow window(int(state.range(0)));
    lexi::bench::StallFigures stalls(state);
    for (auto _ : state) {
        stalls.record(window.meter.measure([&window] { window.list.showAddWordPanel(); }, 250ms));
        window.list.closeAddWordPopover();
        window.settle();
    }
}

void addWordPressed(benchmark::State &state)
{
    ListWindow window(int(state.range(0)));
    lexi::bench::StallFigures stalls(state);
    int number = 0;
    for (auto _ : state) {
        window.openAddPopover(number++);
        window.settle();
        QPushButton *add = window.list.popoverController()->addButton();
        stalls.record(window.meter.measure([add] { QTest::mouseClick(add, Qt::LeftButton); }, 250ms));
        window.settle();
    }
}

void editWordApply(benchmark::State &state)
{
    ListWindow window(int(state.range(0)));
    lexi::bench::StallFigures stalls(state);
    int number = 0;
    for (auto _ : state) {
        window.selectRows({100 + number});
        window.settle();
        QLXWordPopoverController *popover = window.list.popoverController();
        popover->commentField()->setText(u"edited %1"_s.arg(number++));
        stalls.record(window.meter.measure(
            [popover] { popover->closeWordPanel(QLXWordPopoverController::Sender::OkButton); }, 250ms));
        window.settle();
    }
}

// Deletes 1,000 shown words, one run of rows or every 40th row; they are put back unmeasured.
void deleteThousandWords(benchmark::State &state, bool scattered)
{
    ListWindow window(int(state.range(0)));
    lexi::bench::StallFigures stalls(state);
    for (auto _ : state) {
        QList<int> rows;
        for (int i = 0; i < 1000; ++i)
            rows.append(scattered ? 20 + 40 * i : 2000 + i);
        window.selectRows(rows);
        window.settle();
        const lexi::WordList deleted = window.list.popoverController()->selectedWords();
        QLXWordPopoverController *popover = window.list.popoverController();
        stalls.record(window.meter.measure([popover] { popover->deleteWord(); }, 300ms));
        window.vocabulary->batchAddWords(deleted);
        window.list.updateEntireView();
        window.settle();
    }
}

void deleteContiguous(benchmark::State &state)
{
    deleteThousandWords(state, false);
}

void deleteScattered(benchmark::State &state)
{
    deleteThousandWords(state, true);
}

// A key typed into the search field, measured through the pause after it and the search.
void searchKeystroke(benchmark::State &state)
{
    ListWindow window(int(state.range(0)));
    lexi::bench::StallFigures stalls(state);
    QLineEdit *field = window.list.searchField();
    field->setFocus();
    const char keys[] = {'h', 'a', 'u', '\b'};
    int next = 0;
    for (auto _ : state) {
        const char key = keys[next++ % 4];
        stalls.record(window.meter.measure(
            [field, key] {
                if (key == '\b')
                    QTest::keyClick(field, Qt::Key_Backspace);
                else
                    QTest::keyClick(field, key);
            },
            LexicartaController::searchDelay + 250ms));
    }
}

void levelSwitch(benchmark::State &state)
{
    ListWindow window(int(state.range(0)));
    lexi::bench::StallFigures stalls(state);
    quint64 level = 0;
    for (auto _ : state) {
        QPushButton *button = window.list.levelButton(level++ % 7);
        stalls.record(window.meter.measure([button] { QTest::mouseClick(button, Qt::LeftButton); }, 250ms));
        window.settle();
    }
}

class NoRatingPrompt final : public lexi::RatingPrompt
{
public:
    void logEvent(bool) override {}
    void openRatingsPageInAppStore() override {}
    void setRatedThisVersion(bool) override {}
};

// One answer typed and sent, through the card flip to the next card.
void typingQuizAnswer(benchmark::State &state)
{
    lexi::bench::BenchmarkServices services;
    const std::shared_ptr<Lexicarta> vocabulary = lexi::bench::generateVocabulary(services.services(), int(state.range(0)));
    QTemporaryDir folder;
    lexi::Defaults defaults(folder.filePath(u"Lexicarta.conf"_s));
    lexi::ApplicationFolders folders(folder.path());
    lexi::test::NullWorkspace workspace;
    QLXStorageManager store(folders, services.services(), workspace);
    lexi::test::RecordingSyncRequests sync;
    lexi::VocabularyKeeper keeper([&store](const Lexicarta &saved) { return store.saveVocabulary(&saved); }, sync);
    keeper.setVocabulary(vocabulary);
    NoRatingPrompt rating;
    lexi::dispatch::QtScheduler scheduler;
    QLXColorTheme theme(defaults);
    lexi::QuizPages pages;
    pages.resize(1200, 800);
    const lexi::QuizServices quizServices{defaults, scheduler, lexi::Clock::system(), keeper, rating, theme};
    QLXTypingQuizController quiz(quizServices, pages);
    quiz.setVocabulary(vocabulary);
    pages.show();
    if (!QTest::qWaitForWindowExposed(&pages))
        state.SkipWithError("the quiz's window was never shown");

    const auto startRun = [&] {
        quiz.setNumberOfWordsToAsk(30);
        quiz.createWordsToAsk();
        quiz.startQuiz();
        pages.showPage(lexi::QuizPages::TypingQuiz);
        lexi::bench::StallMeter::runEventLoop(1500ms);
    };
    startRun();
    lexi::bench::StallMeter meter;
    lexi::bench::StallFigures stalls(state);
    for (auto _ : state) {
        QLineEdit *answer = &quiz.answerField();
        answer->setText(u"der Baum"_s);
        stalls.record(meter.measure([answer] { QTest::keyClick(answer, Qt::Key_Return); }, 1300ms));
        store.flushSaves();
        if (!quiz.nextWord())
            startRun();
    }
    store.flushSaves();
}

struct Step
{
    const char *name;
    void (*run)(benchmark::State &);
};

const Step steps[] = {
    {"AddWordPopoverOpens", addWordPopoverOpens},
    {"AddWordPressed", addWordPressed},
    {"EditWordApply", editWordApply},
    {"Delete1000Contiguous", deleteContiguous},
    {"Delete1000EveryFortieth", deleteScattered},
    {"SearchKeystroke", searchKeystroke},
    {"LevelSwitch", levelSwitch},
    {"TypingQuizAnswer", typingQuizAnswer},
};

void registerSteps(const QString &platform)
{
    for (const Step &step : steps) {
        const std::string name = platform.toStdString() + '/' + step.name;
        benchmark::RegisterBenchmark(name.c_str(), step.run)
            ->Arg(50000)
            ->Arg(200000)
            ->UseManualTime()
            ->Iterations(stepsPerBenchmark)
            ->Unit(benchmark::kMillisecond);
    }
}

// The same program with the same arguments offscreen, its output shown here.
int runOffscreen(const QStringList &arguments)
{
    QProcess offscreen;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    offscreen.setProcessEnvironment(environment);
    offscreen.setProcessChannelMode(QProcess::ForwardedChannels);
    offscreen.start(QCoreApplication::applicationFilePath(), arguments);
    if (!offscreen.waitForFinished(-1))
        return 1;
    return offscreen.exitCode();
}

// The offscreen platform says on every popover that it cannot pass size hints on.
void dropSizeHintNotes(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (!message.contains(u"propagateSizeHints"_s))
        fprintf(stderr, "%s\n", qPrintable(message));
    if (type == QtFatalMsg)
        abort();
}

} // namespace

int main(int argc, char **argv)
{
    qInstallMessageHandler(dropSizeHintNotes);
    const bool bothPlatforms = qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    std::optional<lexi::bench::XvfbDisplay> display;
    if (bothPlatforms) {
        display.emplace();
        if (!display->isAvailable()) {
            fprintf(stderr, "responsiveness_bench: no display and no Xvfb; measuring offscreen only\n");
            qputenv("QT_QPA_PLATFORM", "offscreen");
        } else {
            qputenv("QT_QPA_PLATFORM", "xcb");
        }
    }
    QApplication application(argc, argv);
    lexi::Console::setSink([](const QString &) {});
    registerSteps(QGuiApplication::platformName());
    const QStringList arguments = application.arguments().mid(1);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (bothPlatforms && QGuiApplication::platformName() != u"offscreen"_s)
        return runOffscreen(arguments);
    return 0;
}
