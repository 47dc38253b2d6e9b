#pragma once

#include "shell/Installation.h"
#include "shell/MainWindowPages.h"
#include "shell/ModalWatch.h"
#include "shell/QLXMainWindowController.h"
#include "support/FakeClock.h"
#include "support/FakeNetworkReachability.h"
#include "support/ManualScheduler.h"
#include "support/RecordingAlertPresenter.h"
#include "support/RecordingWorkspace.h"
#include "support/ScriptedFileChooser.h"
#include "support/ScriptedFolderChooser.h"

#include "model/Lexicarta.h"
#include "model/VocabularyKeeper.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>

#include <memory>

namespace lexi::test {

using namespace Qt::StringLiterals;

// One installation in a temporary folder, with fakes for everything the desktop and the machine
// give: a manual scheduler, recorded alerts, a scripted folder chooser, no network.
class TestInstallation
{
public:
    // `shownAlerts` takes the recorded alerts' place, for tests that show real ones.
    explicit TestInstallation(AlertPresenter *shownAlerts = nullptr);

    QString vocabularyFolder() const { return installation->folders().vocabularyFolderPath(); }
    // A vocabulary of `wordCount` words saved in the vocabularies folder; returns its path.
    QString saveVocabulary(const QString &foreign, const QString &own, int wordCount = 3);
    std::shared_ptr<Lexicarta> makeVocabulary(const QString &foreign, const QString &own, int wordCount) const;

    QTemporaryDir folder;
    FakeClock clock;
    ManualScheduler scheduler{clock};
    RecordingAlertPresenter alerts;
    ScriptedFileChooser fileChooser;
    ScriptedFolderChooser folderChooser;
    RecordingWorkspace workspace;
    NullInputSources inputSources;
    FakeNetworkReachability network;
    std::unique_ptr<Installation> installation;
};

// Pages that remember what the main window asked of them, in one log ("vocabulary.showVocabulary",
// "quiz.showQuiz", ...). The vocabulary page owns the current vocabulary as the list does.
class RecordingPages
{
public:
    explicit RecordingPages(Installation &installation);

    MainWindowPages pages();
    QStringList log;

    class Vocabulary;
    class Quiz;
    class FlashCards;
    class Statistics;
    class Preferences;
    // The main window's tab view owns them once it takes them in.
    Vocabulary *vocabulary;
    Quiz *quiz;
    FlashCards *flashCards;
    Statistics *statistics;
    Preferences *preferences;
};

class RecordingPages::Vocabulary final : public QWidget, public VocabularyListPage
{
public:
    Vocabulary(QStringList &log, Installation &installation);
    QWidget *view() override { return this; }
    VocabularyKeeper &keeper() override { return m_keeper; }
    void showVocabulary() override { m_log.append(u"vocabulary.showVocabulary"_s); }
    void updateEntireView() override { m_log.append(u"vocabulary.updateEntireView"_s); }
    void showAddWordPanel() override { m_log.append(u"vocabulary.showAddWordPanel"_s); }
    WordList getSelectedWordsArray() const override { return selectedWords; }
    void deselectWords() override { m_log.append(u"vocabulary.deselectWords"_s); }
    void closeAddWordPopover() override { m_log.append(u"vocabulary.closeAddWordPopover"_s); }
    void closeHelp() override { m_log.append(u"vocabulary.closeHelp"_s); }
    void cloudControllerDidSync() override { m_log.append(u"vocabulary.cloudControllerDidSync"_s); }
    void setDisplaySynonyms() override { m_log.append(u"vocabulary.showSynonyms"_s); }
    bool isSynonymsActive() const override { return false; }
    void deleteDuplicates() override { m_log.append(u"vocabulary.deleteDuplicateWords"_s); }

    WordList selectedWords;

private:
    QStringList &m_log;
    VocabularyKeeper m_keeper;
};

class RecordingPages::Quiz final : public QWidget, public QuizPage
{
public:
    explicit Quiz(QStringList &log) : m_log(log) {}
    QWidget *view() override { return this; }
    void setPreSelectedWords(const WordList &words) override
    {
        m_log.append(u"quiz.setPreSelectedWords %1"_s.arg(words.size()));
    }
    void showQuiz() override { m_log.append(u"quiz.showQuiz"_s); }
    void quizListsToAskChanged() override { m_log.append(u"quiz.quizListsToAskChanged"_s); }
    void runWhenNoQuizRuns(std::function<void()> step) override
    {
        if (isRunning)
            heldSteps.append(std::move(step));
        else
            step();
    }
    // A test starts and ends a run.
    void endRun()
    {
        isRunning = false;
        for (const std::function<void()> &step : std::exchange(heldSteps, {}))
            step();
    }

    bool isRunning = false;
    QList<std::function<void()>> heldSteps;

private:
    QStringList &m_log;
};

class RecordingPages::FlashCards final : public QWidget, public FlashCardServicePage
{
public:
    explicit FlashCards(QStringList &log) : m_log(log) {}
    QWidget *view() override { return this; }

private:
    QStringList &m_log;
};

class RecordingPages::Statistics final : public QWidget, public StatisticsPage
{
public:
    explicit Statistics(QStringList &log) : m_log(log) {}
    QWidget *view() override { return this; }
    void showStatistics() override { m_log.append(u"statistics.showStatistics"_s); }
    void windowDidResize() override {}

private:
    QStringList &m_log;
};

class RecordingPages::Preferences final : public QWidget, public PreferencesPage
{
public:
    explicit Preferences(QStringList &log) : m_log(log) {}
    QWidget *view() override { return this; }
    void setDelegate(QLXPreferencesDelegate *) override { m_log.append(u"preferences.setDelegate"_s); }
    void showPreferences() override { m_log.append(u"preferences.showPreferences"_s); }
    void showLanguages() override { m_log.append(u"preferences.showLanguages"_s); }
    void showSyncing() override { m_log.append(u"preferences.showSyncing"_s); }
    void cloudControllerDidSync() override { m_log.append(u"preferences.cloudControllerDidSync"_s); }

private:
    QStringList &m_log;
};

// A main window over a test installation and recording pages.
class TestMainWindow
{
public:
    TestMainWindow();

    TestInstallation test;
    RecordingPages pages{*test.installation};
    ModalWatch modalWatch{test.scheduler};
    QLXMainWindowController controller{*test.installation, pages.pages(), modalWatch};
};

} // namespace lexi::test
