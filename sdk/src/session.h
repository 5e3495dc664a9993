#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include <asio.hpp>

#include "handlers.h"
#include "korvu_wire/codec.h"
#include "korvu_wire/framed_connection.h"

namespace temla
{
namespace korvu_sdk
{
namespace detail
{

using korvu_wire::Json;

// One connection of a client, from connect to disconnect or loss. Owns an I/O thread (socket,
// framing, decoding) and a delivery thread (subscribers, callbacks, the event handler). Both
// threads hold the session alive, so a session ended from one of its own threads stays valid
// until that thread returns.
class Session : public std::enable_shared_from_this<Session>
{
public:
    // Runs on the I/O thread for every notification; hands work to the delivery thread through
    // deliver(). Throwing korvu_wire::WireError marks the message as ill-typed.
    using NotificationHandler = std::function<void(Session &, const std::string &method, Json &params)>;
    // Runs on the I/O thread for a result, before the waiting request is woken.
    using ResultHook = std::function<void(const Json &result)>;

    // What a client adds to a session: the notification handler, work to do on the delivery
    // thread when the connection is lost (before event 1), and per-connection state.
    struct Hooks {
        NotificationHandler on_notification;
        std::function<void()> on_lost;
        std::shared_ptr<void> state;
    };

    Session(std::string name, korvu_wire::Encoding encoding, std::shared_ptr<Handlers> handlers, Hooks hooks);
    ~Session();
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    // Connects within kConnectTimeoutMs and starts the threads. kConnectOk or a kConnect* code.
    // A server silent for liveness_timeout_ms (0: no limit) is taken as lost; see kPingIntervalMs.
    int open(const std::string &ip, int port, int liveness_timeout_ms);
    // Deliberate end: no event. Joins both threads unless called on one of them.
    void shutdown();

    bool isOpen() const { return open_.load(); }
    bool isLoggedIn() const { return open_.load() && logged_in_.load(); }
    void setLoggedIn(bool logged_in) { logged_in_ = logged_in; }

    // Sends a request and waits for its result. Raises KorvuException: kNotConnected, kTimeout,
    // kConnectionLost, kProtocol, or the server's error code and message.
    Json request(const std::string &method, Json params, int timeout_ms, ResultHook hook = {});

    // Queues a task for the delivery thread. Blocks the I/O thread while the queue is full, so that
    // a slow subscriber slows the stream down instead of losing frames or memory.
    void deliver(std::function<void()> task);
    // Closes the connection as broken: logs the reason and raises event 1.
    void fail(const std::string &reason);

    const std::shared_ptr<Handlers> &handlers() const { return handlers_; }
    const std::shared_ptr<void> &state() const { return hooks_.state; }

private:
    struct Pending {
        std::promise<korvu_wire::Envelope> promise;
        ResultHook hook;
    };

    void runDelivery();
    void startLiveness(int timeout_ms);
    void checkLiveness(int timeout_ms);
    void sendPing();
    void onMessage(std::string payload);
    void onClosed(const std::string &reason, bool local);
    void failPending(int code, const std::string &message);
    void deliverLost();
    void stopAll();
    void threadDone();
    void reap(std::thread &thread);

    const std::string name_;
    const korvu_wire::Encoding encoding_;
    const std::shared_ptr<Handlers> handlers_;
    const Hooks hooks_;

    asio::io_context io_;
    std::optional<asio::executor_work_guard<asio::io_context::executor_type>> work_;
    std::shared_ptr<korvu_wire::FramedConnection> connection_;
    std::thread io_thread_;
    std::thread delivery_thread_;
    std::thread::id io_thread_id_;
    std::thread::id delivery_thread_id_;

    // Liveness, on the I/O thread only: when the server last sent a message, when we last pinged.
    std::optional<asio::steady_timer> liveness_timer_;
    std::chrono::steady_clock::time_point last_heard_;
    std::chrono::steady_clock::time_point last_ping_;

    std::atomic<bool> open_{false};
    std::atomic<bool> logged_in_{false};
    std::atomic<bool> deliberate_{false};
    std::atomic<bool> shut_{false};
    std::mutex thread_mutex_;
    std::condition_variable threads_done_;
    int running_threads_ = 0;

    std::mutex pending_mutex_;
    std::map<int64_t, std::shared_ptr<Pending>> pending_;
    int64_t next_id_ = 1;

    std::mutex queue_mutex_;
    std::condition_variable queue_ready_;
    std::condition_variable queue_space_;
    std::deque<std::function<void()>> queue_;
    bool stopping_ = false;
};

}  // namespace detail
}  // namespace korvu_sdk
}  // namespace temla
