#pragma once

#include "platform/ports/Clock.h"
#include "platform/values/Date.h"

#include <QString>

#include <optional>

// The outcome of one vocabulary file in one synchronisation: which copy went where, the versions
// of both copies, and what was done or went wrong. A value; the sync log keeps copies.
class QLXSyncStatus
{
public:
    enum class SyncAction : qint64 {
        // The cloud copy was downloaded or replaced the local file.
        pulled = -1,
        unchanged = 0,
        // The file was uploaded or is to be uploaded.
        pushed = 1,
        merged = 2,
        // The language was deleted on this machine.
        skipped = 3,
        // A step that was needed could not be done (an upload or a save failed, or a copy
        // changed meanwhile); the error says why. Nothing was pushed or merged.
        failed = 4,
    };
    enum class SyncDirection : qint64 {
        localToDropbox = 1,
        dropboxToLocal = -1,
    };

    // A record made now, that left everything unchanged.
    static QLXSyncStatus statusWithLanguage(const QString &languageName, qint64 localVersion, qint64 dropboxVersion,
                                            SyncDirection direction, const lexi::Clock &clock);

    // The file name without extension, or the vocabulary's display name once both copies were
    // loaded; empty when there is none.
    const QString &languageName() const { return m_languageName; }
    void setLanguageName(const QString &name) { m_languageName = name; }
    // -1 while that copy has not been read.
    qint64 localVersion() const { return m_localVersion; }
    void setLocalVersion(qint64 version) { m_localVersion = version; }
    qint64 dropboxVersion() const { return m_dropboxVersion; }
    void setDropboxVersion(qint64 version) { m_dropboxVersion = version; }
    // What went wrong; kept with the record, shown nowhere.
    const std::optional<QString> &error() const { return m_error; }
    void setError(const QString &error) { m_error = error; }
    // A needed step could not be done, for that reason.
    void fail(const QString &error)
    {
        m_error = error;
        m_syncAction = SyncAction::failed;
    }
    // What was done.
    const std::optional<QString> &message() const { return m_message; }
    void setMessage(const QString &message) { m_message = message; }
    lexi::Date time() const { return m_time; }
    SyncAction syncAction() const { return m_syncAction; }
    void setSyncAction(SyncAction action) { m_syncAction = action; }
    SyncDirection syncDirection() const { return m_syncDirection; }

    // The record's lines in a sync log file: with `direction`, a header naming the direction;
    // then the language and the message; then the versions and the action, without a final
    // newline. `indent` indents the last two by four blanks.
    QString logStringWithDirection(bool direction, bool indent) const;

private:
    QLXSyncStatus() = default;

    QString m_languageName;
    qint64 m_localVersion = -1;
    qint64 m_dropboxVersion = -1;
    std::optional<QString> m_error;
    std::optional<QString> m_message;
    lexi::Date m_time;
    SyncAction m_syncAction = SyncAction::unchanged;
    SyncDirection m_syncDirection = SyncDirection::dropboxToLocal;
};
