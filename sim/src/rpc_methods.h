#pragma once

#include <stdexcept>
#include <string>

#include "controller_state.h"
#include "korvu_wire/codec.h"

namespace temla::korvu_sim
{

// An RPC answered with a JSON-RPC error object.
struct RpcError : std::runtime_error {
    RpcError(int error_code, const std::string &message) : std::runtime_error(message), code(error_code) {}
    int code;
};

// Answers one API request of the RPC server (everything but login and logout) from the state.
// Throws RpcError for unknown methods, bad parameters and unknown robots.
korvu_wire::Json callApi(ControllerState &state, const std::string &method, const korvu_wire::Json &params);

}  // namespace temla::korvu_sim
