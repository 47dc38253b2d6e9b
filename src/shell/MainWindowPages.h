#pragma once

#include "views/MainWindowPage.h"

class QLXPreferencesDelegate;

namespace lexi {

// The settings tab; the page interfaces below the shell are in views/MainWindowPage.h.
class PreferencesPage : public MainWindowPage
{
public:
    virtual void setDelegate(QLXPreferencesDelegate *delegate) = 0;
    virtual void showPreferences() = 0;
    virtual void showLanguages() = 0;
    virtual void showSyncing() = 0;
    virtual void cloudControllerDidSync() = 0;
};

// The five pages of one main window. Each page's view is the page itself: the window's tab view
// takes it in and deletes it with the window.
struct MainWindowPages
{
    VocabularyListPage *vocabulary = nullptr;
    QuizPage *quiz = nullptr;
    FlashCardServicePage *flashCardService = nullptr;
    StatisticsPage *statistics = nullptr;
    PreferencesPage *preferences = nullptr;
};

} // namespace lexi
