#pragma once

#include "platform/values/Result.h"

#include <QByteArray>
#include <QString>

namespace lexi {

// The whole of the local file at `path`. A FIFO or a device in place of a file is refused at
// once, never waited on or read without end.
Result<QByteArray> readLocalFile(const QString &path);

} // namespace lexi
