#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

#include "handlers.h"
#include "session.h"

namespace temla
{
namespace korvu_sdk
{
namespace detail
{

// What the three clients share: connection and login, the handlers, requests with a timeout.
// Each connect() makes a fresh Session, so nothing of an earlier connection survives it.
class ClientCore
{
public:
    ClientCore(std::string name, korvu_wire::Encoding encoding);
    virtual ~ClientCore();
    ClientCore(const ClientCore &) = delete;
    ClientCore &operator=(const ClientCore &) = delete;

    int connect(const std::string &ip, int port);
    int login(const std::string &user, const std::string &password);
    int logout();
    // logout() with its request bounded by timeout_ms instead of the request time-out.
    int logout(int timeout_ms);
    int disconnect();
    bool hasConnected() const;
    bool hasLogined() const;

    void setLogHandler(LogHandler handler) { handlers_->setLog(std::move(handler)); }
    void setEventHandler(EventHandler handler) { handlers_->setEvent(std::move(handler)); }
    void setRequestTimeout(int timeout_ms) { timeout_ms_ = timeout_ms < 1 ? 1 : timeout_ms; }
    int requestTimeout() const { return timeout_ms_.load(); }
    // Applies from the next connect(); 0 turns the check off.
    void setLivenessTimeout(int timeout_ms) { liveness_ms_ = timeout_ms < 0 ? 0 : timeout_ms; }
    LoginFailure lastLoginFailure() const;

    // A request on a logged-in connection; raises KorvuException (kNotConnected, kNotLoggedIn, ...).
    Json call(const std::string &method, Json params, Session::ResultHook hook = {});
    // Closes the current connection as broken (a reply the caller could not decode).
    void failConnection(const std::string &reason);

    std::shared_ptr<Session> session() const;
    Handlers &handlers() const { return *handlers_; }
    const std::string &name() const { return name_; }

protected:
    // Called by connect() for each new session, on the connecting thread.
    virtual Session::Hooks makeHooks() { return {}; }

private:
    const std::string name_;
    const korvu_wire::Encoding encoding_;
    const std::shared_ptr<Handlers> handlers_ = std::make_shared<Handlers>();
    std::atomic<int> timeout_ms_{kDefaultRequestTimeoutMs};
    std::atomic<int> liveness_ms_{kLivenessTimeoutMs};
    mutable std::mutex failure_mutex_;
    LoginFailure login_failure_;
    std::mutex connect_mutex_;
    mutable std::mutex session_mutex_;
    std::shared_ptr<Session> session_;
};

}  // namespace detail
}  // namespace korvu_sdk
}  // namespace temla
