#pragma once

#include <QByteArray>
#include <QString>

namespace lexi {

// This machine's name for its folder of synchronisation logs in the cloud: the system's unique
// machine id hashed with a key of ours, so that the id itself never leaves the machine, or
// "UnidentifiedMac" when the system has no id. Worked out on every call.
QString machineName();

// The name for a given machine id; "UnidentifiedMac" for an empty one.
QString machineNameForUniqueId(const QByteArray &uniqueId);

} // namespace lexi
