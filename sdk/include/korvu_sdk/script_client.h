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

// Results of sendString(); 0 is success.
constexpr int kScriptNotConnected = -1;  // not connected or not logged in
constexpr int kScriptRejected = -2;      // the controller refused the script
constexpr int kScriptNoAnswer = -3;      // timeout, lost connection or malformed reply

using ScriptErrorCallback = std::function<void(const std::string &text)>;
using ScriptPairCallback = std::function<void(const std::string &first, const std::string &second)>;

// Client of the controller's script server. The callbacks stay installed across connections and
// are called on the client's delivery thread.
class KORVU_SDK_EXPORT ScriptClient
{
public:
    explicit ScriptClient(int mode = 0);
    ~ScriptClient();
    ScriptClient(const ScriptClient &) = delete;
    ScriptClient &operator=(const ScriptClient &) = delete;

    int connect(const std::string &ip, int port);
    int login(const std::string &user, const std::string &password);
    int logout();
    int disconnect();
    bool hasConnected() const;
    bool hasLogined() const;

    void setLogHandler(LogHandler handler);
    void setEventHandler(EventHandler handler);
    // How long a connection may carry nothing from the server before it is closed as lost
    // (event 1), in milliseconds; default kLivenessTimeoutMs, 0 turns the check off. Applies from
    // the next connect(). Returns 0.
    int setLivenessTimeout(int timeout_ms);

    int sendString(const std::string &text);
    void subscribeScriptError(ScriptErrorCallback callback);
    void subscribeScriptError2(ScriptPairCallback callback);
    void subscribeVariableUpdate(ScriptPairCallback callback);

private:
    std::shared_ptr<detail::ScriptCore> core_;
};

}  // namespace korvu_sdk
}  // namespace temla
