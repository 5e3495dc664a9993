#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "program/program_host.h"

namespace program_test
{

using namespace temla::korvu_sim::program;
using temla::common_interface::RobotMsg;
using temla::common_interface::RuntimeState;

// A robot whose moves end when the test says so; records everything the runner tells it.
class FakeHost : public ProgramHost
{
public:
    std::string robotName() const override { return "robot1"; }
    int dof() const override { return 6; }

    MotionStatus startMotion(const MotionCommand &command) override
    {
        commands.push_back(command);
        if (refuse)
            return {MotionProgress::Aborted, -7, "target outside the joint limits"};
        moving = true;
        return {MotionProgress::Moving, 0, {}};
    }
    MotionStatus motionStatus() override
    {
        if (abort_reason)
            return {MotionProgress::Aborted, -9, *abort_reason};
        return {moving ? MotionProgress::Moving : MotionProgress::Done, 0, {}};
    }
    void holdMotion(bool hold) override { holds.push_back(hold); }
    bool steady() override { return settled; }
    void stopMotion() override
    {
        moving = false;
        ++stops;
    }
    std::vector<double> jointPositions() override { return {0.1, 0.2, 0.3, 0.4, 0.5, 0.6}; }
    std::vector<double> tcpPose() override { return {0.5, 0.0, 0.4, 3.14, 0.0, 0.0}; }

    bool setDigitalOutput(int index, bool value) override
    {
        if (index >= 16)
            return false;
        digital_out[index] = value;
        return true;
    }
    std::optional<bool> digitalOutput(int index) override
    {
        if (index >= 16)
            return std::nullopt;
        return digital_out[index];
    }
    std::optional<bool> digitalInput(int index) override
    {
        if (index >= 16)
            return std::nullopt;
        return index == 3;
    }
    bool setAnalogOutput(int index, double value) override
    {
        if (index >= 2)
            return false;
        analog_out[index] = value;
        return true;
    }
    std::optional<double> analogOutput(int index) override
    {
        if (index >= 2)
            return std::nullopt;
        return analog_out[index];
    }
    std::optional<double> analogInput(int index) override
    {
        if (index >= 2)
            return std::nullopt;
        return 2.5;
    }
    void setTcp(const std::vector<double> &offset) override { tcp = offset; }
    void setPayload(double m, const std::vector<double> &c) override
    {
        mass = m;
        cog = c;
    }

    void sendMessage(const RobotMsg &message) override { messages.push_back(message); }
    void notifyScript(const std::string &method, const std::vector<std::string> &params) override
    {
        notes.emplace_back(method, params);
    }
    void setRuntimeState(RuntimeState state) override { states.push_back(state); }
    void setRuntimeContext(int task, int line) override { runtime_context = {task, line}; }

    std::vector<RobotMsg> messagesOf(int code) const
    {
        std::vector<RobotMsg> found;
        for (const auto &m : messages)
            if (m.code == code)
                found.push_back(m);
        return found;
    }
    std::vector<std::vector<std::string>> notesOf(const std::string &method) const
    {
        std::vector<std::vector<std::string>> found;
        for (const auto &[m, params] : notes)
            if (m == method)
                found.push_back(params);
        return found;
    }

    bool refuse = false;
    bool settled = true;
    bool moving = false;
    std::optional<std::string> abort_reason;
    int stops = 0;
    std::vector<MotionCommand> commands;
    std::vector<bool> holds;
    std::map<int, bool> digital_out;
    std::map<int, double> analog_out;
    std::vector<double> tcp;
    double mass = -1.0;
    std::vector<double> cog;
    std::vector<RobotMsg> messages;
    std::vector<std::pair<std::string, std::vector<std::string>>> notes;
    std::vector<RuntimeState> states;
    std::pair<int, int> runtime_context{-1, -1};
};

}  // namespace program_test
