#include <QApplication>

#include <gtest/gtest.h>

// Widget tests need an application object that can make widgets; this main takes the place of
// the support library's.
int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
