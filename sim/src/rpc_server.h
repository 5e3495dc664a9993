#pragma once

#include <string>

#include "korvu_sim/simulator.h"
#include "korvu_wire/codec.h"

namespace temla::korvu_sim
{

// The RPC server's API (everything but login and logout): answers from the controller state.
class RpcServer
{
public:
    explicit RpcServer(Simulator::Impl &sim) : sim_(sim) {}

    // Throws RpcError for unknown methods, bad parameters and unknown robots.
    korvu_wire::Json handle(const std::string &method, const korvu_wire::Json &params);

private:
    Simulator::Impl &sim_;
};

}  // namespace temla::korvu_sim
