#include <gtest/gtest.h>

#include <QCoreApplication>

int main(int argc, char** argv)
{
    // The program's sockets live under a QCoreApplication; so do the tests'.
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
