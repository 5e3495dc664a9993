#include "robot_view.h"

#include "robot_proxy/realtime_robot_state.h"
#include "robot_proxy/robot_proxy.h"

namespace pendant
{

RobotView readRobotView(temla::korvu_sdk::RobotProxy &proxy)
{
    auto cache = proxy.getRealTimeState();
    RobotView view;
    view.robot_mode = cache->getRobotModeType();
    view.safety_mode = cache->getSafetyModeType();
    view.operational_mode = cache->getOperationalMode();
    view.runtime_state = cache->getRuntimeState();
    view.line_number = cache->getLineNumber();
    view.speed_fraction = cache->getSpeedFraction();
    view.joint_positions = cache->getJointPositions();
    view.tcp_pose = cache->getTcpPose();
    return view;
}

}  // namespace pendant
