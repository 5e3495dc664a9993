#pragma once

#include <QMainWindow>
#include <QTimer>

#include "robot_commands.h"

namespace temla::korvu_sdk
{
class RobotProxy;
}

class QComboBox;
class QLabel;

namespace pendant
{

class ControlPanel;
class IndicatorPanel;
class JogController;
class MessagePanel;
class MotionPanel;
class ProgramPanel;

// The operator window on one RobotProxy (owned by the caller, connected and logged in by it or
// later). Proxy signals arrive queued on the GUI thread; the state is read from the cache ten
// times a second; commands go through the proxy's interface handles.
class PendantWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit PendantWindow(temla::korvu_sdk::RobotProxy &proxy, QWidget *parent = nullptr);

    MessagePanel *messages() const { return messages_; }
    ProgramPanel *program() const { return program_; }
    // Reads the cache now instead of at the next tick.
    void refresh();

private:
    void connectProxySignals();
    void connectPanels();
    void fillRobotSelector();
    void chooseRobot(int index);
    void startProgram();
    void showConnection();
    // A refused or failed command is shown in the status bar and the message log.
    void report(const CommandOutcome &outcome);

    temla::korvu_sdk::RobotProxy &proxy_;
    RobotCommands commands_;
    JogController *jog_;
    QComboBox *robot_selector_;
    QLabel *connection_;
    IndicatorPanel *indicators_;
    ControlPanel *controls_;
    MotionPanel *motion_;
    ProgramPanel *program_;
    MessagePanel *messages_;
    QTimer refresh_timer_;
};

}  // namespace pendant
