#pragma once

// The library is built with hidden visibility; only what carries this macro is exported.
#if defined(ROBOT_PROXY_BUILDING_LIBRARY)
#define ROBOT_PROXY_EXPORT __attribute__((visibility("default")))
#else
#define ROBOT_PROXY_EXPORT
#endif
