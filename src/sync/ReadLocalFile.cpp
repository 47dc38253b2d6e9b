#include "ReadLocalFile.h"

#include "platform/files/RegularFile.h"

using namespace Qt::StringLiterals;

namespace lexi {

Result<QByteArray> readLocalFile(const QString &path)
{
    const auto file = openRegularFile(path);
    if (!file)
        return Result<QByteArray>::failure(u"%1: %2"_s.arg(path, file.error()));
    QByteArray data = (*file)->readAll();
    if ((*file)->error() != QFileDevice::NoError)
        return Result<QByteArray>::failure((*file)->errorString());
    return data;
}

} // namespace lexi
