// The main of the suites that need a Qt application (meta-types, connections, translators): every
// Qt log line goes to the LogCapture, which each test starts with empty.
#include <QCoreApplication>

#include <gtest/gtest.h>

#include "test_support/log_capture.h"

namespace
{

class ClearLogBeforeEachTest : public testing::EmptyTestEventListener
{
    void OnTestStart(const testing::TestInfo &) override { test_support::LogCapture::clear(); }
};

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    test_support::LogCapture::install();
    testing::UnitTest::GetInstance()->listeners().Append(new ClearLogBeforeEachTest);
    return RUN_ALL_TESTS();
}
