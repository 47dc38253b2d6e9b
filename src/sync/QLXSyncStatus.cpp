#include "QLXSyncStatus.h"

#include "model/DateDescription.h"

using namespace Qt::StringLiterals;

namespace {

QString versionsText(qint64 local, qint64 dropbox)
{
    if (local < dropbox)
        return u"(l %1 << %2 db)   "_s.arg(QString::number(local), QString::number(dropbox));
    if (local > dropbox)
        return u"(l %1 >> %2 db)   "_s.arg(QString::number(local), QString::number(dropbox));
    return u"(l %1 == %2 db)   "_s.arg(QString::number(local), QString::number(dropbox));
}

QString actionWord(QLXSyncStatus::SyncAction action)
{
    switch (action) {
    case QLXSyncStatus::SyncAction::pulled:
        return u"download"_s;
    case QLXSyncStatus::SyncAction::pushed:
        return u"upload"_s;
    case QLXSyncStatus::SyncAction::merged:
        return u"merge"_s;
    case QLXSyncStatus::SyncAction::failed:
        return u"failed"_s;
    default:
        return u"do nothing"_s;
    }
}

} // namespace

QLXSyncStatus QLXSyncStatus::statusWithLanguage(const QString &languageName, qint64 localVersion,
                                                qint64 dropboxVersion, SyncDirection direction,
                                                const lexi::Clock &clock)
{
    QLXSyncStatus status;
    status.m_languageName = languageName;
    status.m_localVersion = localVersion;
    status.m_dropboxVersion = dropboxVersion;
    status.m_syncDirection = direction;
    status.m_time = clock.now();
    return status;
}

QString QLXSyncStatus::logStringWithDirection(bool direction, bool indent) const
{
    const QString time = lexi::dateDescription(m_time) + u' ';
    const QString indentation = indent ? u"    "_s : QString();
    QString text;
    if (direction) {
        text += time;
        text += m_syncDirection == SyncDirection::localToDropbox ? u"Sync Local To Dropbox\n"_s
                                                                  : u"Sync Dropbox To Local\n"_s;
    }
    text += time
        + u"%1<%2> %3\n"_s.arg(indentation, m_languageName.isEmpty() ? u"unknown"_s : m_languageName,
                              m_message.value_or(u"."_s));
    text += time + indentation + indentation + versionsText(m_localVersion, m_dropboxVersion)
        + actionWord(m_syncAction);
    return text;
}
