#include "client_core.h"

#include "korvu_sdk/korvu_exception.h"
#include "korvu_wire/protocol.h"
#include "korvu_wire/values.h"

namespace temla
{
namespace korvu_sdk
{
namespace detail
{

using common_interface::KorvuException;
namespace error_code = common_interface::error_code;

ClientCore::ClientCore(std::string name, korvu_wire::Encoding encoding)
    : name_(std::move(name)), encoding_(encoding)
{
}

ClientCore::~ClientCore()
{
    disconnect();
}

std::shared_ptr<Session> ClientCore::session() const
{
    std::lock_guard<std::mutex> lock(session_mutex_);
    return session_;
}

int ClientCore::connect(const std::string &ip, int port)
{
    std::lock_guard<std::mutex> connecting(connect_mutex_);
    std::shared_ptr<Session> stale;
    {
        std::lock_guard<std::mutex> lock(session_mutex_);
        if (session_ && session_->isOpen()) {
            return kConnectOk;
        }
        stale = std::move(session_);
    }
    if (stale) {
        stale->shutdown();
    }
    auto fresh = std::make_shared<Session>(name_, encoding_, handlers_, makeHooks());
    const int result = fresh->open(ip, port, liveness_ms_.load());
    if (result != kConnectOk) {
        return result;
    }
    std::lock_guard<std::mutex> lock(session_mutex_);
    session_ = std::move(fresh);
    return kConnectOk;
}

int ClientCore::login(const std::string &user, const std::string &password)
{
    const auto current = session();
    if (!current || !current->isOpen()) {
        return kLoginNotConnected;
    }
    try {
        // Only `true` logs in; any other answer is a protocol fault, so the hook closes the
        // connection and the request raises kProtocol.
        current->request(korvu_wire::kLogin, Json::array({user, password}), requestTimeout(),
                         [](const Json &result) {
                             if (result != Json(true)) {
                                 throw korvu_wire::WireError("login answered " + result.dump());
                             }
                         });
        current->setLoggedIn(true);
        return 0;
    } catch (const KorvuException &e) {
        KORVU_LOG(*handlers_, kLogWarning, name_ + " login failed: " + e.what());
        {
            std::lock_guard<std::mutex> lock(failure_mutex_);
            login_failure_ = LoginFailure{e.code(), e.what()};
        }
        switch (e.code()) {
            case error_code::kNotConnected:
                return kLoginNotConnected;
            case error_code::kTimeout:
            case error_code::kConnectionLost:
            case error_code::kProtocol:
                return kLoginNoAnswer;
            default:
                return kLoginRejected;
        }
    }
}

LoginFailure ClientCore::lastLoginFailure() const
{
    std::lock_guard<std::mutex> lock(failure_mutex_);
    return login_failure_;
}

int ClientCore::logout()
{
    return logout(requestTimeout());
}

int ClientCore::logout(int timeout_ms)
{
    const auto current = session();
    if (!current || !current->isOpen()) {
        return 0;
    }
    if (current->isLoggedIn()) {
        try {
            current->request(korvu_wire::kLogout, Json::array(), timeout_ms < 1 ? 1 : timeout_ms);
        } catch (const KorvuException &e) {
            KORVU_LOG(*handlers_, kLogDebug, name_ + " logout: " + e.what());
        }
    }
    current->setLoggedIn(false);
    return 0;
}

int ClientCore::disconnect()
{
    std::shared_ptr<Session> current;
    {
        std::lock_guard<std::mutex> lock(session_mutex_);
        current = std::move(session_);
    }
    if (current) {
        current->shutdown();
    }
    return 0;
}

bool ClientCore::hasConnected() const
{
    const auto current = session();
    return current && current->isOpen();
}

bool ClientCore::hasLogined() const
{
    const auto current = session();
    return current && current->isLoggedIn();
}

Json ClientCore::call(const std::string &method, Json params, Session::ResultHook hook)
{
    const auto current = session();
    if (!current || !current->isOpen()) {
        throw KorvuException(error_code::kNotConnected, name_ + " client is not connected");
    }
    if (!current->isLoggedIn()) {
        throw KorvuException(error_code::kNotLoggedIn, name_ + " client is not logged in");
    }
    return current->request(method, std::move(params), requestTimeout(), std::move(hook));
}

void ClientCore::failConnection(const std::string &reason)
{
    if (const auto current = session()) {
        current->fail(reason);
    }
}

}  // namespace detail
}  // namespace korvu_sdk
}  // namespace temla
