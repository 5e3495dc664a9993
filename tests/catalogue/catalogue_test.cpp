#include <QCryptographicHash>
#include <QRegularExpression>

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "robot_proxy/error_code.h"

using temla::error_stack::errorCode2Str;

namespace
{

struct Row {
    int code;
    const char *qt_form;
    const char *plain_form;
};

// Representative rows: first and last of every group, shared texts, blanks, non-ASCII, literal '%'.
const Row kRows[] = {
    {0, "Debug message %1", "Debug message {}"},
    {1, "Popup title: %1, msg: %2, mode: %3", "Popup title: {}, msg: {}, mode: {}"},
    {2, "%1", "{}"},
    {6, "%1", "{}"},
    {13, "tid: %1 lineno: %2 index: %3 comment: %4", "tid: {} lineno: {} index: {} comment: {}"},
    {14, "tid: %1 lineno: %2 index: %3 comment: %4", "tid: {} lineno: {} index: {} comment: {}"},
    {40, " ICM server status changed to %1", " ICM server status changed to {}"},
    {102, "[%1] Load program %2 failed, configuration file (.ins) does not match",
     "[{}] Load program {} failed, configuration file (.ins) does not match"},
    {10001, "joint%1 error: over current", "joint{} error: over current"},
    {10041, "joint%1 error: The joint is in bootloader mode. Retry firmware update. ",
     "joint{} error: The joint is in bootloader mode. Retry firmware update. "},
    {10800, "joint%1 error: unknown error", "joint{} error: unknown error"},
    {11001, "ext axis%1 error: common", "ext axis{} error: common"},
    {20029,
     "interface powerloss board error: The interface powerloss board is in bootloader mode. Retry firmware "
     "update. ",
     "interface powerloss board error: The interface powerloss board is in bootloader mode. Retry firmware "
     "update. "},
    {30005, "Protective Stop: Danger of clamping between the Robot\u2019s lower arm and tool.",
     "Protective Stop: Danger of clamping between the Robot\u2019s lower arm and tool."},
    {30022, "Robot approaching singularity \u2013 Acceleration threshold failed.",
     "Robot approaching singularity \u2013 Acceleration threshold failed."},
    {30042, "Joint %1 temperature too high(>%2\u2103)", "Joint {} temperature too high(>{}\u2103)"},
    {30092, "Cannot resume from joint position [%1].\nToo far away from paused point [%2].",
     "Cannot resume from joint position [{}].\\nToo far away from paused point [{}]."},
    {30307, "Slow down level changed to %1(%2%)", "Slow down level changed to {}({}%)"},
    {30449,
     "Conveyor%1: item%2 tracking capacity exceeded, tracking stop started. Capacity usage is %3%, actual "
     "conveyor speed is %4 m/s.",
     "Conveyor{}: item{} tracking capacity exceeded, tracking stop started. Capacity usage is {}%, actual "
     "conveyor speed is {} m/s."},
    {40200, "tool error: unknown error", "tool error: unknown error"},
    {60006, "Lost package from joint  %1", "Lost package from joint  {}"},
    {60072, "Poweron robot timeout", "Poweron robot timeout"},
    {60078, "Poweron robot timeout", "Poweron robot timeout"},
    {60080, "Teach pendant enabled status changed to %1", "Teach pendant enabled status changed to {}"},
    {-1, "Max error code", "Max error code"},
};

class CatalogueTest : public testing::Test
{
protected:
    void SetUp() override { ErrorCode::buildTransMap(); }
};

TEST_F(CatalogueTest, RepresentativeRowsInBothForms)
{
    for (const Row &row : kRows) {
        SCOPED_TRACE(row.code);
        EXPECT_STREQ(errorCode2Str(row.code), row.plain_form);
        EXPECT_EQ(ErrorCode::trMap.value(row.code), QString::fromUtf8(row.qt_form));
        EXPECT_EQ(ErrorCode::lookup(row.code), QString::fromUtf8(row.qt_form));
    }
}

TEST_F(CatalogueTest, UnlistedCodesAnswerTheSentinel)
{
    for (int code : {7, 10048, 10801, 11067, 11999, 99999, -2, INT_MIN, INT_MAX}) {
        SCOPED_TRACE(code);
        EXPECT_STREQ(errorCode2Str(code), temla::error_stack::kMaxErrorCode);
        EXPECT_FALSE(ErrorCode::trMap.contains(code));
        EXPECT_EQ(ErrorCode::lookup(code), "Max error code");
    }
    // Unlisted codes share the sentinel's storage: the pointer is stable and nothing is allocated.
    EXPECT_EQ(errorCode2Str(7), errorCode2Str(-1));
    EXPECT_EQ(errorCode2Str(10001), errorCode2Str(10001));
}

TEST_F(CatalogueTest, TrMapHoldsExactlyTheCatalogue)
{
    EXPECT_EQ(ErrorCode::trMap.size(), 527);
    EXPECT_EQ(ErrorCode::trMap.firstKey(), -1);
    EXPECT_EQ(ErrorCode::trMap.lastKey(), 60080);
    EXPECT_TRUE(ErrorCode::trRetvalMap.isEmpty());
    EXPECT_EQ(ErrorCode::snapshot(), ErrorCode::trMap);
}

// Every row in both forms, against a digest of the reference rows taken when the table was written:
// "<code>\t<Qt form>\t<plain form>\n" per code, in ascending code order, UTF-8.
TEST_F(CatalogueTest, AllRowsMatchTheReferenceDigest)
{
    QByteArray all;
    for (auto it = ErrorCode::trMap.constBegin(); it != ErrorCode::trMap.constEnd(); ++it) {
        all +=
            QByteArray::number(it.key()) + '\t' + it.value().toUtf8() + '\t' + errorCode2Str(it.key()) + '\n';
    }
    EXPECT_EQ(all.size(), 55462);
    EXPECT_EQ(QCryptographicHash::hash(all, QCryptographicHash::Sha256).toHex(),
              "8f8293fa4f8e8ae037e9e35dacade163c31a5b2074f1d1a5903b0eb69b08b7ad");
}

// The plain form is the Qt form with "%n" replaced by "{}" (and a line feed by backslash-n), the
// placeholders of each template run %1, %2, ... in order, and filling both forms in order agrees.
TEST_F(CatalogueTest, FormsAgreeOnPlaceholders)
{
    const QRegularExpression placeholder("%(\\d+)");
    for (auto it = ErrorCode::trMap.constBegin(); it != ErrorCode::trMap.constEnd(); ++it) {
        SCOPED_TRACE(it.key());
        const QString qt_form = it.value();
        const QString plain_form = QString::fromUtf8(errorCode2Str(it.key()));

        int expected = 1;
        auto matches = placeholder.globalMatch(qt_form);
        while (matches.hasNext()) {
            EXPECT_EQ(matches.next().captured(1).toInt(), expected++);
        }
        const int placeholders = expected - 1;
        EXPECT_EQ(plain_form.count(QStringLiteral("{}")), placeholders);

        QString derived = qt_form;
        derived.replace(placeholder, QStringLiteral("{}")).replace('\n', QStringLiteral("\\n"));
        EXPECT_EQ(plain_form, derived);

        QString filled_qt = qt_form;
        std::string filled_plain = errorCode2Str(it.key());
        for (int n = 1; n <= placeholders; ++n) {
            const QString arg = QStringLiteral("<a%1>").arg(n);
            filled_qt = filled_qt.arg(arg);
            filled_plain.replace(filled_plain.find("{}"), 2, arg.toStdString());
        }
        EXPECT_EQ(filled_qt.replace('\n', QStringLiteral("\\n")).toStdString(), filled_plain);
    }
}

TEST(CatalogueWithoutMap, PlainFormNeedsNoBuild)
{
    // errorCode2Str is served from static storage; it is usable before and independently of trMap.
    EXPECT_STREQ(errorCode2Str(30307), "Slow down level changed to {}({}%)");
    EXPECT_STREQ(errorCode2Str(60080), "Teach pendant enabled status changed to {}");
    EXPECT_STREQ(errorCode2Str(7), "Max error code");
    EXPECT_NE(std::strstr(errorCode2Str(30092), "].\\nToo"), nullptr);
}

TEST_F(CatalogueTest, RebuildReplacesButNeverDropsEntries)
{
    ErrorCode::trMap.insert(123456, QStringLiteral("integrator entry"));
    ErrorCode::trMap.insert(10001, QStringLiteral("stale"));
    ErrorCode::buildTransMap();
    EXPECT_EQ(ErrorCode::trMap.value(10001), "joint%1 error: over current");
    EXPECT_EQ(ErrorCode::lookup(123456), "integrator entry");
    ErrorCode::trMap.remove(123456);
}

}  // namespace
