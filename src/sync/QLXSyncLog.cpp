#include "QLXSyncLog.h"

#include "model/QLXStorageManager.h"
#include "platform/files/ApplicationFolders.h"
#include "platform/files/AtomicFile.h"
#include "platform/files/StringTables.h"
#include "platform/values/Dates.h"
#include "platform/values/Format.h"
#include "platform/values/NoDestructor.h"
#include "platform/values/SharedInstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

lexi::SharedInstance<QLXSyncLog> &shared()
{
    static lexi::NoDestructor<lexi::SharedInstance<QLXSyncLog>> shared;
    return shared.get();
}

bool sameLanguage(const QLXSyncStatus &a, const QLXSyncStatus &b)
{
    return QString::compare(a.languageName(), b.languageName(), Qt::CaseInsensitive) == 0;
}

} // namespace

void QLXSyncLog::setSharedEnvironment(Environment environment)
{
    shared().setEnvironment(environment);
}

QLXSyncLog *QLXSyncLog::sharedManager()
{
    return shared().get();
}

QLXSyncLog::QLXSyncLog(Environment environment)
    : m_environment(environment), m_lastSaveTime(environment.clock->monotonicNow())
{
    m_fullLog.reserve(128);
    m_statusLog.reserve(8);
}

void QLXSyncLog::setUploadBlock(lexi::dispatch::Block upload)
{
    std::lock_guard lock(m_saveMutex);
    m_upload = std::move(upload);
}

void QLXSyncLog::addStatus(const QLXSyncStatus &status)
{
    {
        std::lock_guard lock(m_fullLogMutex);
        m_fullLog.append(status);
    }
    std::lock_guard lock(m_statusLogMutex);
    const auto old = std::find_if(m_statusLog.begin(), m_statusLog.end(),
                                  [&](const QLXSyncStatus &record) { return sameLanguage(record, status); });
    if (old != m_statusLog.end()) {
        const qsizetype index = old - m_statusLog.begin();
        const bool failed = old->syncAction() == QLXSyncStatus::SyncAction::failed;
        // A failure stands for its run: what a later step of that run says does not hide it.
        if (failed && m_statusLogRuns[index] == m_run)
            return;
        // Nothing done does not hide what was done; but once a step failed, a later run that
        // finds everything in step is the news.
        if (old->syncAction() != QLXSyncStatus::SyncAction::unchanged && !failed
            && status.syncAction() == QLXSyncStatus::SyncAction::unchanged)
            return;
        m_statusLog.erase(old);
        m_statusLogRuns.remove(index);
    }
    m_statusLog.append(status);
    m_statusLogRuns.append(m_run);
}

void QLXSyncLog::startRun()
{
    std::lock_guard lock(m_statusLogMutex);
    ++m_run;
}

QString QLXSyncLog::renderLog(const QList<QLXSyncStatus> &records)
{
    QString text;
    text.reserve(1024);
    std::optional<QLXSyncStatus::SyncDirection> direction;
    for (const QLXSyncStatus &record : records) {
        text += record.logStringWithDirection(record.syncDirection() != direction, true);
        text += u'\n';
        direction = record.syncDirection();
    }
    return text;
}

QString QLXSyncLog::logString() const
{
    std::lock_guard lock(m_fullLogMutex);
    return renderLog(m_fullLog);
}

void QLXSyncLog::saveLogAndClear()
{
    // The records are taken out before they are written, so that those added meanwhile stay for
    // the next file.
    QList<QLXSyncStatus> records;
    {
        std::lock_guard lock(m_fullLogMutex);
        records.swap(m_fullLog);
    }
    std::lock_guard lock(m_saveMutex);
    const QString folder = m_environment.folders->logsFolderPath();
    // A second file within one second takes the next free name instead of replacing the first.
    auto seconds = qint64(m_environment.clock->now().secondsSinceReferenceDate());
    while (QFileInfo::exists(folder + u"/%1.txt"_s.arg(seconds)))
        ++seconds;
    // A log that cannot be written is lost; the synchronisation goes on without it.
    lexi::writeFileAtomically(folder + u"/%1.txt"_s.arg(seconds), renderLog(records).toUtf8());
    m_lastSaveTime = m_environment.clock->monotonicNow();
    if (m_upload)
        m_upload();
}

void QLXSyncLog::saveLogOnIntervalAndClear()
{
    {
        std::lock_guard lock(m_saveMutex);
        if (m_environment.clock->monotonicNow() - m_lastSaveTime <= intervalBetweenSaves())
            return;
    }
    saveLogAndClear();
    tidyLogFolder();
}

void QLXSyncLog::tidyLogFolder()
{
    QFileInfoList files = QDir(m_environment.folders->logsFolderPath()).entryInfoList(QDir::Files, QDir::Unsorted);
    if (files.size() <= maxNumberOfLogFiles)
        return;
    // A log file is written once, so its modification time is when it was made; unlike a birth
    // time, every file system keeps it.
    std::sort(files.begin(), files.end(), [](const QFileInfo &a, const QFileInfo &b) {
        const QDateTime aTime = a.lastModified();
        const QDateTime bTime = b.lastModified();
        return aTime != bTime ? aTime < bTime : a.fileName() < b.fileName();
    });
    for (qsizetype i = 0; i < files.size() - maxNumberOfLogFiles; ++i)
        QFile::remove(files[i].absoluteFilePath());
}

QString QLXSyncLog::actionWord(QLXSyncStatus::SyncAction action)
{
    const QString table = u"MainWindow"_s;
    switch (action) {
    case QLXSyncStatus::SyncAction::pulled:
        return lexi::StringTables::text(u"pulled"_s, table);
    case QLXSyncStatus::SyncAction::pushed:
        return lexi::StringTables::text(u"pushed"_s, table);
    case QLXSyncStatus::SyncAction::merged:
        return lexi::StringTables::text(u"merged"_s, table);
    case QLXSyncStatus::SyncAction::skipped:
        return lexi::StringTables::text(u"skipped"_s, table);
    case QLXSyncStatus::SyncAction::failed:
        return lexi::StringTables::text(u"failed"_s, table);
    default:
        return lexi::StringTables::text(u"unchanged"_s, table);
    }
}

QString QLXSyncLog::syncStatusForAllLangsString() const
{
    const QString synchedAgo = lexi::StringTables::text(u"synchedAgo"_s, u"MainWindow"_s);
    QString text;
    text.reserve(1024);
    std::lock_guard lock(m_statusLogMutex);
    for (const QLXSyncStatus &record : m_statusLog) {
        const QString name = record.languageName().section(u'/', -1).remove(u".qlxv"_s);
        text += lexi::format(synchedAgo, lexi::timeSinceDate(record.time(), *m_environment.clock));
        text += u" %1"_s.arg(name) + u" (%1)"_s.arg(actionWord(record.syncAction())) + u'\n';
    }
    return text;
}

std::optional<QString> QLXSyncLog::syncStatusForVocabulary(const Lexicarta &vocabulary) const
{
    const QString name = QLXStorageManager::displayNameForVocabulary(vocabulary);
    std::lock_guard lock(m_statusLogMutex);
    const auto record = std::find_if(m_statusLog.begin(), m_statusLog.end(), [&](const QLXSyncStatus &status) {
        return QString::compare(status.languageName(), name, Qt::CaseInsensitive) == 0;
    });
    if (record == m_statusLog.end())
        return std::nullopt;
    return lexi::format(lexi::StringTables::text(u"lastSynched"_s, u"MainWindow"_s),
                        lexi::timeSinceDate(record->time(), *m_environment.clock))
        + u" (%1)"_s.arg(actionWord(record->syncAction()));
}

QList<QLXSyncStatus> QLXSyncLog::fullLog() const
{
    std::lock_guard lock(m_fullLogMutex);
    return m_fullLog;
}

QList<QLXSyncStatus> QLXSyncLog::statusLog() const
{
    std::lock_guard lock(m_statusLogMutex);
    return m_statusLog;
}
