#pragma once

#include <string>

#include "korvu_sim/simulator.h"
#include "korvu_wire/codec.h"

namespace temla::korvu_sim
{

// The script server: records the scripts peers send and pushes notifications to its peers.
// Runs on the io thread.
class ScriptServer
{
public:
    explicit ScriptServer(Simulator::Impl &sim) : sim_(sim) {}

    korvu_wire::Json handle(const std::string &method, const korvu_wire::Json &params);
    // Sends the notification to every logged-in script connection.
    void push(const std::string &method, korvu_wire::Json params);

private:
    Simulator::Impl &sim_;
};

}  // namespace temla::korvu_sim
