#pragma once

#include <chrono>
#include <functional>

namespace test_support
{

// Generous, so that a loaded or sanitized machine does not fail a test that only waits.
constexpr std::chrono::milliseconds kWaitTimeout{20000};

// Re-checks the condition until it holds or the timeout passes; false on timeout. Between checks it
// processes the calling thread's Qt events when a Qt application exists, so queued signals arrive.
bool waitUntil(const std::function<bool()> &condition, std::chrono::milliseconds timeout = kWaitTimeout);

}  // namespace test_support
