#include <QCoreApplication>

#include <gtest/gtest.h>

#include "test_support.h"

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    proxy_test::LogCapture::install();
    return RUN_ALL_TESTS();
}
