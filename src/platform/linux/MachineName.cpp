#include "MachineName.h"

#include <QCryptographicHash>
#include <QMessageAuthenticationCode>
#include <QSysInfo>

using namespace Qt::StringLiterals;

namespace lexi {

namespace {

// Fixed for good: a new key would give every machine a new log folder.
constexpr QByteArrayView machineNameKey = "Lexicarta sync log folder";

} // namespace

QString machineName()
{
    return machineNameForUniqueId(QSysInfo::machineUniqueId());
}

QString machineNameForUniqueId(const QByteArray &uniqueId)
{
    if (uniqueId.isEmpty())
        return u"UnidentifiedMac"_s;
    const QByteArray digest =
        QMessageAuthenticationCode::hash(uniqueId, machineNameKey.toByteArray(), QCryptographicHash::Sha256);
    // 128 bits tell a learner's machines apart and keep the folder name short.
    return QString::fromLatin1(digest.first(16).toHex());
}

} // namespace lexi
