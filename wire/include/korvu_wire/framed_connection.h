#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include <asio.hpp>

#include "korvu_wire/codec.h"

namespace temla
{
namespace korvu_wire
{

/// Frame header: the payload length as 4 bytes, big-endian.
constexpr std::size_t kFrameHeaderSize = 4;
/// Bytes queued for sending beyond which the peer is taken as stuck and the connection closed.
constexpr std::size_t kMaxQueuedBytes = 64u * 1024u * 1024u;

/// The frame header announcing payload_size bytes.
std::string encodeFrameHeader(std::size_t payload_size);

/// Bytes of unfinished incoming frames that a group of connections (a server's) may hold together.
/// A connection that would go beyond it is closed; what it held is given back.
class InputBudget
{
public:
    /// A budget of limit bytes, none taken.
    explicit InputBudget(std::size_t limit) : limit_(limit) {}
    /// Takes bytes; false, taking nothing, when that would exceed the limit.
    bool take(std::size_t bytes);
    /// Gives back bytes taken earlier.
    void give(std::size_t bytes) { used_ -= bytes; }
    /// Bytes taken now.
    std::size_t used() const { return used_.load(); }

private:
    const std::size_t limit_;
    std::atomic<std::size_t> used_{0};
};

/// One TCP connection carrying length-prefixed frames. All socket work runs on a strand of the
/// socket's executor; send() and close() may be called from any thread. Handlers run on that strand.
class FramedConnection : public std::enable_shared_from_this<FramedConnection>
{
public:
    /// Receives the payload of each complete incoming frame.
    using MessageHandler = std::function<void(std::string payload)>;
    /// Called once when the connection ends; `local` is true when close() ended it.
    using CloseHandler = std::function<void(const std::string &reason, bool local)>;

    /// Takes over the connected socket; a frame larger than max_frame_size closes the connection, and
    /// unfinished incoming frames count against budget when one is given.
    explicit FramedConnection(asio::ip::tcp::socket socket, std::size_t max_frame_size = kMaxFrameSize,
                              std::shared_ptr<InputBudget> budget = nullptr);
    /// Not copyable.
    FramedConnection(const FramedConnection &) = delete;
    /// Not copyable.
    FramedConnection &operator=(const FramedConnection &) = delete;

    /// Starts reading; call once.
    void start(MessageHandler on_message, CloseHandler on_close);
    /// Queues one payload. Dropped once the connection is closed.
    void send(std::string payload);
    /// Ends the connection; queued frames not yet written are dropped.
    void close();
    /// Ends the connection as if the peer had misbehaved (`local` false for the close handler).
    void abort(const std::string &reason);

    /// Whether the connection has not ended yet.
    bool isOpen() const { return open_.load(); }
    /// The peer's address and port.
    asio::ip::tcp::endpoint remoteEndpoint() const { return remote_; }

private:
    void readHeader();
    void readBody(std::size_t remaining);
    void writeNext();
    void finish(const std::string &reason, bool local);
    void releaseBudget();

    asio::ip::tcp::socket socket_;
    asio::strand<asio::ip::tcp::socket::executor_type> strand_;
    asio::ip::tcp::endpoint remote_;
    const std::size_t max_frame_size_;
    const std::shared_ptr<InputBudget> budget_;
    std::size_t budgeted_ = 0;  // bytes of body_ taken from budget_
    std::atomic<bool> open_{true};
    MessageHandler on_message_;
    CloseHandler on_close_;
    uint8_t header_[kFrameHeaderSize] = {};
    std::string body_;
    std::string chunk_;
    std::deque<std::string> write_queue_;
    std::size_t queued_bytes_ = 0;
};

}  // namespace korvu_wire
}  // namespace temla
