// The shipped German translation (translations/robot_proxy_de.ts, compiled at build time): the
// common texts reach the application in German with their placeholders intact, from
// getErrorCodeMsg and in the popups of dispatched robot messages.

#include <QCoreApplication>
#include <QRegularExpression>
#include <QTranslator>

#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "korvu_sdk/input_parser.h"
#include "korvu_sdk/rpc_client.h"
#include "korvu_sim/simulator.h"
#include "robot_proxy/error_code.h"
#include "robot_proxy/robot_proxy.h"

namespace
{

using temla::common_interface::RobotMsg;
using temla::korvu_sdk::RobotProxy;

std::multiset<QString> placeholders(const QString &text)
{
    std::multiset<QString> found;
    auto it = QRegularExpression(QStringLiteral("%[1-9]")).globalMatch(text);
    while (it.hasNext()) {
        found.insert(it.next().captured());
    }
    return found;
}

class ShippedTranslationTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ErrorCode::buildTransMap();
        english = ErrorCode::trMap;
        ASSERT_TRUE(german.load(QStringLiteral(SHIPPED_DE_QM)));
        ASSERT_TRUE(QCoreApplication::installTranslator(&german));
    }

    void TearDown() override
    {
        QCoreApplication::removeTranslator(&german);
        ErrorCode::buildTransMap();
    }

    QTranslator german;
    QMap<int, QString> english;
};

TEST_F(ShippedTranslationTest, CommonTextsAreGermanWithTheirPlaceholders)
{
    RobotProxy proxy;
    const struct {
        int code;
        const char *text;
    } cases[] = {
        {1, "Popup-Titel: %1, Meldung: %2, Modus: %3"},
        {10001, "Gelenk%1 Fehler: \u00dcberstrom"},
        {10402, "Gelenk%1 Fehler: \u00dcberstrom"},
        {10022, "Gelenk%1 Fehler: Kollision"},
        {30014, "Schutzstopp: Kollision von Gelenk %1 erkannt"},
        {30039, "Sicherheitsmodus ge\u00e4ndert: %1"},
        {30045, "Robotermodus ge\u00e4ndert: %1"},
        {30092,
         "Fortsetzen ab Gelenkposition [%1] nicht m\u00f6glich.\nZu weit vom Haltepunkt [%2] entfernt."},
        {30307, "Verlangsamungsstufe ge\u00e4ndert zu %1(%2%)"},
        {-1, "Unbekannter Fehlercode"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(proxy.getErrorCodeMsg(c.code), QString::fromUtf8(c.text)) << c.code;
    }

    int translated = 0;
    for (auto it = english.cbegin(); it != english.cend(); ++it) {
        const QString german_text = ErrorCode::trMap.value(it.key());
        if (german_text != it.value()) {
            ++translated;
            EXPECT_EQ(placeholders(german_text), placeholders(it.value())) << it.key();
        }
    }
    EXPECT_GE(translated, 50);
}

RobotMsg message(int code, std::vector<std::string> args)
{
    RobotMsg msg;
    msg.code = code;
    msg.level = 1;
    msg.source = "robot1";
    msg.args = std::move(args);
    return msg;
}

TEST_F(ShippedTranslationTest, PopupsOfDispatchedMessagesAreGerman)
{
    temla::korvu_sim::SimulatorOptions options;
    options.robot_count = 1;
    options.manual_stepping = true;
    temla::korvu_sim::Simulator sim(options);
    sim.start();
    {
        RobotProxy proxy;
        proxy.getRpcClient()->setRequestTimeout(5000);
        ASSERT_EQ(proxy.connect(QString::fromStdString(sim.host()), sim.basePort()), 0);
        ASSERT_EQ(proxy.login("admin", "admin"), 0);
        ASSERT_EQ(proxy.selectRobot(0), 0);
        QStringList popups;
        QObject::connect(&proxy, &RobotProxy::popup,
                         [&](int, int, const QString &, const QString &msg, int) { popups << msg; });

        temla::korvu_sdk::InputParser batch({temla::korvu_sdk::InputParser::Value(
            std::vector<RobotMsg>{message(10001, {"3"}), message(30006, {}), message(30042, {"2", "80"})})});
        proxy.robotMessageCallback(batch);

        EXPECT_EQ(popups,
                  QStringList({QString::fromUtf8("[10001] Gelenk3 Fehler: \u00dcberstrom"),
                               QString::fromUtf8("[30006] Schutzstopp: Position nahe an den Gelenkgrenzen"),
                               QString::fromUtf8("[30042] Temperatur von Gelenk 2 zu hoch (>80\u2103)")}));
    }
    sim.stop();
}

}  // namespace
