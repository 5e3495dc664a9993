#pragma once

// korvu_sdk is built with hidden visibility; only what carries this macro is exported.
#define KORVU_SDK_EXPORT __attribute__((visibility("default")))
