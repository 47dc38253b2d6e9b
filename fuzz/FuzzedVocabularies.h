#pragma once

#include "model/Lexicarta.h"
#include "model/QLXStorageManager.h"
#include "platform/files/ApplicationFolders.h"

#include "support/NullWorkspace.h"
#include "support/ScriptedInputSources.h"
#include "support/SilentAlertPresenter.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>

namespace lexi::fuzz {

// What the vocabulary loaders need around them while they read fuzzed input: the real clock, a
// keyboard source to look identifiers up in, alerts and folders nobody sees, and one file that
// every input is written to, since the loaders start from a file.
class FuzzedVocabularies
{
public:
    explicit FuzzedVocabularies(const QString &inputName);

    const VocabularyServices &services() const { return m_services; }
    QLXStorageManager &store() { return m_store; }

    // The input, written to the input file; returns the file's path.
    const QString &writeInput(const uint8_t *data, size_t size);

    // Stops the run when `vocabulary` breaks what loading promises: levels 0 to 5 in order,
    // don't-ask-again only from level 4, every word linked back.
    static void checkLoaded(const std::shared_ptr<Lexicarta> &vocabulary);

private:
    QTemporaryDir m_folder;
    ApplicationFolders m_folders{m_folder.path()};
    // The second button, so that the way to the backups folder is taken too.
    test::SilentAlertPresenter m_alerts{1};
    test::ScriptedInputSources m_inputSources;
    test::NullWorkspace m_workspace;
    VocabularyServices m_services{Clock::system(), m_alerts, m_inputSources};
    QLXStorageManager m_store{m_folders, m_services, m_workspace};
    QString m_inputPath;
};

} // namespace lexi::fuzz
