#pragma once

#include <optional>
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

// The parameter at index; throws RpcError (invalid parameters) when there is none.
const korvu_wire::Json &param(const korvu_wire::Json &params, size_t index);

// Answers a command request (docs/wire-protocol.md, "Commands"); nullopt when method is no command.
std::optional<korvu_wire::Json> callCommand(ControllerState &state, const std::string &method,
                                            const korvu_wire::Json &params);

// Answers one API request of the RPC server (everything but login and logout) from the state.
// Throws RpcError for unknown methods, bad parameters and unknown robots.
korvu_wire::Json callApi(ControllerState &state, const std::string &method, const korvu_wire::Json &params);

}  // namespace temla::korvu_sim
