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

using temla::common_interface::RobotModeType;
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
        proxy->setRequestTimeout(5000);
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

    void powerOnAndReleaseBrakesByClicking()
    {
        sim->setRobotMode(0, RobotModeType::PowerOff);
        QTRY_COMPARE_WITH_TIMEOUT(text("robotModeIndicator"), QString("PowerOff"), kWaitMs);
        QTest::mouseClick(widget<QPushButton>("powerOnButton"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(text("robotModeIndicator"), QString("Idle"), kWaitMs);
        QTest::mouseClick(widget<QPushButton>("brakeReleaseButton"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(text("robotModeIndicator"), QString("Running"), kWaitMs);
    }

    void jogMovesAJointOnlyWhileTheButtonIsHeld()
    {
        auto *manual = widget<QPushButton>("manualModeButton");
        if (!manual->isChecked()) {
            QTest::mouseClick(manual, Qt::LeftButton);
        }
        QTRY_COMPARE_WITH_TIMEOUT(text("operationalModeIndicator"), QString("Manual"), kWaitMs);
        const double before = sim->jointPositions(0).at(0);
        const QString shown_before = text("jointValue0");
        QTest::mousePress(widget<QPushButton>("jogJoint0Plus"), Qt::LeftButton);
        // Held for longer than the watchdog: the renewals keep it moving.
        QTest::qWait(800);
        QVERIFY(sim->jointPositions(0).at(0) > before + 0.05);
        QTRY_VERIFY_WITH_TIMEOUT(text("jointValue0") != shown_before, kWaitMs);
        QTest::mouseRelease(widget<QPushButton>("jogJoint0Plus"), Qt::LeftButton);
        QVERIFY(sim->waitForSteady(0, std::chrono::milliseconds(kWaitMs)));
        const double stopped = sim->jointPositions(0).at(0);
        QTest::qWait(300);
        QCOMPARE(sim->jointPositions(0).at(0), stopped);
        QTest::mouseClick(manual, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(text("operationalModeIndicator"), QString("Automatic"), kWaitMs);
    }

    void protectiveStopFromTheControllerShowsItsPopupAndIsUnlocked()
    {
        sim->protectiveStop(0);
        QTRY_COMPARE_WITH_TIMEOUT(text("safetyModeIndicator"), QString("ProtectiveStop"), kWaitMs);
        auto *popups = widget<QListWidget>("popupList");
        QTRY_VERIFY_WITH_TIMEOUT(!popups->findItems("Protective Stop", Qt::MatchContains).isEmpty(), kWaitMs);
        QTest::mouseClick(widget<QPushButton>("unlockButton"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(text("safetyModeIndicator"), QString("Normal"), kWaitMs);
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
