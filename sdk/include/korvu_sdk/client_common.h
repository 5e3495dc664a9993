#pragma once

#include <functional>
#include <string>

#include "korvu_sdk/protocol.h"

namespace temla
{
namespace korvu_sdk
{

/// Receives the SDK's log lines: level 0 (most severe) to 5 (most verbose), the source position
/// and the text. Called on whichever thread logs, with no client lock held.
using LogHandler = std::function<void(int level, const char *file, int line, const std::string &message)>;

/// Receives connection events; called on the client's delivery thread, with no client lock held.
using EventHandler = std::function<void(int event)>;

/// Log levels passed to the LogHandler.
constexpr int kLogFatal = 0;    ///< fatal errors, most severe
constexpr int kLogError = 1;    ///< errors
constexpr int kLogWarning = 2;  ///< warnings
constexpr int kLogInfo = 3;     ///< information
constexpr int kLogDebug = 4;    ///< debugging detail
constexpr int kLogTrace = 5;    ///< tracing, most verbose

/// Results of connect().
constexpr int kConnectOk = 0;           ///< connected, or already connected
constexpr int kConnectFailed = -1;      ///< refused, unreachable or not answered within the connect timeout
constexpr int kConnectBadAddress = -2;  ///< the address or port cannot be used

/// Results of login(); 0 is success.
constexpr int kLoginNotConnected = -1;  ///< not connected
constexpr int kLoginRejected = -2;      ///< the controller refused the user name or password
constexpr int kLoginNoAnswer = -3;      ///< timeout, lost connection or malformed reply

/// Why the last login of a client failed: the controller's error code and text, or the client's own
/// (error_code::kTimeout, kConnectionLost, ...). Code 0 and an empty text when it has not failed.
struct LoginFailure {
    int code = 0;         ///< The error code, 0 when the last login did not fail.
    std::string message;  ///< The error text, empty when the last login did not fail.
};

/// Default bound of a request before setRequestTimeout() is called, and of the realtime and script
/// clients' requests.
constexpr int kDefaultRequestTimeoutMs = 3000;
/// Bound of connect().
constexpr int kConnectTimeoutMs = 2000;

}  // namespace korvu_sdk
}  // namespace temla
