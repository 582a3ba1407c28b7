// Status codes returned by every worker; 0 is success. The binding layer turns
// any other value into the fatal report (or into false for boolean natives).
#pragma once
#include <cstdint>

using RukStatus = uint32_t;

inline constexpr RukStatus RUK_OK = 0;
inline constexpr RukStatus RUK_ERR_ALLOCATION = 1;    // allocation failed, or colour tables not built
inline constexpr RukStatus RUK_ERR_STACK_FULL = 2;    // model matrix stack full
inline constexpr RukStatus RUK_ERR_STACK_EMPTY = 3;   // model matrix stack empty
inline constexpr RukStatus RUK_ERR_LIGHTS_FULL = 4;   // light list full
inline constexpr RukStatus RUK_ERR_LIGHTS_EMPTY = 5;  // light list empty
inline constexpr RukStatus RUK_ERR_FAILED = 6;        // a lower-level step reported failure
inline constexpr RukStatus RUK_ERR_BAD_ARGUMENT = 7;  // bad argument
inline constexpr RukStatus RUK_ERR_PIXEL_FORMAT = 8;  // pixel format not supported
inline constexpr RukStatus RUK_ERR_NOT_POWER_OF_TWO = 9;
inline constexpr RukStatus RUK_ERR_BAD_MODEL_TYPE = 500;
inline constexpr RukStatus RUK_ERR_NOT_IMPLEMENTED = 501;
