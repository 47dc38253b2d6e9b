#include <QApplication>

#include <gtest/gtest.h>

// The shell's tests drive real widgets, so their program has a widget application object.
int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
