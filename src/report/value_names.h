#pragma once

// The fixed words the report prints for numeric values of the platform records.
// Every result is a constant text with static lifetime; nothing is allocated or freed.

#include <stdint.h>

// "TRUE" for any non-zero truth value, "FALSE" for zero.
const char* format_bool(int32_t value);

// The DXGI_COLOR_SPACE_TYPE enumerator name of a colour-space value, or "Unknown".
const char* format_color_space(uint32_t value);

// The DXGI_FORMAT enumerator name of the pixel formats a desktop mode may have, or "Unknown".
const char* format_dxgi_fmt(uint32_t value);
