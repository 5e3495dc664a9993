#include <QCoreApplication>

#include <gtest/gtest.h>

// Translators are installed on the application object, so the tests run inside one.
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
