#include <QCoreApplication>
#include <QTranslator>

#include <gtest/gtest.h>

#include "robot_proxy/error_code.h"

namespace
{

// catalogue_test_de.ts, compiled by lrelease at build time, translates four catalogue texts.
class TranslationTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(translator.load(QStringLiteral(CATALOGUE_TEST_QM))); }

    void TearDown() override
    {
        QCoreApplication::removeTranslator(&translator);
        ErrorCode::buildTransMap();
    }

    QTranslator translator;
};

TEST_F(TranslationTest, RebuildFollowsTheInstalledTranslator)
{
    ErrorCode::buildTransMap();
    ASSERT_EQ(ErrorCode::lookup(10001), "joint%1 error: over current");

    ASSERT_TRUE(QCoreApplication::installTranslator(&translator));
    // Installing alone changes nothing: texts are taken when the map is built.
    EXPECT_EQ(ErrorCode::lookup(10001), "joint%1 error: over current");

    ErrorCode::buildTransMap();
    EXPECT_EQ(ErrorCode::lookup(10001), QString::fromUtf8("Gelenk%1 Fehler: \u00dcberstrom"));
    EXPECT_EQ(ErrorCode::lookup(10402), QString::fromUtf8("Gelenk%1 Fehler: \u00dcberstrom"));
    EXPECT_EQ(ErrorCode::lookup(40), QString::fromUtf8("ICM-Serverstatus ge\u00e4ndert zu %1"));
    EXPECT_EQ(ErrorCode::lookup(30092),
              QString::fromUtf8("Fortsetzen ab Gelenkposition [%1] nicht m\u00f6glich.\n"
                                "Zu weit vom Haltepunkt [%2] entfernt."));
    EXPECT_EQ(ErrorCode::lookup(-1), "Unbekannter Fehlercode");
    // Texts without a translation stay English, and unlisted codes keep the untranslated sentinel.
    EXPECT_EQ(ErrorCode::lookup(10002), "joint%1 error: over voltage");
    EXPECT_EQ(ErrorCode::lookup(99999), "Max error code");
    EXPECT_EQ(ErrorCode::trMap.size(), 527);
    // The plain form is never translated.
    EXPECT_STREQ(temla::error_stack::errorCode2Str(10001), "joint{} error: over current");

    ASSERT_TRUE(QCoreApplication::removeTranslator(&translator));
    ErrorCode::buildTransMap();
    EXPECT_EQ(ErrorCode::lookup(10001), "joint%1 error: over current");
    EXPECT_EQ(ErrorCode::lookup(40), " ICM server status changed to %1");
    EXPECT_EQ(ErrorCode::lookup(-1), "Max error code");
}

}  // namespace
