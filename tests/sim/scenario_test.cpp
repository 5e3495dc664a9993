#include <gtest/gtest.h>

#include <fstream>

#include "korvu_sim/scenario.h"
#include "korvu_sim/simulator.h"

namespace temla::korvu_sim
{
namespace
{

TEST(Scenario, ParsesEveryActionInTimeOrder)
{
    Scenario s = parseScenario(R"({
        "user": "op", "password": "pw",
        "robots": [{"name": "left", "type": "K6", "dof": 7, "robot_mode": "RobotModeType.Idle",
                    "safety_mode": "SafetyModeType.ReducedMode", "enc_tick_count": true},
                   {"name": "right"}],
        "events": [
            {"at": 2.5, "drop": "realtime"},
            {"at": 0.5, "message": {"code": 10001, "level": 1, "source": "left", "args": ["3", 4]}},
            {"at": 1, "robot_mode": {"robot": 1, "mode": "RobotModeType.PowerOff"}},
            {"at": 1, "safety_mode": {"robot": 0, "mode": "SafetyModeType.ProtectiveStop"}},
            {"at": 1.5, "register": {"name": "__internal.pn_server.connected", "value": true}},
            {"at": 1.5, "register": {"name": "x", "value": -7}},
            {"at": 2, "script_error": {"text": "line 3: oops"}},
            {"at": 2, "variable_update": {"name": "count", "value": 12}, "comment": "numbers become text"}
        ]})");
    EXPECT_EQ(s.user, "op");
    EXPECT_EQ(s.password, "pw");
    ASSERT_EQ(s.robots.size(), 2u);
    EXPECT_EQ(s.robots[0].name, "left");
    EXPECT_EQ(s.robots[0].dof, 7);
    EXPECT_EQ(s.robots[0].robot_mode, 5);
    EXPECT_EQ(s.robots[0].safety_mode, 2);
    EXPECT_TRUE(s.robots[0].enc_tick_count);
    EXPECT_FALSE(s.robots[1].type.has_value());
    EXPECT_FALSE(s.robots[1].enc_tick_count);

    using K = ScenarioEvent::Kind;
    ASSERT_EQ(s.events.size(), 8u);
    std::vector<K> kinds;
    for (const auto &e : s.events)
        kinds.push_back(e.kind);
    EXPECT_EQ(kinds, (std::vector<K>{K::Message, K::RobotMode, K::SafetyMode, K::Register, K::Register,
                                     K::ScriptError, K::VariableUpdate, K::Drop}));
    EXPECT_EQ(s.events[0].code, 10001);
    EXPECT_EQ(s.events[0].args, (std::vector<std::string>{"3", "4"}));
    EXPECT_EQ(s.events[1].robot, 1);
    EXPECT_EQ(s.events[1].mode, 3);
    EXPECT_EQ(s.events[2].mode, 5);
    EXPECT_EQ(s.events[3].register_value, 1);
    EXPECT_EQ(s.events[4].register_value, -7);
    EXPECT_EQ(s.events[5].text, "line 3: oops");
    EXPECT_EQ(s.events[6].text, "12");
    EXPECT_EQ(s.events[7].drop, ServerKind::Realtime);
}

TEST(Scenario, RejectsInvalidFilesNamingTheFault)
{
    struct Case {
        const char *json;
        const char *expected;
    };
    const Case cases[] = {
        {"{", "not valid JSON"},
        {"[]", "top level"},
        {R"({"robot": []})", "unknown key \"robot\""},
        {R"({"robots": []})", "robots"},
        {R"({"robots": [{"type": "K6"}]})", "robots[0]: missing \"name\""},
        {R"({"robots": [{"name": "a"}, {"name": "a"}]})", "used twice"},
        {R"({"robots": [{"name": "a", "dof": 0}]})", "robots[0].dof"},
        {R"({"robots": [{"name": "a", "robot_mode": "Idle"}]})", "robots[0].robot_mode"},
        {R"({"events": [{"message": {"code": 1}}]})", "events[0]: missing \"at\""},
        {R"({"events": [{"at": -1, "drop": "all"}]})", "events[0].at"},
        {R"({"events": [{"at": 1e10, "drop": "all"}]})", "events[0].at"},
        {R"({"events": [{"at": 1}]})", "exactly one action"},
        {R"({"events": [{"at": 1, "drop": "all", "script_error": {"text": "x"}}]})", "exactly one action"},
        {R"({"events": [{"at": 1, "drop": "everything"}]})", "events[0].drop"},
        {R"({"events": [{"at": 1, "message": {"level": 1}}]})", "events[0].message: missing \"code\""},
        {R"({"events": [{"at": 1, "message": {"code": 1, "args": [[1]]}}]})", "events[0].message.args[0]"},
        {R"({"events": [{"at": 1, "robot_mode": {"robot": 1, "mode": "RobotModeType.Idle"}}]})",
         "events[0].robot_mode.robot"},
        {R"({"events": [{"at": 1, "safety_mode": {"robot": 0, "mode": "SafetyModeType.Unkown"}}]})",
         "events[0].safety_mode.mode"},
        {R"({"events": [{"at": 1, "register": {"name": "r", "value": "1"}}]})", "events[0].register.value"},
        {R"({"events": [{"at": 1, "script_error": {}}]})", "missing \"text\""},
    };
    for (const auto &c : cases) {
        try {
            parseScenario(c.json);
            ADD_FAILURE() << "accepted: " << c.json;
        } catch (const ScenarioError &e) {
            EXPECT_NE(std::string(e.what()).find(c.expected), std::string::npos)
                << c.json << " -> " << e.what();
        }
    }
}

TEST(Scenario, MissingFileIsAScenarioError)
{
    EXPECT_THROW(loadScenario("/nonexistent/scenario.json"), ScenarioError);
}

TEST(Scenario, ExampleFileParsesAndAppliesToOptions)
{
    Scenario s = loadScenario(KORVU_SCENARIO_EXAMPLE);
    EXPECT_FALSE(s.events.empty());
    SimulatorOptions options = applyScenario(SimulatorOptions{}, s);
    ASSERT_EQ(options.robots.size(), s.robots.size());
    for (size_t i = 0; i < s.robots.size(); ++i) {
        EXPECT_EQ(options.robots[i].name, s.robots[i].name);
        EXPECT_EQ(options.robots[i].dof, s.robots[i].dof.value_or(6));
        EXPECT_EQ(options.robots[i].has_enc_tick_count, s.robots[i].enc_tick_count);
    }
    EXPECT_EQ(options.user, s.user.value_or("admin"));
    EXPECT_EQ(options.events.size(), s.events.size());
}

TEST(Scenario, RobotModeTextsRoundTrip)
{
    EXPECT_EQ(robotModeFromText("RobotModeType.NoController"), -1);
    EXPECT_EQ(robotModeFromText("RobotModeType.PowerOffing"), 11);
    EXPECT_EQ(robotModeFromText("RobotModeType.Unkown"), std::nullopt);
    EXPECT_EQ(robotModeFromText("robotmodetype.idle"), std::nullopt);
    EXPECT_EQ(safetyModeFromText("SafetyModeType.Fault"), 9);
    EXPECT_EQ(safetyModeFromText("SafetyModeType.Unkown"), std::nullopt);
}

}  // namespace
}  // namespace temla::korvu_sim
