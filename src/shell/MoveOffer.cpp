#include "MoveOffer.h"

#include "platform/files/StringTables.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace lexi {

using namespace Qt::StringLiterals;

namespace {

const QString table = u"MoveApplication"_s;

QString text(const QString &key)
{
    return StringTables::text(key, table);
}

bool isInside(const QString &path, const QString &folder)
{
    if (folder.isEmpty())
        return false;
    const QString cleanFolder = QDir::cleanPath(folder);
    const QString cleanPath = QDir::cleanPath(path);
    return cleanPath == cleanFolder || cleanPath.startsWith(cleanFolder + u'/') || cleanFolder == u"/"_s;
}

// A value as a desktop entry's string: backslash, tab, newline and carriage return escaped, so
// that the value stays on its line and reads back as it was.
QString entryString(const QString &value)
{
    QString escaped;
    for (const QChar c : value) {
        switch (c.unicode()) {
        case u'\\': escaped.append(u"\\\\"_s); break;
        case u'\t': escaped.append(u"\\t"_s); break;
        case u'\n': escaped.append(u"\\n"_s); break;
        case u'\r': escaped.append(u"\\r"_s); break;
        default: escaped.append(c); break;
        }
    }
    return escaped;
}

// The path as the one argument of a desktop entry's Exec key: in double quotes, with a backslash
// before each ", `, $ and backslash, and % doubled (else it starts a field code such as %f); then
// written as the key's string.
QString execQuoted(const QString &path)
{
    QString quoted;
    for (const QChar c : path) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted.append(u'\\');
        else if (c == u'%')
            quoted.append(u'%');
        quoted.append(c);
    }
    return entryString(u'"' + quoted + u'"');
}

} // namespace

bool shouldOfferMove(const ProgramLocation &location, bool isSuppressed)
{
    if (isSuppressed || location.executablePath.isEmpty() || location.isInBuildFolder)
        return false;
    const QStringList installedPrograms{u"/usr"_s, u"/opt"_s, location.homePath + u"/.local"_s};
    for (const QString &folder : installedPrograms) {
        if (isInside(location.executablePath, folder))
            return false;
    }
    return isInside(location.executablePath, location.downloadsPath) || location.isOnRemovableMedia
           || location.isOnReadOnlyMedia;
}

MoveDestination moveDestination(MoveTarget target, const ProgramLocation &location, const QString &userDataFolder,
                                const QString &allUsersPrefix)
{
    MoveDestination destination;
    if (target == MoveTarget::HomeFolder) {
        destination.folder = location.homePath + u"/.local/bin"_s;
        destination.desktopEntryFolder = userDataFolder + u"/applications"_s;
        destination.isInHomeFolder = true;
    } else {
        destination.folder = allUsersPrefix + u"/bin"_s;
        destination.desktopEntryFolder = allUsersPrefix + u"/share/applications"_s;
        destination.isInHomeFolder = false;
    }
    destination.path = destination.folder + u'/' + QFileInfo(location.executablePath).fileName();
    return destination;
}

MoveOfferQuestion moveOfferQuestion(const MoveDestination &destination, bool needsAdministratorRights,
                                    bool isInDownloads)
{
    QString message = text(u"I can move myself to the Applications folder if you'd like."_s);
    if (needsAdministratorRights)
        message += u' ' + text(u"Note that this will require an administrator password."_s);
    else if (isInDownloads)
        message += u' ' + text(u"This will keep your Downloads folder uncluttered."_s);
    MoveOfferQuestion question{
        Alert{destination.isInHomeFolder ? text(u"Move to Applications folder in your Home folder?"_s)
                                         : text(u"Move to Applications folder?"_s),
              message,
              {text(u"Move to Applications Folder"_s), text(u"Do Not Move"_s), text(u"Move for All Users"_s)},
              DoNotMoveButton},
        {}};
    question.suppressionText = text(u"Do not show this message again"_s);
    return question;
}

PrivilegedOutcome privilegedOutcome(int exitStatus, bool crashed)
{
    if (crashed)
        return PrivilegedOutcome::Failed;
    switch (exitStatus) {
    case 0:
        return PrivilegedOutcome::Succeeded;
    case 126:
        return PrivilegedOutcome::Cancelled;
    default:
        return PrivilegedOutcome::Failed;
    }
}

QString shellQuoted(const QString &text)
{
    return u"'"_s + QString(text).replace(u"'"_s, u"'\\''"_s) + u"'"_s;
}

QString relaunchScript(qint64 processId, const QString &executablePath)
{
    return u"(while /bin/kill -0 %1 >/dev/null 2>&1; do /bin/sleep 0.1; done; %2) >/dev/null 2>&1 </dev/null &"_s
        .arg(processId)
        .arg(shellQuoted(executablePath));
}

QString desktopEntryFor(const QString &shippedEntry, const QString &executablePath)
{
    QStringList lines = shippedEntry.split(u'\n');
    for (QString &line : lines) {
        if (line.startsWith(u"Exec="_s))
            line = u"Exec="_s + execQuoted(executablePath);
        else if (line.startsWith(u"TryExec="_s))
            line = u"TryExec="_s + entryString(executablePath);
    }
    return lines.join(u'\n');
}

} // namespace lexi
