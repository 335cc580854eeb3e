#include "report/value_names.h"

#include <stddef.h>

namespace {

struct value_name {
    uint32_t value;
    const char* name;
};

const char unknown_name[] = "Unknown";

const value_name color_space_names[] = {
    {0, "DXGI_COLOR_SPACE_RGB_FULL_G22_NONE_P709"},
    {1, "DXGI_COLOR_SPACE_RGB_FULL_G10_NONE_P709"},
    {2, "DXGI_COLOR_SPACE_RGB_STUDIO_G22_NONE_P709"},
    {3, "DXGI_COLOR_SPACE_RGB_STUDIO_G22_NONE_P2020"},
    {4, "DXGI_COLOR_SPACE_RESERVED"},
    {5, "DXGI_COLOR_SPACE_YCBCR_FULL_G22_NONE_P709_X601"},
    {6, "DXGI_COLOR_SPACE_YCBCR_STUDIO_G22_LEFT_P601"},
    {7, "DXGI_COLOR_SPACE_YCBCR_FULL_G22_LEFT_P601"},
    {8, "DXGI_COLOR_SPACE_YCBCR_STUDIO_G22_LEFT_P709"},
    {9, "DXGI_COLOR_SPACE_YCBCR_FULL_G22_LEFT_P709"},
    {10, "DXGI_COLOR_SPACE_YCBCR_STUDIO_G22_LEFT_P2020"},
    {11, "DXGI_COLOR_SPACE_YCBCR_FULL_G22_LEFT_P2020"},
    {12, "DXGI_COLOR_SPACE_RGB_FULL_G2084_NONE_P2020"},
    {13, "DXGI_COLOR_SPACE_YCBCR_STUDIO_G2084_LEFT_P2020"},
    {14, "DXGI_COLOR_SPACE_RGB_STUDIO_G2084_NONE_P2020"},
    {15, "DXGI_COLOR_SPACE_YCBCR_STUDIO_G22_TOPLEFT_P2020"},
    {16, "DXGI_COLOR_SPACE_YCBCR_STUDIO_G2084_TOPLEFT_P2020"},
    {17, "DXGI_COLOR_SPACE_RGB_FULL_G22_NONE_P2020"},
    {18, "DXGI_COLOR_SPACE_YCBCR_STUDIO_GHLG_TOPLEFT_P2020"},
    {19, "DXGI_COLOR_SPACE_YCBCR_FULL_GHLG_TOPLEFT_P2020"},
    {20, "DXGI_COLOR_SPACE_RGB_STUDIO_G24_NONE_P709"},
    {21, "DXGI_COLOR_SPACE_RGB_STUDIO_G24_NONE_P2020"},
    {22, "DXGI_COLOR_SPACE_YCBCR_STUDIO_G24_LEFT_P709"},
    {23, "DXGI_COLOR_SPACE_YCBCR_STUDIO_G24_LEFT_P2020"},
    {24, "DXGI_COLOR_SPACE_YCBCR_STUDIO_G24_TOPLEFT_P2020"},
    // The all-ones value, -1 when read as signed, is the platform's "custom" colour space.
    {0xFFFFFFFFu, "DXGI_COLOR_SPACE_CUSTOM"},
};

// Only the formats a desktop mode is expected to have; every other format prints as "Unknown".
const value_name dxgi_format_names[] = {
    {0, "DXGI_FORMAT_UNKNOWN"},
    {10, "DXGI_FORMAT_R16G16B16A16_FLOAT"},
    {24, "DXGI_FORMAT_R10G10B10A2_UNORM"},
    {28, "DXGI_FORMAT_R8G8B8A8_UNORM"},
    {29, "DXGI_FORMAT_R8G8B8A8_UNORM_SRGB"},
    {87, "DXGI_FORMAT_B8G8R8A8_UNORM"},
    {89, "DXGI_FORMAT_R10G10B10_XR_BIAS_A2_UNORM"},
    {91, "DXGI_FORMAT_B8G8R8A8_UNORM_SRGB"},
};

template <size_t row_count>
const char* find_name(const value_name (&table)[row_count], uint32_t value)
{
    for (const value_name& row : table) {
        if (row.value == value) {
            return row.name;
        }
    }
    return unknown_name;
}

} // namespace

const char* format_bool(int32_t value)
{
    return value != 0 ? "TRUE" : "FALSE";
}

const char* format_color_space(uint32_t value)
{
    return find_name(color_space_names, value);
}

const char* format_dxgi_fmt(uint32_t value)
{
    return find_name(dxgi_format_names, value);
}
