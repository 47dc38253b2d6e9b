#include <QApplication>

#include <gtest/gtest.h>

// The editor's widget tests need an application object that can make widgets. This main takes
// the place of the support library's.
int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
