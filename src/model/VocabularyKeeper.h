#pragma once

#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

class Lexicarta;

namespace lexi {

class SyncRequests;

// The one holder of the open vocabulary. The vocabulary list owns it; every page that shows or
// changes the vocabulary reads it from here at the moment it acts and listens to the signals, so
// that no page goes on writing into a vocabulary that a language switch or a reload replaced.
//
// A change is recorded in one call: the vocabulary needs synchronising, its file is marked for the
// next synchronisation, and the save is handed to the background saver. A vocabulary made the
// open one is prepared for its first change a part at each turn of the event loop (see
// Lexicarta::prepareDerivedData()), so that the first answer or save waits for no pass over all
// its words. Used on the main thread.
class VocabularyKeeper : public QObject
{
    Q_OBJECT

public:
    // Hands a vocabulary to the background saver; false when the save was refused (the learner
    // has been told). The program's is QLXStorageManager::saveVocabulary.
    using Save = std::function<bool(const Lexicarta &)>;

    // `sync` must outlive the keeper.
    VocabularyKeeper(Save save, SyncRequests &sync, QObject *parent = nullptr);

    // The open vocabulary; none before one is opened.
    const std::shared_ptr<Lexicarta> &vocabulary() const { return m_vocabulary; }
    // Makes `vocabulary` the open one and tells vocabularyReplaced(), also when it is the same
    // object (its words were read anew).
    void setVocabulary(std::shared_ptr<Lexicarta> vocabulary);

    // The open vocabulary's words changed (an answer, an edit, an import): marks and saves it,
    // then tells wordsChanged(). False when nothing is open or the save was refused (the storage
    // has told the learner).
    bool recordChange();
    // Hands the open vocabulary to the background saver as it is, without marking it (the list
    // saves when the learner switches levels). False as above.
    bool save();
    // The learner finished something worth synchronising (a quiz, an edit).
    void requestSync();

signals:
    void vocabularyReplaced();
    void wordsChanged();

private:
    // Well under a millisecond's work in each turn of the event loop.
    static constexpr qsizetype wordsPreparedAtOnce = 512;

    void prepareSome();

    Save m_save;
    SyncRequests &m_sync;
    std::shared_ptr<Lexicarta> m_vocabulary;
    QTimer m_preparation;
};

} // namespace lexi
