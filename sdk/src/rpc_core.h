#pragma once

#include "client_core.h"

namespace temla
{
namespace korvu_sdk
{
namespace detail
{

// The RPC client's connection, shared by the client and every API handle it gave out.
class RpcCore : public ClientCore
{
public:
    RpcCore() : ClientCore("RPC", korvu_wire::Encoding::Json) {}
};

}  // namespace detail
}  // namespace korvu_sdk
}  // namespace temla
