// Pieces of the proxy that need no controller: escape decoding, the signal list, the SDK log
// forwarding, the catalogue lookup and the meta-type registrations.

#include <QDebug>
#include <QMetaMethod>
#include <QMetaType>

#include <gtest/gtest.h>

#include <mutex>

#include "proxy_support.h"
#include "robot_proxy/robot_proxy.h"
#include "sdk_handlers.h"

namespace proxy_test
{
namespace
{

using temla::korvu_sdk::RobotProxy;
using temla::korvu_sdk::unescape;

TEST(Unescape, DecodesTheControllerEscapes)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"plain", "plain"}, {"a\\nb", "a\nb"},
        {"a\\tb", "a\tb"},  {"a\\\\b", "a\\b"},
        {"a\\qb", "ab"},    {"end\\", "end\\"},
        {"\\\\n", "\\n"},   {"\\", "\\"},
        {"", ""},           {"\\\"quoted\\\"", "quoted"},
    };
    for (const auto &[input, output] : cases) {
        EXPECT_EQ(unescape(input), output) << input;
    }
}

TEST(ProxyMetaObject, SignalsInDeclaredOrder)
{
    const std::vector<const char *> expected = {
        "connected(QString,int)",
        "disconnected()",
        "logined(bool)",
        "popup(int,int,QString,QString,int)",
        "popupAxisError(int,int,QString,QString,int,QString)",
        "popupDismiss(QString)",
        "popupDismissById(int)",
        "systemHalt(QString)",
        "scriptError(QString)",
        "scriptError(int,QString)",
        "scriptError2(QString,QString)",
        "variableUpdate(QString,QString)",
        "runtimeStateChanged(RuntimeState)",
        "freedriveEnabled(int,bool)",
        "robotMessageRecieved(int,QString,int,int,QString)",
        "robotMessageRecieved(int,QString,int,RobotMsg)",
        "operationalModeChanged(int,OperationalModeType)",
        "linkModeChanged(int,bool)",
        "safetyModeChanged(int,SafetyModeType)",
        "robotModeChanged(int,RobotModeType)",
        "robotTypeChanged(QString,QString)",
        "slowDownChanged(int,int)",
        "runtimeContextUpdated(int,int,int,QString)",
        "interpContextUpdated(int,int,int,QString)",
        "taskDeleted(int)",
        "icmStatusChanged(bool)",
        "pnioDeviceChanged(QString)",
        "pnioNetworkChanged(QString,QString,QString)",
        "sigEipConnectionStatusChanged(int)",
        "teachPendantEnabledChanged(bool)",
        "modbusSignalCreated(QString)",
        "modbusSignalRemoved(QString)",
        "jointMovedDuringPoweroff(int)",
        "robotCollisionOccurred(int,QString)",
        "robotToolSensorChanged(int,QString)",
        "robotToolSensorRemoved(int)",
        "robotToolSensorStatusChanged(int,bool)",
        "programLoaded(int,QString)",
    };
    const QMetaObject &meta = RobotProxy::staticMetaObject;
    EXPECT_STREQ(meta.className(), "temla::korvu_sdk::RobotProxy");
    ASSERT_EQ(meta.methodCount() - meta.methodOffset(), static_cast<int>(expected.size()));
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const QMetaMethod method = meta.method(meta.methodOffset() + static_cast<int>(i));
        EXPECT_EQ(method.methodType(), QMetaMethod::Signal) << i;
        EXPECT_EQ(method.methodSignature().toStdString(), expected[i]) << i;
    }
    EXPECT_EQ(meta.propertyCount(), meta.propertyOffset());
    EXPECT_EQ(meta.enumeratorCount(), meta.enumeratorOffset());
    EXPECT_EQ(meta.method(meta.indexOfSignal("popup(int,int,QString,QString,int)")).parameterNames(),
              (QList<QByteArray>{"robot_index", "level", "title", "msg", "mode"}));
}

TEST(SdkLog, LevelsMapToQtSeverities)
{
    LogCapture::clear();
    const std::vector<std::pair<int, QtMsgType>> cases = {
        {0, QtCriticalMsg}, {1, QtCriticalMsg}, {2, QtWarningMsg},
        {3, QtInfoMsg},     {4, QtDebugMsg},    {5, QtDebugMsg},
    };
    for (const auto &[level, type] : cases) {
        temla::korvu_sdk::detail::forwardSdkLog(level, "sdk_file.cpp", 40 + level,
                                                "line " + std::to_string(level));
    }
    temla::korvu_sdk::detail::forwardSdkLog(7, "sdk_file.cpp", 1, "never");
    temla::korvu_sdk::detail::forwardSdkLog(-1, "sdk_file.cpp", 1, "never");
    const auto lines = LogCapture::snapshot();
    ASSERT_EQ(lines.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(lines[i].type, cases[i].second) << i;
        EXPECT_EQ(lines[i].text, "line " + std::to_string(cases[i].first));
        EXPECT_EQ(lines[i].file, "sdk_file.cpp");
        EXPECT_EQ(lines[i].line, 40 + cases[i].first);
        EXPECT_EQ(lines[i].category, "default");
    }
}

// The application routes the library's lines (its own and the forwarded SDK ones) to its handler and
// keeps its own lines; without a handler they go to Qt's logger as before.
TEST(LibraryLog, HandlerTakesTheLibrarysLinesOnly)
{
    RobotProxy proxy;
    struct Routed {
        QtMsgType type;
        std::string text;
        std::string category;
    };
    std::vector<Routed> routed;
    std::mutex mutex;
    RobotProxy::setLogHandler([&](QtMsgType type, const QMessageLogContext &context, const QString &text) {
        std::lock_guard<std::mutex> lock(mutex);
        routed.push_back({type, text.toStdString(), context.category ? context.category : ""});
    });
    LogCapture::clear();
    EXPECT_EQ(proxy.selectRobot(5), -1);
    temla::korvu_sdk::detail::forwardSdkLog(2, "sdk_file.cpp", 7, "sdk line");
    qWarning() << "application line";
    RobotProxy::setLogHandler(nullptr);

    const std::string warning = "RobotProxy select robot of  5  out of range(0,  0 )";
    ASSERT_EQ(routed.size(), 2u);
    EXPECT_EQ(routed[0].type, QtWarningMsg);
    EXPECT_EQ(routed[0].text, warning);
    EXPECT_EQ(routed[0].category, "default");
    EXPECT_EQ(routed[1].text, "sdk line");
    const auto lines = LogCapture::snapshot();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text, "application line");

    // Without a handler, the same line reaches Qt's logger as it always did.
    EXPECT_EQ(proxy.selectRobot(5), -1);
    EXPECT_EQ(LogCapture::count(warning), 1);
}

TEST(ProxyConstruction, RegistersTheMetaTypesAndTheCatalogue)
{
    RobotProxy proxy;
    for (const char *name :
         {"OperationalModeType", "RobotModeType", "SafetyModeType", "RuntimeState", "RobotMsg",
          "temla::common_interface::OperationalModeType", "temla::common_interface::RobotModeType",
          "temla::common_interface::SafetyModeType", "temla::common_interface::RuntimeState"}) {
        EXPECT_NE(QMetaType::type(name), QMetaType::UnknownType) << name;
    }
    EXPECT_EQ(QMetaType::type("RobotModeType"), qMetaTypeId<temla::common_interface::RobotModeType>());
    EXPECT_EQ(proxy.getErrorCodeMsg(10001), QString("joint%1 error: over current"));
    EXPECT_EQ(proxy.getErrorCodeMsg(99999), QString("Max error code"));
    EXPECT_EQ(proxy.getErrorCodeMsg(-1), QString("Max error code"));
    EXPECT_FALSE(proxy.hasConnected());
    EXPECT_FALSE(proxy.hasLogined());
    EXPECT_EQ(proxy.getRobotIndex(), -1);
    EXPECT_TRUE(proxy.getRobotName().isEmpty());
    EXPECT_EQ(proxy.sendScript(""), 1);
    EXPECT_EQ(proxy.getScript(), "");
}

TEST(ProxyConstruction, DHFallsBackToZerosWhenTheControllerFails)
{
    RobotProxy proxy;
    const auto dh = proxy.getDH(true);
    ASSERT_EQ(dh.size(), 5u);
    for (const char *key : {"a", "d", "alpha", "theta", "beta"}) {
        ASSERT_EQ(dh.count(key), 1u) << key;
        EXPECT_EQ(dh.at(key), std::vector<double>(6, 0.0)) << key;
    }
}

}  // namespace
}  // namespace proxy_test
