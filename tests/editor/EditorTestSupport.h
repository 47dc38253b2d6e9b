#pragma once

#include "support/FakeVocabularyServices.h"
#include "support/ManualScheduler.h"
#include "support/ScriptedInputSources.h"

#include "editor/LexicartaController.h"
#include "editor/VocabularySyncStatus.h"
#include "model/Lexicarta.h"
#include "model/SyncRequests.h"
#include "model/VocabularyKeeper.h"
#include "platform/files/Defaults.h"
#include "platform/files/Settings.h"

#include <QList>
#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace lexi::test {

// Counts saves; fails them while `fails` is set.
class RecordingSaving final
{
public:
    bool saveVocabulary(const Lexicarta &vocabulary)
    {
        ++saves;
        lastSaved = &vocabulary;
        return !fails;
    }

    int saves = 0;
    const Lexicarta *lastSaved = nullptr;
    bool fails = false;
};

class RecordingSync final : public SyncRequests, public VocabularySyncStatus
{
public:
    bool isEnabled() const override { return enabled; }
    void markFileAsNeedsSync(const Lexicarta &) override { ++marks; }
    void syncWithDropbox() override { ++requests; }
    std::optional<QString> syncStatusForVocabulary(const Lexicarta &) const override { return status; }

    bool enabled = false;
    int marks = 0;
    int requests = 0;
    std::optional<QString> status;
};

// Everything the list and the popover need, all fakes, and a list controller made with them.
struct EditorFixture
{
    EditorFixture();
    ~EditorFixture();

    QLXWordPopoverController::Services popoverServices();
    std::unique_ptr<LexicartaController> makeList();
    // A vocabulary of `count` words: German words and English ones, tags on some, at every level
    // in turn (level = index mod 6).
    std::shared_ptr<Lexicarta> makeVocabulary(int count);
    std::shared_ptr<QLXWord> addWord(Lexicarta &vocabulary, const QString &your, const QString &foreign,
                                     quint64 level = 0, const QStringList &tags = {});

    QTemporaryDir folder;
    FakeVocabularyServices fakes;
    ManualScheduler scheduler{fakes.clock};
    ScriptedInputSources inputSources;
    VocabularyServices services{fakes.clock, fakes.alerts, inputSources};
    Defaults defaults;
    Settings settings{defaults};
    RecordingSaving saving;
    RecordingSync sync;
    VocabularyKeeper keeper{[this](const Lexicarta &vocabulary) { return saving.saveVocabulary(vocabulary); }, sync};
};

} // namespace lexi::test
