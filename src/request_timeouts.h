#pragma once

// The bounds the library puts on its own RPC requests, in milliseconds.

namespace temla::korvu_sdk::detail
{

// Set on the RPC client when the proxy is built: a controller that answers at all answers a request
// well within it, so a stalled one is noticed quickly. The application may set another bound.
constexpr int kRpcRequestTimeoutMs = 100;

// The one slow request, the Modbus signal names, which the controller collects before it answers.
constexpr int kSlowRequestTimeoutMs = 2000;

// The log-outs of the teardown: sent, but waited for only this long, so that destroying the proxy
// never waits on a controller that has stopped answering.
constexpr int kTeardownRequestTimeoutMs = 10;

}  // namespace temla::korvu_sdk::detail
