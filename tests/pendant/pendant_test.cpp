// The pendant window driven with Qt Test on an X server (Xvfb), against the simulator in-process.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

#include <memory>

#include "korvu_sdk/rpc_client.h"
#include "korvu_sim/simulator.h"
#include "message_panel.h"
#include "pendant_window.h"
#include "program_panel.h"
#include "robot_proxy/robot_proxy.h"

namespace
{

using temla::common_interface::RobotMsg;
using temla::common_interface::SafetyModeType;

constexpr int kWaitMs = 10000;

RobotMsg message(int code, int level, std::string source, std::vector<std::string> args = {})
{
    RobotMsg msg;
    msg.code = code;
    msg.level = level;
    msg.source = std::move(source);
    msg.args = std::move(args);
    return msg;
}

}  // namespace

class PendantTest : public QObject
{
    Q_OBJECT

private:
    template <typename T>
    T *widget(const char *name)
    {
        auto *found = window->findChild<T *>(name);
        if (!found) {
            qFatal("the pendant has no widget %s", name);
        }
        return found;
    }
    QString text(const char *label_name) { return widget<QLabel>(label_name)->text(); }

    std::unique_ptr<temla::korvu_sim::Simulator> sim;
    std::unique_ptr<temla::korvu_sdk::RobotProxy> proxy;
    std::unique_ptr<pendant::PendantWindow> window;

private Q_SLOTS:
    void initTestCase()
    {
        sim = std::make_unique<temla::korvu_sim::Simulator>();
        sim->start();
        proxy = std::make_unique<temla::korvu_sdk::RobotProxy>();
        // Generous for a loaded test machine; the proxy's own bound is 100 ms.
        proxy->getRpcClient()->setRequestTimeout(5000);
        QCOMPARE(proxy->connect(QString::fromStdString(sim->host()), sim->basePort()), 0);
        QCOMPARE(proxy->login("admin", "admin"), 0);
        QCOMPARE(proxy->selectRobot(0), 0);
        window = std::make_unique<pendant::PendantWindow>(*proxy);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    void showsTheSelectedRobotAndItsModes()
    {
        QCOMPARE(widget<QComboBox>("robotSelector")->currentText(), QString("robot1"));
        QTRY_COMPARE_WITH_TIMEOUT(text("robotModeIndicator"), QString("Running"), kWaitMs);
        QTRY_COMPARE_WITH_TIMEOUT(text("safetyModeIndicator"), QString("Normal"), kWaitMs);
        QTRY_COMPARE_WITH_TIMEOUT(text("connectionLabel"), QString("logged in"), kWaitMs);
    }

    void jointValuesFollowTheStreamedState()
    {
        QTRY_VERIFY_WITH_TIMEOUT(text("jointValue1") != "-", kWaitMs);
        const QString first = text("jointValue1");
        QTRY_VERIFY_WITH_TIMEOUT(text("jointValue1") != first, kWaitMs);
        QVERIFY(text("tcpValue2") != "-");
    }

    void popupIsShownAndAcknowledged()
    {
        auto *popups = widget<QListWidget>("popupList");
        const int before = popups->count();
        sim->injectMessage(message(10001, 1, "robot1", {"3"}));
        QTRY_COMPARE_WITH_TIMEOUT(popups->count(), before + 1, kWaitMs);
        QVERIFY(window->messages()->popupText(before).contains("[10001] joint3 error: over current"));
        auto *log = widget<QListWidget>("messageLog");
        QTRY_VERIFY_WITH_TIMEOUT(!log->findItems("joint3 error: over current", Qt::MatchContains).isEmpty(),
                                 kWaitMs);
        popups->setCurrentRow(before);
        QTest::mouseClick(widget<QPushButton>("acknowledgeButton"), Qt::LeftButton);
        QCOMPARE(popups->count(), before);
    }

    void protectiveStopRaisedByTheControllerShowsItsPopup()
    {
        sim->setSafetyMode(0, SafetyModeType::ProtectiveStop);
        sim->injectMessages(
            {message(30039, 3, "robot1", {"SafetyModeType.ProtectiveStop"}), message(30009, 1, "robot1")});
        QTRY_COMPARE_WITH_TIMEOUT(text("safetyModeIndicator"), QString("ProtectiveStop"), kWaitMs);
        auto *popups = widget<QListWidget>("popupList");
        QTRY_VERIFY_WITH_TIMEOUT(!popups->findItems("Protective Stop", Qt::MatchContains).isEmpty(), kWaitMs);
        sim->setSafetyMode(0, SafetyModeType::Normal);
        sim->injectMessage(message(30039, 3, "robot1", {"SafetyModeType.Normal"}));
        QTRY_COMPARE_WITH_TIMEOUT(text("safetyModeIndicator"), QString("Normal"), kWaitMs);
    }

    void programIsSentAndItsCurrentLineHighlighted()
    {
        auto *program = window->program();
        program->setScript("movej(home)\nmovel(pick)\nmovel(place)\n");
        QTest::mouseClick(widget<QPushButton>("startProgramButton"), Qt::LeftButton);
        QVERIFY(sim->waitForScripts(1, std::chrono::milliseconds(kWaitMs)));
        QCOMPARE(QString::fromStdString(sim->receivedScripts().back()), program->script());
        for (int line = 1; line <= 3; ++line) {
            sim->injectMessage(message(13, 3, "robot1", {"1", std::to_string(line), "0", "step"}));
            QTRY_COMPARE_WITH_TIMEOUT(program->highlightedLine(), line, kWaitMs);
        }
    }

    void scriptErrorIsShownAtItsLine()
    {
        auto *program = window->program();
        sim->injectMessage(message(30046, 1, "robot1:2", {"x"}));
        QTRY_COMPARE_WITH_TIMEOUT(program->errorLine(), 2, kWaitMs);
        QVERIFY(text("programError").startsWith("line 2:"));
    }

    void cleanupTestCase()
    {
        // The same path makes docs/pendant.png (target pendant-screenshot).
        const QString path = qEnvironmentVariable("PENDANT_SCREENSHOT", "pendant.png");
        window->refresh();
        QTest::qWait(200);
        const QPixmap shot = window->screen()->grabWindow(window->winId());
        QVERIFY(!shot.isNull());
        QVERIFY2(shot.save(path), qPrintable("cannot save " + path));
        window.reset();
        proxy.reset();
        sim->stop();
    }
};

QTEST_MAIN(PendantTest)
#include "pendant_test.moc"
