#include "korvu_wire/framed_connection.h"

#include <algorithm>

namespace temla
{
namespace korvu_wire
{
namespace
{
// Bodies are read in pieces so that memory grows with the bytes actually received, not with the
// length a peer announces.
constexpr std::size_t kReadChunk = 64u * 1024u;
}  // namespace

std::string encodeFrameHeader(std::size_t payload_size)
{
    const auto size = static_cast<uint32_t>(payload_size);
    return std::string{static_cast<char>((size >> 24) & 0xff), static_cast<char>((size >> 16) & 0xff),
                       static_cast<char>((size >> 8) & 0xff), static_cast<char>(size & 0xff)};
}

bool InputBudget::take(std::size_t bytes)
{
    std::size_t used = used_.load();
    do {
        if (bytes > limit_ - used) {
            return false;
        }
    } while (!used_.compare_exchange_weak(used, used + bytes));
    return true;
}

FramedConnection::FramedConnection(asio::ip::tcp::socket socket, std::size_t max_frame_size,
                                   std::shared_ptr<InputBudget> budget)
    : socket_(std::move(socket)),
      strand_(asio::make_strand(socket_.get_executor())),
      max_frame_size_(max_frame_size),
      budget_(std::move(budget))
{
    asio::error_code ignored;
    remote_ = socket_.remote_endpoint(ignored);
    socket_.set_option(asio::ip::tcp::no_delay(true), ignored);
}

void FramedConnection::start(MessageHandler on_message, CloseHandler on_close)
{
    asio::dispatch(strand_, [self = shared_from_this(), on_message = std::move(on_message),
                             on_close = std::move(on_close)]() mutable {
        self->on_message_ = std::move(on_message);
        self->on_close_ = std::move(on_close);
        if (self->open_) {
            self->readHeader();
        }
    });
}

void FramedConnection::readHeader()
{
    asio::async_read(
        socket_, asio::buffer(header_),
        asio::bind_executor(strand_, [self = shared_from_this()](asio::error_code ec, std::size_t) {
            if (ec) {
                self->finish(ec == asio::error::eof ? "closed by peer" : ec.message(), false);
                return;
            }
            const std::size_t size = (std::size_t{self->header_[0]} << 24) |
                                     (std::size_t{self->header_[1]} << 16) |
                                     (std::size_t{self->header_[2]} << 8) | std::size_t{self->header_[3]};
            if (size > self->max_frame_size_) {
                self->finish("frame of " + std::to_string(size) + " bytes exceeds the limit", false);
                return;
            }
            self->body_.clear();
            self->readBody(size);
        }));
}

void FramedConnection::readBody(std::size_t remaining)
{
    if (!open_) {
        return;
    }
    if (remaining == 0) {
        std::string payload;
        payload.swap(body_);
        releaseBudget();
        if (on_message_) {
            on_message_(std::move(payload));
        }
        if (open_) {
            readHeader();
        }
        return;
    }
    chunk_.resize(std::min(remaining, kReadChunk));
    if (budget_) {
        if (!budget_->take(chunk_.size())) {
            finish("incoming frames of all connections exceed the input budget", false);
            return;
        }
        budgeted_ += chunk_.size();
    }
    asio::async_read(
        socket_, asio::buffer(chunk_),
        asio::bind_executor(strand_, [self = shared_from_this(), remaining](asio::error_code ec,
                                                                            std::size_t read) {
            if (ec) {
                self->finish(ec == asio::error::eof ? "closed by peer inside a frame" : ec.message(), false);
                return;
            }
            self->body_.append(self->chunk_, 0, read);
            self->readBody(remaining - read);
        }));
}

void FramedConnection::send(std::string payload)
{
    asio::dispatch(strand_, [self = shared_from_this(), payload = std::move(payload)]() mutable {
        if (!self->open_) {
            return;
        }
        if (payload.size() > self->max_frame_size_) {
            self->finish("outgoing frame exceeds the limit", false);
            return;
        }
        self->queued_bytes_ += payload.size() + kFrameHeaderSize;
        if (self->queued_bytes_ > kMaxQueuedBytes) {
            self->finish("peer does not read; send queue full", false);
            return;
        }
        self->write_queue_.push_back(encodeFrameHeader(payload.size()) + payload);
        if (self->write_queue_.size() == 1) {
            self->writeNext();
        }
    });
}

void FramedConnection::writeNext()
{
    asio::async_write(
        socket_, asio::buffer(write_queue_.front()),
        asio::bind_executor(strand_, [self = shared_from_this()](asio::error_code ec, std::size_t) {
            if (ec) {
                self->finish(ec.message(), false);
                return;
            }
            self->queued_bytes_ -= self->write_queue_.front().size();
            self->write_queue_.pop_front();
            if (!self->write_queue_.empty()) {
                self->writeNext();
            }
        }));
}

void FramedConnection::close()
{
    asio::dispatch(strand_, [self = shared_from_this()] { self->finish("closed", true); });
}

void FramedConnection::abort(const std::string &reason)
{
    asio::dispatch(strand_, [self = shared_from_this(), reason] { self->finish(reason, false); });
}

void FramedConnection::releaseBudget()
{
    if (budget_) {
        budget_->give(budgeted_);
    }
    budgeted_ = 0;
}

void FramedConnection::finish(const std::string &reason, bool local)
{
    if (!open_.exchange(false)) {
        return;
    }
    asio::error_code ignored;
    socket_.shutdown(asio::ip::tcp::socket::shutdown_both, ignored);
    socket_.close(ignored);
    std::string().swap(body_);
    std::string().swap(chunk_);
    releaseBudget();
    auto on_close = std::move(on_close_);
    if (on_close) {
        on_close(reason, local);
    }
}

}  // namespace korvu_wire
}  // namespace temla
