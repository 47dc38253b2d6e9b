#include "RunningPrograms.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace lexi {

using namespace Qt::StringLiterals;

namespace {

// Calls `visit` with each process's folder in /proc until it answers true.
template<typename Visit>
bool anyProcess(Visit visit)
{
    QDirIterator processes(u"/proc"_s, QDir::Dirs | QDir::NoDotAndDotDot);
    while (processes.hasNext()) {
        const QString folder = processes.next();
        bool isNumber = false;
        processes.fileName().toLongLong(&isNumber);
        if (isNumber && visit(folder))
            return true;
    }
    return false;
}

} // namespace

bool isProgramRunning(const QStringList &names)
{
    return anyProcess([&names](const QString &folder) {
        QFile comm(folder + u"/comm"_s);
        return comm.open(QIODevice::ReadOnly) && names.contains(QString::fromUtf8(comm.readAll().trimmed()));
    });
}

bool isExecutableRunning(const QString &path)
{
    const QString target = QFileInfo(path).canonicalFilePath();
    if (target.isEmpty())
        return false;
    return anyProcess([&target](const QString &folder) {
        const QString executable = QFileInfo(folder + u"/exe"_s).symLinkTarget();
        return !executable.isEmpty() && executable == target;
    });
}

} // namespace lexi
