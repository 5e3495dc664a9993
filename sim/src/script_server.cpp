#include "script_server.h"

#include "korvu_wire/protocol.h"
#include "korvu_wire/values.h"
#include "rpc_methods.h"
#include "simulator_impl.h"

namespace temla::korvu_sim
{
namespace
{

// Bound on the scripts the simulator remembers.
constexpr size_t kMaxRecordedScripts = 10000;

}  // namespace

korvu_wire::Json ScriptServer::handle(const std::string &method, const korvu_wire::Json &params)
{
    if (method != korvu_wire::kSendString)
        throw RpcError(korvu_wire::kErrMethodNotFound, "no method " + method);
    if (!params.is_array() || params.size() != 1)
        throw RpcError(korvu_wire::kErrInvalidParams, "sendString takes one text");
    std::string text = korvu_wire::asString(params[0]);
    if (text.empty())
        throw RpcError(korvu_wire::kErrScriptRejected, "empty script");
    sim_.locked([&] {
        if (sim_.scripts.size() >= kMaxRecordedScripts)
            sim_.scripts.erase(sim_.scripts.begin());
        sim_.scripts.push_back(text);
    });
    sim_.log("script received (" + std::to_string(text.size()) + " bytes)");
    return 0;
}

void ScriptServer::push(const std::string &method, korvu_wire::Json params)
{
    korvu_wire::Json note = korvu_wire::makeNotification(method, std::move(params));
    for (const auto &session : sim_.sessions)
        if (session->kind == ServerKind::Script && session->logged_in)
            sim_.connections.send(session, note);
}

}  // namespace temla::korvu_sim
