#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <asio.hpp>

#include "korvu_wire/codec.h"

// A bare server for wire-fault tests: one connection at a time, blocking I/O on its own thread.
// Each request goes to the handler, which replies (or not) through the server.
class FakeServer
{
public:
    using Json = temla::korvu_wire::Json;
    using Handler = std::function<void(FakeServer &, const temla::korvu_wire::Envelope &)>;

    explicit FakeServer(temla::korvu_wire::Encoding encoding);
    ~FakeServer();

    int port() const { return port_; }
    // Default: login and logout answer true, everything else gets no answer.
    void setHandler(Handler handler);
    // The clients' liveness pings are answered `true` (and not recorded) unless turned off, which
    // makes the server look like a stopped process.
    void setAnswerPings(bool answer) { answer_pings_ = answer; }

    void reply(int64_t id, Json result);
    void replyError(int64_t id, int code, const std::string &message);
    void send(const Json &message);
    void sendRaw(const std::string &bytes);
    void closeClient();

    bool waitForClients(int count, std::chrono::milliseconds timeout = std::chrono::seconds(10));
    int clients() const;
    std::vector<std::string> methods() const;

private:
    void run();
    void serve(asio::ip::tcp::socket &socket);

    const temla::korvu_wire::Encoding encoding_;
    asio::io_context io_;
    asio::ip::tcp::acceptor acceptor_;
    int port_ = 0;
    std::thread thread_;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> answer_pings_{true};

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    Handler handler_;
    asio::ip::tcp::socket *client_ = nullptr;
    int clients_ = 0;
    std::vector<std::string> methods_;
    std::mutex write_mutex_;
};
