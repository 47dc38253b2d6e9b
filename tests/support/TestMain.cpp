#include <QCoreApplication>

#include <gtest/gtest.h>

// Every test program has an application object, as the program has, so that the main queue and
// timers work.
int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
