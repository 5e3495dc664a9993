#include "rpc_server.h"

#include "program/program_runner.h"
#include "rpc_methods.h"
#include "simulator_impl.h"

namespace temla::korvu_sim
{

korvu_wire::Json RpcServer::handle(const std::string &method, const korvu_wire::Json &params)
{
    if (auto command = program::programCommandOf(method))
        return sim_.script.programCommand(*command);
    // Commands act on the model as it is now; what they raise goes out with the next frames.
    sim_.realtime.advanceModel();
    korvu_wire::Json answer = sim_.locked([&] { return callApi(sim_.state, method, params); });
    sim_.realtime.flushOutbox();
    return answer;
}

}  // namespace temla::korvu_sim
