#pragma once

#include <functional>
#include <memory>
#include <string>

#include "korvu_sdk/client_common.h"
#include "korvu_sdk/export.h"

namespace temla
{
namespace korvu_sdk
{
namespace detail
{
class ScriptCore;
}  // namespace detail

/// Results of sendString(); 0 is success.
constexpr int kScriptNotConnected = -1;  ///< not connected or not logged in
constexpr int kScriptRejected = -2;      ///< the controller refused the script
constexpr int kScriptNoAnswer = -3;      ///< timeout, lost connection or malformed reply

/// Receives a script error text.
using ScriptErrorCallback = std::function<void(const std::string &text)>;
/// Receives two texts of a script event.
using ScriptPairCallback = std::function<void(const std::string &first, const std::string &second)>;

/// Client of the controller's script server. The callbacks stay installed across connections and
/// are called on the client's delivery thread.
class KORVU_SDK_EXPORT ScriptClient
{
public:
    /// A client with no connection; mode is ignored.
    explicit ScriptClient(int mode = 0);
    /// Ends the connection.
    ~ScriptClient();
    /// Not copyable.
    ScriptClient(const ScriptClient &) = delete;
    /// Not copyable.
    ScriptClient &operator=(const ScriptClient &) = delete;

    /// Connects to the server at ip and port: kConnectOk (also when already connected) or a kConnect* code.
    int connect(const std::string &ip, int port);
    /// Logs in: 0 on success, kLogin* otherwise.
    int login(const std::string &user, const std::string &password);
    /// Logs out; does nothing when not connected.
    int logout();
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
    /// How long a connection may carry nothing from the server before it is closed as lost
    /// (event 1), in milliseconds; default kLivenessTimeoutMs, 0 turns the check off. Applies from
    /// the next connect(). Returns 0.
    int setLivenessTimeout(int timeout_ms);

    /// Sends the script text: 0, or a kScript* code.
    int sendString(const std::string &text);
    /// Calls callback with the text of every script error.
    void subscribeScriptError(ScriptErrorCallback callback);
    /// Calls callback with the two parts of every script error.
    void subscribeScriptError2(ScriptPairCallback callback);
    /// Calls callback with the name and value of every updated script variable.
    void subscribeVariableUpdate(ScriptPairCallback callback);

private:
    std::shared_ptr<detail::ScriptCore> core_;
};

}  // namespace korvu_sdk
}  // namespace temla
