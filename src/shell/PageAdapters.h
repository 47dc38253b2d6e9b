#pragma once

#include "MainWindowPages.h"

#include "editor/LexicartaController.h"
#include "editor/VocabularySaving.h"
#include "editor/VocabularySync.h"
#include "platform/files/Settings.h"
#include "shell/QLXPreferencesController.h"

#include <memory>

class QLXColorTheme;

namespace lexi {

class Installation;

// The vocabulary list as the main window's first page.
class VocabularyListAdapter final : public VocabularyListPage
{
public:
    explicit VocabularyListAdapter(Installation &installation);

    QWidget *view() override { return m_controller.view(); }
    std::shared_ptr<Lexicarta> vocabulary() const override { return m_controller.vocabulary(); }
    void setVocabulary(std::shared_ptr<Lexicarta> vocabulary) override { m_controller.setVocabulary(vocabulary); }
    void reloadVocabularyFromDisk() override { m_controller.reloadVocabularyFromDisk(); }
    void showVocabulary() override { m_controller.showVocabulary(&m_sync); }
    void updateEntireView() override { m_controller.updateEntireView(); }
    void showAddWordPanel() override { m_controller.showAddWordPanel(); }
    WordList getSelectedWordsArray() const override { return m_controller.getSelectedWordsArray(); }
    void deselectWords() override { m_controller.deselectWords(); }
    void closeAddWordPopover() override { m_controller.closeAddWordPopover(); }
    void closeHelp() override { m_controller.closeHelp(); }
    void cloudControllerDidSync() override { m_controller.cloudControllerDidSync(); }
    void showSynonyms() override { m_controller.setDisplaySynonyms(); }
    void deleteDuplicateWords() override { m_controller.deleteDuplicates(); }

    LexicartaController &controller() { return m_controller; }

private:
    Settings m_settings;
    StorageVocabularySaving m_saving;
    DropBoxVocabularySync m_sync;
    LexicartaController m_controller;
};

// The preferences as the settings page.
class PreferencesAdapter final : public PreferencesPage
{
public:
    PreferencesAdapter(Installation &installation, QLXColorTheme &colorTheme);

    QWidget *view() override { return m_controller.get(); }
    void setDelegate(QLXPreferencesDelegate *delegate) override { m_controller->setDelegate(delegate); }
    void showPreferences() override { m_controller->showPreferences(); }
    void showLanguages() override { m_controller->showLanguages(); }
    void showSyncing() override { m_controller->showSyncing(); }
    void cloudControllerDidSync() override { m_controller->cloudControllerDidSync(); }

private:
    std::unique_ptr<QLXPreferencesController> m_controller;
};

} // namespace lexi
