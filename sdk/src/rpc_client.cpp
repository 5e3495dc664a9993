#include "korvu_sdk/rpc_client.h"

#include "rpc_core.h"

namespace temla
{
namespace korvu_sdk
{

RpcClient::RpcClient(int /*mode*/) : common_interface::KorvuApi(std::make_shared<detail::RpcCore>()) {}

// The core outlives the client while API handles still hold it; its connection ends here.
RpcClient::~RpcClient()
{
    core_->disconnect();
}

int RpcClient::connect(const std::string &ip, int port)
{
    return core_->connect(ip, port);
}
int RpcClient::login(const std::string &user, const std::string &password)
{
    return core_->login(user, password);
}
int RpcClient::logout()
{
    return core_->logout();
}
int RpcClient::logout(int timeout_ms)
{
    return core_->logout(timeout_ms);
}
int RpcClient::disconnect()
{
    return core_->disconnect();
}
bool RpcClient::hasConnected() const
{
    return core_->hasConnected();
}
bool RpcClient::hasLogined() const
{
    return core_->hasLogined();
}
void RpcClient::setLogHandler(LogHandler handler)
{
    core_->setLogHandler(std::move(handler));
}
void RpcClient::setEventHandler(EventHandler handler)
{
    core_->setEventHandler(std::move(handler));
}

int RpcClient::setRequestTimeout(int timeout_ms)
{
    core_->setRequestTimeout(timeout_ms);
    return 0;
}
int RpcClient::setLivenessTimeout(int timeout_ms)
{
    core_->setLivenessTimeout(timeout_ms);
    return 0;
}

int RpcClient::requestTimeout() const
{
    return core_->requestTimeout();
}

LoginFailure RpcClient::lastLoginFailure() const
{
    return core_->lastLoginFailure();
}

}  // namespace korvu_sdk
}  // namespace temla
