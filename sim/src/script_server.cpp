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

ScriptServer::ScriptServer(Simulator::Impl &sim)
    : sim_(sim),
      program_host_(program::SimulatorLinks{
          sim.mutex, sim.state,
          [&sim](const common_interface::RobotMsg &message) { sim.realtime.distribute(message); },
          [this](const std::string &method, const std::vector<std::string> &params) {
              push(method, korvu_wire::Json(params));
          },
          [&sim] { sim.notifyChange(); }, [&sim] { sim.realtime.advanceModel(); },
          [&sim] { sim.realtime.flushOutbox(); }}),
      programs_(program_host_),
      program_timer_(sim.io)
{
}

void ScriptServer::startPrograms()
{
    scheduleProgramTick();
}

void ScriptServer::cancelPrograms()
{
    program_timer_.cancel();
}

void ScriptServer::scheduleProgramTick()
{
    program_timer_.expires_after(program::kTickPeriod);
    program_timer_.async_wait([this](std::error_code ec) {
        if (ec)
            return;
        programs_.tick(SteadyClock::now());
        scheduleProgramTick();
    });
}

bool ScriptServer::runProgram(const std::string &text)
{
    const auto now = SteadyClock::now();
    if (!programs_.load(text, now))
        return false;
    programs_.start(now);
    return true;
}

int ScriptServer::programCommand(ProgramCommand command)
{
    return programs_.apply(command, SteadyClock::now());
}

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
    runProgram(text);
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
