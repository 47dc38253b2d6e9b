#pragma once

#include "model/QLXWord.h"

#include <QList>

#include <functional>

class QWidget;

namespace lexi {

class VocabularyKeeper;

// How a page plugs into the main window.
//
// The main window shows five tabs: the vocabulary list, the quiz, the flash-card service, the
// statistics and the settings. Each tab's page lives in its own subsystem and implements the
// interface below that names what the main window asks of it (the calls of its tab switch, of the
// language pop-up and of the synchronisation); the settings page's interface is the shell's own
// (shell/MainWindowPages.h). Every page is a widget and gives the window itself through view();
// the window's tab view owns it from then on and never looks inside it.
//
// A page receives what it needs (storage, sync controller, scheduler, ...) through one struct
// given to its constructor. Every call comes on the main thread.
class MainWindowPage
{
public:
    virtual ~MainWindowPage() = default;

    // The page itself as a widget, which the main window's tab view takes over.
    virtual QWidget *view() = 0;
};

// The parts of the vocabulary list that the help overlay's notes describe.
struct VocabularyHelpTargets
{
    QList<QWidget *> levels;
    QWidget *addWord = nullptr;
    QWidget *search = nullptr;
    QList<QWidget *> tagFilter;
};

// The vocabulary list: the owner of the current vocabulary.
class VocabularyListPage : public MainWindowPage
{
public:
    // The holder of the current vocabulary (none before the main window opens one), which every
    // page reads it from.
    virtual VocabularyKeeper &keeper() = 0;
    // The tab is shown.
    virtual void showVocabulary() = 0;
    virtual void updateEntireView() = 0;
    virtual void showAddWordPanel() = 0;
    virtual WordList getSelectedWordsArray() const = 0;
    virtual void deselectWords() = 0;
    virtual void closeAddWordPopover() = 0;
    virtual void closeHelp() = 0;
    virtual void cloudControllerDidSync() = 0;
    // Toggles between the synonyms and all words.
    virtual void setDisplaySynonyms() = 0;
    virtual bool isSynonymsActive() const = 0;
    virtual void deleteDuplicates() = 0;
    // Where the help overlay points; a page without those parts has none.
    virtual VocabularyHelpTargets helpTargets() const { return {}; }
};

// The quiz tab: the quiz set-up page and the quizzes started from it.
class QuizPage : public MainWindowPage
{
public:
    virtual void setPreSelectedWords(const WordList &words) = 0;
    virtual void showQuiz() = 0;
    virtual void quizListsToAskChanged() = 0;
    // Runs `step` at once while no quiz runs, else when the running quiz ends: a vocabulary
    // replaced under a running quiz would be saved over with words the quiz did not see.
    virtual void runWhenNoQuizRuns(std::function<void()> step) = 0;
};

// The flash-card service's search and set import.
class FlashCardServicePage : public MainWindowPage
{
};

class StatisticsPage : public MainWindowPage
{
public:
    virtual void showStatistics() = 0;
    // The main window changed its size.
    virtual void windowDidResize() = 0;
};

} // namespace lexi
