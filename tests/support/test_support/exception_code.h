#pragma once

// Helpers shared by the client tests against the in-test server and against the simulator.

#include <chrono>
#include <thread>

#include "korvu_sdk/korvu_exception.h"

namespace sdk_test
{

// Polls predicate until it holds; false when timeout passes first.
template <typename Predicate>
bool waitUntil(Predicate predicate, std::chrono::milliseconds timeout = std::chrono::seconds(10))
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!predicate()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

// The code of the KorvuException action raises, or 0 when it returns normally.
template <typename Action>
int codeOf(Action action)
{
    try {
        action();
    } catch (const temla::common_interface::KorvuException &e) {
        return e.code();
    }
    return 0;
}

}  // namespace sdk_test
