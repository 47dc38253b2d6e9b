#pragma once

#include <QString>
#include <QStringList>

namespace lexi {

// What runs on this machine, read from /proc.

// Whether a process whose command name is one of `names` runs ("gnome-software", ...).
bool isProgramRunning(const QStringList &names);

// Whether a process runs the executable file at `path`.
bool isExecutableRunning(const QString &path);

} // namespace lexi
