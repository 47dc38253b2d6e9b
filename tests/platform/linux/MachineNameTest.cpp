#include "platform/linux/MachineName.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(MachineNameTest, HashesTheMachineIdAndNamesAMachineWithoutOne)
{
    EXPECT_EQ(lexi::machineNameForUniqueId({}), u"UnidentifiedMac"_s);

    // HMAC-SHA-256 with the fixed key, first 16 bytes: the same folder name on every run and version.
    const QString name = lexi::machineNameForUniqueId("4c4c4544-0044-3510-8052-b4c04f4d4432");
    EXPECT_EQ(name, u"35482147559684beb75eccb6bce29c16"_s);
    EXPECT_NE(lexi::machineNameForUniqueId("4c4c4544-0044-3510-8052-b4c04f4d4433"), name);
    EXPECT_EQ(lexi::machineName(), lexi::machineName());
}
