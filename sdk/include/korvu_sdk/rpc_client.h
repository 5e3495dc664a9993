#pragma once

#include <memory>
#include <string>

#include "korvu_sdk/api.h"
#include "korvu_sdk/client_common.h"
#include "korvu_sdk/export.h"

namespace temla
{
namespace korvu_sdk
{

/// Client of the controller's RPC server. The API operations are those of KorvuApi; they raise
/// KorvuException (error_code::kNotConnected, kNotLoggedIn, kTimeout, kConnectionLost, or the
/// controller's own code).
class KORVU_SDK_EXPORT RpcClient : public common_interface::KorvuApi
{
public:
    /// A client with no connection; mode is ignored.
    explicit RpcClient(int mode = 0);
    /// Ends the connection; API handles that still hold its core keep it alive, disconnected.
    ~RpcClient() override;
    /// Not copyable.
    RpcClient(const RpcClient &) = delete;
    /// Not copyable.
    RpcClient &operator=(const RpcClient &) = delete;

    /// 0 when connected (also when already connected), negative on failure (kConnect*).
    int connect(const std::string &ip, int port);
    /// 0 on success, kLogin* otherwise.
    int login(const std::string &user, const std::string &password);
    /// Does nothing when not connected; never throws.
    int logout();
    /// The same with the logout request bounded by timeout_ms instead of the request time-out.
    int logout(int timeout_ms);
    /// Closes the connection and stops the client's threads. Does nothing when not connected.
    int disconnect();
    /// Whether the connection is open.
    bool hasConnected() const;
    /// Whether the client is logged in.
    bool hasLogined() const;

    /// Receives the client's log lines.
    void setLogHandler(LogHandler handler);
    /// Receives the client's connection events.
    void setEventHandler(EventHandler handler);
    /// Bounds every later request, in milliseconds (values below 1 are taken as 1). Returns 0.
    int setRequestTimeout(int timeout_ms);
    /// The bound in force, in milliseconds.
    int requestTimeout() const;
    /// Why the last login failed (the controller's code and text, or the client's own).
    LoginFailure lastLoginFailure() const;
    /// How long a connection may carry nothing from the server before it is closed as lost
    /// (event 1), in milliseconds; default kLivenessTimeoutMs, 0 turns the check off. Applies from
    /// the next connect(). Returns 0.
    int setLivenessTimeout(int timeout_ms);
};

}  // namespace korvu_sdk
}  // namespace temla
