#include "pendant_window.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

#include "control_panel.h"
#include "indicator_panel.h"
#include "jog_controller.h"
#include "message_panel.h"
#include "motion_panel.h"
#include "program_panel.h"
#include "robot_proxy/robot_proxy.h"
#include "robot_view.h"

namespace pendant
{
namespace
{

using temla::korvu_sdk::RobotProxy;
constexpr int kRefreshIntervalMs = 100;

}  // namespace

PendantWindow::PendantWindow(RobotProxy &proxy, QWidget *parent)
    : QMainWindow(parent),
      proxy_(proxy),
      commands_(proxy),
      jog_(new JogController(commands_, this)),
      robot_selector_(new QComboBox(this)),
      connection_(new QLabel(this)),
      indicators_(new IndicatorPanel(this)),
      controls_(new ControlPanel(this)),
      motion_(new MotionPanel(this)),
      program_(new ProgramPanel(this)),
      messages_(new MessagePanel(this))
{
    setWindowTitle(tr("Robot pendant"));
    robot_selector_->setObjectName("robotSelector");
    robot_selector_->setMinimumWidth(160);
    connection_->setObjectName("connectionLabel");
    auto *bar = addToolBar(tr("Robot"));
    bar->setMovable(false);
    bar->addWidget(new QLabel(tr("Robot "), this));
    bar->addWidget(robot_selector_);
    bar->addSeparator();
    bar->addWidget(connection_);

    auto *left = new QWidget(this);
    auto *left_layout = new QVBoxLayout(left);
    left_layout->addWidget(indicators_);
    left_layout->addWidget(controls_);
    left_layout->addStretch(1);
    auto *top = new QWidget(this);
    auto *top_layout = new QHBoxLayout(top);
    top_layout->addWidget(left);
    top_layout->addWidget(motion_);
    top_layout->addWidget(program_, 1);
    auto *split = new QSplitter(Qt::Vertical, this);
    split->addWidget(top);
    split->addWidget(messages_);
    split->setStretchFactor(1, 1);
    setCentralWidget(split);
    resize(1280, 800);

    connectProxySignals();
    connectPanels();
    refresh_timer_.setInterval(kRefreshIntervalMs);
    connect(&refresh_timer_, &QTimer::timeout, this, &PendantWindow::refresh);
    refresh_timer_.start();
    fillRobotSelector();
    refresh();
}

void PendantWindow::refresh()
{
    const RobotView view = readRobotView(proxy_);
    indicators_->show(view);
    controls_->show(view);
    motion_->show(view);
    program_->setPaused(view.runtime_state == temla::common_interface::RuntimeState::Paused);
    showConnection();
}

void PendantWindow::connectProxySignals()
{
    // The window is the context of every connection: signals emitted on the library's threads
    // arrive queued on the GUI thread.
    connect(&proxy_, &RobotProxy::popup, this, [this](int, int level, QString title, QString msg, int) {
        messages_->addPopup(level, title, msg);
    });
    connect(&proxy_, &RobotProxy::popupAxisError, this,
            [this](int, int level, QString title, QString msg, int, QString axis) {
                messages_->addPopup(level, title + " " + axis, msg);
            });
    connect(&proxy_, &RobotProxy::popupDismiss, this, [this](QString src) { messages_->dismissPopups(src); });
    connect(&proxy_, &RobotProxy::systemHalt, this,
            [this](QString src) { messages_->addPopup(3, src, tr("system halt")); });
    connect(
        &proxy_, QOverload<int, QString, int, int, QString>::of(&RobotProxy::robotMessageRecieved), this,
        [this](int, QString src, int level, int, QString msg) { messages_->addMessage(level, src, msg); });
    connect(&proxy_, QOverload<int, QString>::of(&RobotProxy::scriptError), this,
            [this](int line, QString error) { program_->showError(line, error); });
    connect(&proxy_, QOverload<QString>::of(&RobotProxy::scriptError), this,
            [this](QString error) { program_->showError(0, error); });
    connect(&proxy_, &RobotProxy::runtimeContextUpdated, this,
            [this](int, int line, int, QString) { program_->highlightLine(line); });
    connect(&proxy_, &RobotProxy::taskDeleted, this, [this](int) { program_->highlightLine(0); });
    connect(&proxy_, &RobotProxy::logined, this, [this](bool) { fillRobotSelector(); });
    connect(&proxy_, &RobotProxy::disconnected, this,
            [this] { messages_->addNote(tr("disconnected from the controller")); });
}

void PendantWindow::connectPanels()
{
    connect(robot_selector_, QOverload<int>::of(&QComboBox::activated), this, &PendantWindow::chooseRobot);
    connect(controls_, &ControlPanel::powerOnRequested, this, [this] { report(commands_.powerOn()); });
    connect(controls_, &ControlPanel::brakeReleaseRequested, this,
            [this] { report(commands_.releaseBrakes()); });
    connect(controls_, &ControlPanel::powerOffRequested, this, [this] { report(commands_.powerOff()); });
    connect(controls_, &ControlPanel::unlockRequested, this,
            [this] { report(commands_.unlockProtectiveStop()); });
    connect(controls_, &ControlPanel::manualModeRequested, this,
            [this](bool manual) { report(commands_.setManualMode(manual)); });
    connect(controls_, &ControlPanel::speedRequested, this,
            [this](double fraction) { report(commands_.setSpeedFraction(fraction)); });
    connect(motion_, &MotionPanel::jogPressed, jog_, &JogController::start);
    connect(motion_, &MotionPanel::jogReleased, jog_, &JogController::stop);
    connect(jog_, &JogController::refused, this, [this](const QString &text) { report({false, text}); });
    connect(program_, &ProgramPanel::startRequested, this, &PendantWindow::startProgram);
}

void PendantWindow::report(const CommandOutcome &outcome)
{
    if (outcome.accepted) {
        return;
    }
    statusBar()->showMessage(outcome.text, 5000);
    messages_->addNote(outcome.text);
}

void PendantWindow::fillRobotSelector()
{
    const QSignalBlocker blocker(robot_selector_);
    robot_selector_->clear();
    for (const auto &name : proxy_.getRobotNames()) {
        robot_selector_->addItem(QString::fromStdString(name));
    }
    robot_selector_->setCurrentIndex(proxy_.getRobotIndex());
}

void PendantWindow::chooseRobot(int index)
{
    try {
        if (proxy_.selectRobot(index) != 0) {
            messages_->addNote(tr("robot %1 cannot be selected").arg(index));
        }
    } catch (const std::exception &e) {
        messages_->addNote(tr("selecting robot %1 failed: %2").arg(index).arg(e.what()));
    }
    fillRobotSelector();
}

void PendantWindow::startProgram()
{
    program_->clearError();
    report(commands_.sendProgram(program_->script()));
}

void PendantWindow::showConnection()
{
    const bool connected = proxy_.hasConnected();
    connection_->setText(connected ? (proxy_.hasLogined() ? tr("logged in") : tr("connected"))
                                   : tr("not connected"));
}

}  // namespace pendant
