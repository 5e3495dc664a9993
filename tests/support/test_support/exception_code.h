#pragma once

#include "korvu_sdk/korvu_exception.h"

namespace test_support
{

// The code of the KorvuException action raises, or 0 when it returns normally. Header only: the
// suites that use it link the SDK.
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

}  // namespace test_support
