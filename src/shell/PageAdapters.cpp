#include "PageAdapters.h"

#include "Installation.h"

#include "platform/linux/LocaleName.h"

namespace lexi {

VocabularyListAdapter::VocabularyListAdapter(Installation &installation)
    : m_settings(installation.defaults()),
      m_saving(installation.storage()),
      m_sync(installation.dropboxController(), installation.syncLog()),
      m_controller({.popover = {m_saving, installation.ports().alerts, installation.ports().inputSources,
                                installation.ports().clock, installation.ports().scheduler, m_settings,
                                selectedLocaleName()},
                    .loadFromDisk =
                        [&storage = installation.storage()](const Lexicarta &vocabulary) -> std::shared_ptr<Lexicarta> {
                        const std::optional<QString> path = storage.savePathForVocabulary(vocabulary);
                        return path ? storage.vocabularyFromFile(*path) : nullptr;
                    }})
{
}

PreferencesAdapter::PreferencesAdapter(Installation &installation, QLXColorTheme &colorTheme)
{
    QLXPreferencesController::Environment environment;
    environment.folders = &installation.folders();
    environment.storage = &installation.storage();
    environment.services = &installation.services();
    environment.defaults = &installation.defaults();
    environment.sync = &installation.dropboxController();
    environment.syncLog = &installation.syncLog();
    environment.analytics = &installation.analyticsClient();
    environment.alerts = &installation.ports().alerts;
    environment.inputSources = &installation.ports().inputSources;
    environment.clock = &installation.ports().clock;
    environment.scheduler = &installation.ports().scheduler;
    environment.colorTheme = &colorTheme;
    environment.openUrl = [&workspace = installation.ports().workspace](const QUrl &address) {
        workspace.openWebAddress(address);
    };
    m_controller = std::make_unique<QLXPreferencesController>(std::move(environment));
}

} // namespace lexi
