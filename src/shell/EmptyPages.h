#pragma once

#include "MainWindowPages.h"

#include <QWidget>

#include <memory>

class QLXStorageManager;

namespace lexi {

// Stand-ins for pages whose controller does not exist yet: each shows an empty page and accepts
// every call of the main window. The vocabulary stand-in still owns the current vocabulary, as the
// list will.
class EmptyVocabularyListPage final : public VocabularyListPage
{
public:
    explicit EmptyVocabularyListPage(QLXStorageManager &storage);

    QWidget *view() override { return m_view.get(); }
    std::shared_ptr<Lexicarta> vocabulary() const override { return m_vocabulary; }
    void setVocabulary(std::shared_ptr<Lexicarta> vocabulary) override { m_vocabulary = std::move(vocabulary); }
    void reloadVocabularyFromDisk() override;
    void showVocabulary() override {}
    void updateEntireView() override {}
    void showAddWordPanel() override {}
    WordList getSelectedWordsArray() const override { return {}; }
    void deselectWords() override {}
    void closeAddWordPopover() override {}
    void closeHelp() override {}
    void cloudControllerDidSync() override {}
    void showSynonyms() override {}
    void deleteDuplicateWords() override {}

private:
    QLXStorageManager &m_storage;
    std::unique_ptr<QWidget> m_view = std::make_unique<QWidget>();
    std::shared_ptr<Lexicarta> m_vocabulary;
};

class EmptyQuizPage final : public QuizPage
{
public:
    QWidget *view() override { return m_view.get(); }
    void setPreSelectedWords(const WordList &) override {}
    void showQuiz() override {}
    void quizListsToAskChanged() override {}

private:
    std::unique_ptr<QWidget> m_view = std::make_unique<QWidget>();
};

class EmptyFlashCardServicePage final : public FlashCardServicePage
{
public:
    QWidget *view() override { return m_view.get(); }
    void setVocabulary(std::shared_ptr<Lexicarta>) override {}

private:
    std::unique_ptr<QWidget> m_view = std::make_unique<QWidget>();
};

class EmptyStatisticsPage final : public StatisticsPage
{
public:
    QWidget *view() override { return m_view.get(); }
    void setVocabulary(std::shared_ptr<Lexicarta>) override {}
    void showStatistics() override {}
    void windowDidResize() override {}

private:
    std::unique_ptr<QWidget> m_view = std::make_unique<QWidget>();
};

class EmptyPreferencesPage final : public PreferencesPage
{
public:
    QWidget *view() override { return m_view.get(); }
    void setDelegate(QLXPreferencesDelegate *) override {}
    void showPreferences() override {}
    void showLanguages() override {}
    void showSyncing() override {}
    void cloudControllerDidSync() override {}

private:
    std::unique_ptr<QWidget> m_view = std::make_unique<QWidget>();
};

} // namespace lexi
