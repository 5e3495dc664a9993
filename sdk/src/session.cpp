#include "session.h"

#include <algorithm>
#include <chrono>
#include <exception>

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
using korvu_wire::Envelope;

namespace
{
// Frames and callbacks waiting for the delivery thread before the reader waits for it.
constexpr std::size_t kMaxQueuedTasks = 256;

// Local failures travel to the waiting request like a server's error (the waiter raises it), which
// keeps exception objects from crossing threads.
Envelope errorEnvelope(int code, const std::string &message)
{
    Envelope envelope;
    envelope.kind = Envelope::Kind::Error;
    envelope.error_code = code;
    envelope.error_message = message;
    return envelope;
}
}  // namespace

Session::Session(std::string name, korvu_wire::Encoding encoding, std::shared_ptr<Handlers> handlers,
                 Hooks hooks)
    : name_(std::move(name)), encoding_(encoding), handlers_(std::move(handlers)), hooks_(std::move(hooks))
{
}

Session::~Session()
{
    for (auto *thread : {&io_thread_, &delivery_thread_}) {
        if (!thread->joinable()) {
            continue;
        }
        if (thread->get_id() == std::this_thread::get_id()) {
            thread->detach();
        } else {
            thread->join();
        }
    }
}

int Session::open(const std::string &ip, int port, int liveness_timeout_ms)
{
    if (port <= 0 || port > 65535 || ip.empty()) {
        return kConnectBadAddress;
    }
    work_.emplace(io_.get_executor());
    running_threads_ = 2;
    auto self = shared_from_this();
    io_thread_ = std::thread([self] {
        for (;;) {
            try {
                self->io_.run();
                break;
            } catch (const std::exception &e) {
                KORVU_LOG(*self->handlers_, kLogError, self->name_ + " I/O thread: " + e.what());
            }
        }
        self->threadDone();
    });
    io_thread_id_ = io_thread_.get_id();
    delivery_thread_ = std::thread([self] {
        self->runDelivery();
        self->threadDone();
    });
    delivery_thread_id_ = delivery_thread_.get_id();

    auto socket = std::make_shared<asio::ip::tcp::socket>(io_);
    auto resolver = std::make_shared<asio::ip::tcp::resolver>(io_);
    auto timer = std::make_shared<asio::steady_timer>(io_);
    auto done = std::make_shared<std::promise<asio::error_code>>();
    auto finished = std::make_shared<bool>(false);  // touched on the I/O thread only
    auto settle = [timer, resolver, done, finished](asio::error_code ec) {
        if (*finished) {
            return;
        }
        *finished = true;
        timer->cancel();
        resolver->cancel();
        done->set_value(ec);
    };
    asio::post(io_, [=, port_text = std::to_string(port)] {
        timer->expires_after(std::chrono::milliseconds(kConnectTimeoutMs));
        timer->async_wait([socket, settle](asio::error_code ec) {
            if (!ec) {
                asio::error_code ignored;
                socket->close(ignored);
                settle(asio::error::timed_out);
            }
        });
        resolver->async_resolve(
            ip, port_text, asio::ip::tcp::resolver::numeric_service,
            [socket, settle](asio::error_code ec, asio::ip::tcp::resolver::results_type results) {
                if (ec) {
                    settle(ec);
                    return;
                }
                asio::async_connect(*socket, results,
                                    [settle](asio::error_code connect_ec, const asio::ip::tcp::endpoint &) {
                                        settle(connect_ec);
                                    });
            });
    });
    const auto ec = done->get_future().get();
    if (ec) {
        KORVU_LOG(*handlers_, kLogWarning,
                  name_ + " connect to " + ip + ":" + std::to_string(port) + " failed: " + ec.message());
        shutdown();
        return kConnectFailed;
    }
    connection_ = std::make_shared<korvu_wire::FramedConnection>(std::move(*socket));
    open_ = true;
    std::weak_ptr<Session> weak = self;
    connection_->start(
        [weak](std::string payload) {
            if (auto session = weak.lock()) {
                session->onMessage(std::move(payload));
            }
        },
        [weak](const std::string &reason, bool local) {
            if (auto session = weak.lock()) {
                session->onClosed(reason, local);
            }
        });
    if (liveness_timeout_ms > 0) {
        asio::post(io_, [weak, liveness_timeout_ms] {
            if (auto session = weak.lock()) {
                session->startLiveness(liveness_timeout_ms);
            }
        });
    }
    KORVU_LOG(*handlers_, kLogInfo, name_ + " connected to " + ip + ":" + std::to_string(port));
    return kConnectOk;
}

void Session::startLiveness(int timeout_ms)
{
    last_heard_ = std::chrono::steady_clock::now();
    last_ping_ = last_heard_;
    liveness_timer_.emplace(io_);
    checkLiveness(timeout_ms);
}

// A stopped or hung server keeps its socket open, so silence is the only sign of it. Any message
// counts as a sign of life; an idle connection is pinged to draw one.
void Session::checkLiveness(int timeout_ms)
{
    if (!open_) {
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    const auto timeout = std::chrono::milliseconds(timeout_ms);
    const auto ping_interval = timeout * kPingIntervalMs / kLivenessTimeoutMs;
    if (now - last_heard_ >= timeout) {
        const std::string reason = "no message from the server for " + std::to_string(timeout_ms) + " ms";
        KORVU_LOG(*handlers_, kLogError, name_ + " " + reason + ", closing the connection");
        connection_->abort(reason);
        return;
    }
    if (now - last_heard_ >= ping_interval && now - last_ping_ >= ping_interval) {
        sendPing();
        last_ping_ = now;
    }
    liveness_timer_->expires_after(std::max(ping_interval / 4, std::chrono::milliseconds(1)));
    std::weak_ptr<Session> weak = shared_from_this();
    liveness_timer_->async_wait([weak, timeout_ms](asio::error_code ec) {
        auto session = weak.lock();
        if (!ec && session) {
            session->checkLiveness(timeout_ms);
        }
    });
}

// The answer (a result, or an error from a server that does not know the method) matches a
// pending entry nobody waits for and is dropped; only its arrival matters.
void Session::sendPing()
{
    int64_t id = 0;
    {
        std::lock_guard<std::mutex> lock(pending_mutex_);
        id = next_id_++;
        pending_.emplace(id, std::make_shared<Pending>());
    }
    connection_->send(
        korvu_wire::serialize(korvu_wire::makeRequest(id, korvu_wire::kPing, Json::array()), encoding_));
}

void Session::stopAll()
{
    deliberate_ = true;
    {
        std::lock_guard<std::mutex> lock(queue_mutex_);
        stopping_ = true;
    }
    queue_ready_.notify_all();
    queue_space_.notify_all();
    {
        std::lock_guard<std::mutex> lock(pending_mutex_);
        open_ = false;
    }
    logged_in_ = false;
    failPending(error_code::kConnectionLost, name_ + " connection closed");
    if (connection_) {
        connection_->close();
    }
    work_.reset();
    asio::post(io_, [this] { io_.stop(); });
}

void Session::shutdown()
{
    if (!shut_.exchange(true)) {
        stopAll();
    }
    const auto me = std::this_thread::get_id();
    const int own = (me == io_thread_id_ || me == delivery_thread_id_) ? 1 : 0;
    {
        std::unique_lock<std::mutex> lock(thread_mutex_);
        threads_done_.wait(lock, [&] { return running_threads_ <= own; });
    }
    reap(io_thread_);
    reap(delivery_thread_);
}

void Session::threadDone()
{
    std::lock_guard<std::mutex> lock(thread_mutex_);
    --running_threads_;
    threads_done_.notify_all();
}

void Session::reap(std::thread &thread)
{
    std::thread finished;
    {
        std::lock_guard<std::mutex> lock(thread_mutex_);
        if (!thread.joinable() || thread.get_id() == std::this_thread::get_id()) {
            return;
        }
        finished = std::move(thread);
    }
    finished.join();
}

void Session::runDelivery()
{
    for (;;) {
        std::function<void()> task;
        {
            std::unique_lock<std::mutex> lock(queue_mutex_);
            queue_ready_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (stopping_) {
                return;
            }
            task = std::move(queue_.front());
            queue_.pop_front();
        }
        queue_space_.notify_one();
        try {
            task();
        } catch (const std::exception &e) {
            KORVU_LOG(*handlers_, kLogError, name_ + " callback threw: " + e.what());
        } catch (...) {
            KORVU_LOG(*handlers_, kLogError, name_ + " callback threw");
        }
    }
}

void Session::deliver(std::function<void()> task)
{
    {
        std::unique_lock<std::mutex> lock(queue_mutex_);
        queue_space_.wait(lock, [this] { return stopping_ || queue_.size() < kMaxQueuedTasks; });
        if (stopping_) {
            return;
        }
        queue_.push_back(std::move(task));
    }
    queue_ready_.notify_one();
}

void Session::deliverLost()
{
    {
        std::lock_guard<std::mutex> lock(queue_mutex_);
        if (stopping_) {
            return;
        }
        queue_.push_back([on_lost = hooks_.on_lost, handlers = handlers_] {
            if (on_lost) {
                on_lost();
            }
            handlers->event(kEventConnectionLost);
        });
    }
    queue_ready_.notify_one();
}

void Session::fail(const std::string &reason)
{
    KORVU_LOG(*handlers_, kLogError, name_ + " protocol error, closing the connection: " + reason);
    if (connection_) {
        connection_->abort(reason);
    }
}

Json Session::request(const std::string &method, Json params, int timeout_ms, ResultHook hook)
{
    if (std::this_thread::get_id() == io_thread_id_) {
        throw KorvuException(error_code::kProtocol, "request issued on the " + name_ + " I/O thread");
    }
    auto pending = std::make_shared<Pending>();
    pending->hook = std::move(hook);
    auto result = pending->promise.get_future();
    int64_t id = 0;
    {
        std::lock_guard<std::mutex> lock(pending_mutex_);
        if (!open_) {
            throw KorvuException(error_code::kNotConnected, name_ + " client is not connected");
        }
        id = next_id_++;
        pending_.emplace(id, pending);
    }
    connection_->send(
        korvu_wire::serialize(korvu_wire::makeRequest(id, method, std::move(params)), encoding_));
    if (result.wait_for(std::chrono::milliseconds(timeout_ms)) != std::future_status::ready) {
        std::lock_guard<std::mutex> lock(pending_mutex_);
        if (pending_.erase(id) == 1) {
            throw KorvuException(error_code::kTimeout,
                                 method + ": no reply within " + std::to_string(timeout_ms) + " ms");
        }
    }
    const Envelope envelope = result.get();
    if (envelope.kind == Envelope::Kind::Error) {
        throw KorvuException(envelope.error_code, envelope.error_message,
                             envelope.error_data.is_null() ? std::string() : envelope.error_data.dump());
    }
    return envelope.result;
}

void Session::onMessage(std::string payload)
{
    last_heard_ = std::chrono::steady_clock::now();
    Json message;
    if (!korvu_wire::deserialize(payload, encoding_, message)) {
        fail("unreadable message of " + std::to_string(payload.size()) + " bytes");
        return;
    }
    payload.clear();
    Envelope envelope;
    std::string why;
    if (!korvu_wire::parseEnvelope(message, envelope, why)) {
        fail(why);
        return;
    }
    switch (envelope.kind) {
        case Envelope::Kind::Request:
            KORVU_LOG(*handlers_, kLogWarning,
                      name_ + " ignored a request from the server: " + envelope.method);
            return;
        case Envelope::Kind::Notification:
            if (hooks_.on_notification) {
                try {
                    hooks_.on_notification(*this, envelope.method, envelope.params);
                } catch (const std::exception &e) {
                    fail("ill-typed " + envelope.method + ": " + e.what());
                }
                // Waiting for the delivery thread is our own delay, not the server's silence.
                last_heard_ = std::chrono::steady_clock::now();
            }
            return;
        case Envelope::Kind::Result:
        case Envelope::Kind::Error:
            break;
    }
    if (!envelope.has_id) {
        KORVU_LOG(*handlers_, kLogWarning, name_ + " server error without id: " + envelope.error_message);
        return;
    }
    std::shared_ptr<Pending> pending;
    {
        std::lock_guard<std::mutex> lock(pending_mutex_);
        const auto it = pending_.find(envelope.id);
        if (it == pending_.end()) {
            KORVU_LOG(*handlers_, kLogDebug, name_ + " reply to a request no longer waited for");
            return;
        }
        pending = std::move(it->second);
        pending_.erase(it);
    }
    if (envelope.kind == Envelope::Kind::Result && pending->hook) {
        try {
            pending->hook(envelope.result);
        } catch (const std::exception &e) {
            pending->promise.set_value(
                errorEnvelope(error_code::kProtocol, std::string("ill-typed result: ") + e.what()));
            fail(std::string("ill-typed result: ") + e.what());
            return;
        }
    }
    pending->promise.set_value(std::move(envelope));
}

void Session::failPending(int code, const std::string &message)
{
    std::map<int64_t, std::shared_ptr<Pending>> failed;
    {
        std::lock_guard<std::mutex> lock(pending_mutex_);
        failed.swap(pending_);
    }
    for (auto &entry : failed) {
        entry.second->promise.set_value(errorEnvelope(code, message));
    }
}

void Session::onClosed(const std::string &reason, bool local)
{
    {
        std::lock_guard<std::mutex> lock(pending_mutex_);
        open_ = false;
    }
    logged_in_ = false;
    failPending(error_code::kConnectionLost, name_ + " connection lost: " + reason);
    if (local || deliberate_) {
        return;
    }
    KORVU_LOG(*handlers_, kLogWarning, name_ + " connection lost: " + reason);
    deliverLost();
}

}  // namespace detail
}  // namespace korvu_sdk
}  // namespace temla
