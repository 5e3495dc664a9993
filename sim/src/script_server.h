#pragma once

#include <asio.hpp>
#include <memory>
#include <string>

#include "korvu_sim/simulator.h"
#include "korvu_wire/codec.h"
#include "program/program_runner.h"
#include "program/sim_program_host.h"

namespace temla::korvu_sim
{

// The script server: records the scripts peers send, runs them as programs on the first robot,
// and pushes notifications to its peers. Runs on the io thread.
class ScriptServer
{
public:
    explicit ScriptServer(Simulator::Impl &sim);

    korvu_wire::Json handle(const std::string &method, const korvu_wire::Json &params);
    // Sends the notification to every logged-in script connection.
    void push(const std::string &method, korvu_wire::Json params);

    // The program ticks run from startPrograms() until cancelPrograms().
    void startPrograms();
    void cancelPrograms();
    // Loads the program and starts it; false on a syntax error (reported like any script's).
    bool runProgram(const std::string &text);
    // RuntimeMachine's commands: 0, or RuntimeMachine::kNotAllowed / kNoProgram.
    int programCommand(ProgramCommand command);

private:
    void scheduleProgramTick();

    Simulator::Impl &sim_;
    program::SimProgramHost program_host_;
    program::ProgramRunner programs_;
    asio::steady_timer program_timer_;
};

}  // namespace temla::korvu_sim
