#include "report/value_names.h"

#include <gtest/gtest.h>

#include <stdint.h>
#include <string>

namespace {

struct named_value {
    uint32_t value;
    const char* name;
};

TEST(value_names, bool_is_true_for_every_non_zero_value)
{
    EXPECT_STREQ(format_bool(0), "FALSE");
    for (int32_t value : {1, -1, 2, 0x7FFFFFFF, INT32_MIN}) {
        EXPECT_STREQ(format_bool(value), "TRUE") << value;
    }
}

TEST(value_names, color_space_table)
{
    const named_value cases[] = {
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
        {4294967295u, "DXGI_COLOR_SPACE_CUSTOM"},
        // Not rows: the first value past the enumerators, the one just below CUSTOM, and
        // values that only look like rows after a cut to 8 or 16 bits.
        {25, "Unknown"},
        {4294967294u, "Unknown"},
        {0x100, "Unknown"},
        {0x1000C, "Unknown"},
        {0x7FFFFFFF, "Unknown"},
    };
    for (const named_value& row : cases) {
        EXPECT_STREQ(format_color_space(row.value), row.name) << row.value;
    }
}

TEST(value_names, pixel_format_table)
{
    const named_value cases[] = {
        {0, "DXGI_FORMAT_UNKNOWN"},
        {10, "DXGI_FORMAT_R16G16B16A16_FLOAT"},
        {24, "DXGI_FORMAT_R10G10B10A2_UNORM"},
        {28, "DXGI_FORMAT_R8G8B8A8_UNORM"},
        {29, "DXGI_FORMAT_R8G8B8A8_UNORM_SRGB"},
        {87, "DXGI_FORMAT_B8G8R8A8_UNORM"},
        {89, "DXGI_FORMAT_R10G10B10_XR_BIAS_A2_UNORM"},
        {91, "DXGI_FORMAT_B8G8R8A8_UNORM_SRGB"},
        // Valid formats that are not listed, neighbours of listed ones, and the all-ones value.
        {2, "Unknown"},
        {9, "Unknown"},
        {11, "Unknown"},
        {88, "Unknown"},
        {90, "Unknown"},
        {92, "Unknown"},
        {0x157, "Unknown"},
        {4294967295u, "Unknown"},
    };
    for (const named_value& row : cases) {
        EXPECT_STREQ(format_dxgi_fmt(row.value), row.name) << row.value;
    }
}

TEST(value_names, the_same_input_gives_the_same_constant_text)
{
    EXPECT_EQ(format_bool(7), format_bool(1));
    EXPECT_EQ(format_color_space(12), format_color_space(12));
    EXPECT_EQ(format_dxgi_fmt(24), format_dxgi_fmt(24));
    // Both lookups fall back to one shared text.
    EXPECT_EQ(format_color_space(25), format_dxgi_fmt(2));
    // The name of format 0 is not the fallback.
    EXPECT_NE(std::string(format_dxgi_fmt(0)), std::string(format_dxgi_fmt(2)));
}

} // namespace
