#pragma once

// robot_math is its own shared library built with hidden visibility; only what carries this macro is
// exported. Users of the header see plain declarations.
#if defined(ROBOT_MATH_BUILDING_LIBRARY)
#define ROBOT_MATH_EXPORT __attribute__((visibility("default")))
#else
#define ROBOT_MATH_EXPORT
#endif
