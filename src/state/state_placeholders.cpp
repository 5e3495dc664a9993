// Operations declared with the controller's vocabulary that the cache does not implement yet. Each logs
// that it is not completed and answers a constant; none touches the cache.
#include <QDebug>

#include "library_log.h"
#include "robot_proxy/realtime_robot_state.h"

namespace temla
{
namespace korvu_sdk
{
namespace
{

void logNotCompleted(const char *text)
{
    RP_LOG_WARNING().noquote() << text;
}

std::vector<double> sixZeros(const char *text)
{
    logNotCompleted(text);
    return std::vector<double>(6, 0.0);
}

int answer(const char *text, int value)
{
    logNotCompleted(text);
    return value;
}

StandardOutputRunState noRunState(const char *text)
{
    logNotCompleted(text);
    return StandardOutputRunState::None;
}

}  // namespace

#define NOT_COMPLETED(name) "RealtimeRobotState::" #name " is not yet completed. "

std::vector<double> RealtimeRobotState::getElbowPosistion()
{
    return sixZeros(NOT_COMPLETED(getElbowPosistion));
}

std::vector<double> RealtimeRobotState::getElbowVelocity()
{
    return sixZeros(NOT_COMPLETED(getElbowVelocity));
}

std::vector<double> RealtimeRobotState::getBaseForce()
{
    return sixZeros(NOT_COMPLETED(getBaseForce));
}

std::vector<double> RealtimeRobotState::getTcpTargetPose()
{
    return sixZeros(NOT_COMPLETED(getTcpTargetPose));
}

std::vector<double> RealtimeRobotState::getTcpTargetSpeed()
{
    return sixZeros(NOT_COMPLETED(getTcpTargetSpeed));
}

std::vector<double> RealtimeRobotState::getTcpTargetForce()
{
    return sixZeros(NOT_COMPLETED(getTcpTargetForce));
}

std::vector<double> RealtimeRobotState::getJointAccelerations()
{
    return sixZeros(NOT_COMPLETED(getJointAccelerations));
}

std::vector<double> RealtimeRobotState::getJointTorqueSensors()
{
    return sixZeros(NOT_COMPLETED(getJointTorqueSensors));
}

std::vector<double> RealtimeRobotState::getBaseForceSensor()
{
    return sixZeros(NOT_COMPLETED(getBaseForceSensor));
}

std::vector<double> RealtimeRobotState::getTcpForceSensors()
{
    return sixZeros(NOT_COMPLETED(getTcpForceSensors));
}

std::vector<double> RealtimeRobotState::getJointTargetPositions()
{
    return sixZeros(NOT_COMPLETED(getJointTargetPositions));
}

std::vector<double> RealtimeRobotState::getJointTargetSpeeds()
{
    return sixZeros(NOT_COMPLETED(getJointTargetSpeeds));
}

std::vector<double> RealtimeRobotState::getJointTargetAccelerations()
{
    return sixZeros(NOT_COMPLETED(getJointTargetAccelerations));
}

std::vector<double> RealtimeRobotState::getJointTargetTorques()
{
    return sixZeros(NOT_COMPLETED(getJointTargetTorques));
}

std::vector<double> RealtimeRobotState::getJointTargetCurrents()
{
    return sixZeros(NOT_COMPLETED(getJointTargetCurrents));
}

std::vector<int> RealtimeRobotState::getJointServoMode()
{
    logNotCompleted(NOT_COMPLETED(getJointServoMode));
    return std::vector<int>(6, -1);
}

int RealtimeRobotState::getConfigurableInputAction(int)
{
    return answer(NOT_COMPLETED(getConfigurableInputAction), 0);
}

int RealtimeRobotState::getStandardDigitalInputAction(int)
{
    return answer(NOT_COMPLETED(getStandardDigitalInputAction), 0);
}

int RealtimeRobotState::getToolDigitalInputAction(int)
{
    return answer(NOT_COMPLETED(getToolDigitalInputAction), 0);
}

int RealtimeRobotState::getConfigurableDigitalInputAction(int)
{
    return answer(NOT_COMPLETED(getConfigurableDigitalInputAction), 0);
}

StandardOutputRunState RealtimeRobotState::getConfigurableOutputRunstate(int)
{
    return noRunState(NOT_COMPLETED(getConfigurableOutputRunstate));
}

StandardOutputRunState RealtimeRobotState::getStandardDigitalOutputRunstate(int)
{
    return noRunState(NOT_COMPLETED(getStandardDigitalOutputRunstate));
}

StandardOutputRunState RealtimeRobotState::getToolDigitalOutputRunstate(int)
{
    return noRunState(NOT_COMPLETED(getToolDigitalOutputRunstate));
}

StandardOutputRunState RealtimeRobotState::getConfigurableDigitalOutputRunstate(int)
{
    return noRunState(NOT_COMPLETED(getConfigurableDigitalOutputRunstate));
}

StandardOutputRunState RealtimeRobotState::getStandardAnalogOutputRunstate(int)
{
    return noRunState(NOT_COMPLETED(getStandardAnalogOutputRunstate));
}

StandardOutputRunState RealtimeRobotState::getToolAnalogOutputRunstate(int)
{
    return noRunState(NOT_COMPLETED(getToolAnalogOutputRunstate));
}

int RealtimeRobotState::setToolDigitalOutputRunstate(int, StandardOutputRunState)
{
    return answer(NOT_COMPLETED(setToolDigitalOutputRunstate), -1);
}

int RealtimeRobotState::setConfigurableDigitalOutputRunstate(int, StandardOutputRunState)
{
    return answer(NOT_COMPLETED(setConfigurableDigitalOutputRunstate), -1);
}

int RealtimeRobotState::setToolAnalogOutputRunstate(int, StandardOutputRunState)
{
    return answer(NOT_COMPLETED(setToolAnalogOutputRunstate), -1);
}

// The texts below are the ones operators' log filters already match, irregular spacing included.
int RealtimeRobotState::setToolAnalogInputDomain(int, int)
{
    return answer("RealtimeRobotState::setToolAnalogInputDomainis not yet completed. ", -1);
}

int RealtimeRobotState::setToolAnalogOutputDomain(int, int)
{
    return answer("RealtimeRobotState::setToolAnalogOutputDomain not yet completed. ", -1);
}

int RealtimeRobotState::getStandardAnalogInputDomain(int)
{
    return answer("RealtimeRobotState::getStandardAnalogInputDomain not yet completed. ", -1);
}

int RealtimeRobotState::getToolAnalogInputDomain(int)
{
    return answer("RealtimeRobotState::getToolAnalogInputDomain not yet completed. ", -1);
}

int RealtimeRobotState::getStandardAnalogOutputDomain(int)
{
    return answer("RealtimeRobotState::getStandardAnalogOutputDomain not yet completed. ", -1);
}

int RealtimeRobotState::getToolAnalogOutputDomain(int)
{
    return answer("RealtimeRobotState::getToolAnalogOutputDomain not yet completed. ", -1);
}

int RealtimeRobotState::setToolDigitalOutput(int, bool)
{
    return answer("RealtimeRobotState::setToolDigitalOutput not yet completed. ", -1);
}

int RealtimeRobotState::setConfigurableDigitalOutput(int, bool)
{
    return answer("RealtimeRobotState::setConfigurableDigitalOutput not yet completed. ", -1);
}

int RealtimeRobotState::setToolAnalogOutput(int, double)
{
    return answer("RealtimeRobotState::setToolAnalogOutput not yet completed. ", -1);
}

}  // namespace korvu_sdk
}  // namespace temla
