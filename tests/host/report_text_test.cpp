#include "report/report_text.h"

#include "fake/program_run.h"
#include "host/records.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace {

std::string adapter_block(int index, const DXGI_ADAPTER_DESC1& desc)
{
    return captured_stdout([&] { print_adapter_block(index, &desc); });
}

std::string output_block(int index, const DXGI_OUTPUT_DESC1& desc)
{
    return captured_stdout([&] { print_output_block(index, &desc); });
}

std::string desktop_mode(UINT format)
{
    return captured_stdout([&] { print_desktop_mode(static_cast<DXGI_FORMAT>(format)); });
}

// The one line of `block` that starts with `label` after its indentation.
std::string line_of(const std::string& block, const std::string& label)
{
    size_t start = 0;
    while (start < block.size()) {
        const size_t end = block.find('\n', start);
        const std::string line = block.substr(start, end - start);
        if (line.find_first_not_of(' ') != std::string::npos &&
            line.compare(line.find_first_not_of(' '), label.size(), label) == 0) {
            return line;
        }
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    return "(no line " + label + ")";
}

TEST(report_text, worked_example_byte_for_byte)
{
    const std::string report = adapter_block(0, example_adapter_desc()) +
                               output_block(0, example_output_desc()) + desktop_mode(24);
    EXPECT_EQ(report, example_report());
}

TEST(report_text, all_zero_adapter_description)
{
    EXPECT_EQ(adapter_block(0, DXGI_ADAPTER_DESC1{}),
              "Adapter 0:\n"
              "  Device Name: \n"
              "  Device ID: 0000:0000 (rev 00)\n"
              "  Subsystem ID: 0000:0000\n"
              "  LUID: 0000000000000000\n");
}

TEST(report_text, all_zero_output_description)
{
    EXPECT_EQ(output_block(0, DXGI_OUTPUT_DESC1{}), std::string("    Output 0:\n") + zero_output_fields());
}

TEST(report_text, adapter_numbers_are_padded_but_never_cut)
{
    struct adapter_case {
        UINT vendor, device, revision, subsystem;
        LONG luid_high;
        DWORD luid_low;
        const char* device_line;
        const char* subsystem_line;
        const char* luid_line;
    };
    const adapter_case cases[] = {
        {0x10de, 0x2684, 0xa1, 0x889c1043, 0, 0x1234,
         "Device ID: 10de:2684 (rev a1)", "Subsystem ID: 1043:889c", "LUID: 0000000000001234"},
        {0x12345, 0xabcdef, 0x1ff, 0xffff0000, 1, 2,
         "Device ID: 12345:abcdef (rev 1ff)", "Subsystem ID: 0000:ffff", "LUID: 0000000100000002"},
        {0xffffffff, 0, 0xffffffff, 0x0000ffff, -1, 0xffffffff,
         "Device ID: ffffffff:0000 (rev ffffffff)", "Subsystem ID: ffff:0000", "LUID: ffffffffffffffff"},
        // A negative high part stays 8 digits, as a 32-bit value.
        {1, 2, 3, 0x00010002, std::numeric_limits<LONG>::min(), 0,
         "Device ID: 0001:0002 (rev 03)", "Subsystem ID: 0002:0001", "LUID: 8000000000000000"},
    };
    for (const adapter_case& c : cases) {
        DXGI_ADAPTER_DESC1 desc{};
        desc.VendorId = c.vendor;
        desc.DeviceId = c.device;
        desc.Revision = c.revision;
        desc.SubSysId = c.subsystem;
        desc.AdapterLuid.HighPart = c.luid_high;
        desc.AdapterLuid.LowPart = c.luid_low;
        const std::string block = adapter_block(3, desc);
        EXPECT_EQ(line_of(block, "Adapter"), "Adapter 3:");
        EXPECT_EQ(line_of(block, "Device ID"), std::string("  ") + c.device_line);
        EXPECT_EQ(line_of(block, "Subsystem ID"), std::string("  ") + c.subsystem_line);
        EXPECT_EQ(line_of(block, "LUID"), std::string("  ") + c.luid_line);
    }
}

TEST(report_text, coordinates_read_width_height_top_then_left)
{
    struct rect_case {
        RECT rect;
        const char* line;
    };
    const LONG min = std::numeric_limits<LONG>::min();
    const LONG max = std::numeric_limits<LONG>::max();
    const rect_case cases[] = {
        {{-800, 60, 0, 660}, "Coordinates: 800x600+60-800"},
        {{1920, 0, 3840, 2160}, "Coordinates: 1920x2160+0+1920"},
        {{0, -1080, 1920, 0}, "Coordinates: 1920x1080-1080+0"},
        {{-2560, -1440, -1280, -720}, "Coordinates: 1280x720-1440-2560"},
        // An inverted rectangle gives negative sizes rather than huge unsigned ones.
        {{100, 100, 0, 0}, "Coordinates: -100x-100+100+100"},
        // The widest rectangle wraps as 32-bit arithmetic does, without overflowing.
        {{min, min, max, max}, "Coordinates: -1x-1-2147483648-2147483648"},
        {{max, 0, min, 0}, "Coordinates: 1x0+0+2147483647"},
    };
    for (const rect_case& c : cases) {
        DXGI_OUTPUT_DESC1 desc{};
        desc.DesktopCoordinates = c.rect;
        EXPECT_EQ(line_of(output_block(0, desc), "Coordinates"), std::string("      ") + c.line);
    }
}

TEST(report_text, output_fields_use_their_lookups_and_unsigned_numbers)
{
    DXGI_OUTPUT_DESC1 desc{};
    desc.AttachedToDesktop = -1;
    desc.BitsPerColor = 4294967295u;
    desc.ColorSpace = DXGI_COLOR_SPACE_CUSTOM;
    const std::string block = output_block(1, desc);
    EXPECT_EQ(line_of(block, "Output"), "    Output 1:");
    EXPECT_EQ(line_of(block, "Attached"), "      Attached to desktop: TRUE");
    EXPECT_EQ(line_of(block, "Bits-per-color"), "      Bits-per-color: 4294967295");
    EXPECT_EQ(line_of(block, "Color space"), "      Color space: DXGI_COLOR_SPACE_CUSTOM (4294967295)");

    desc.ColorSpace = static_cast<DXGI_COLOR_SPACE_TYPE>(25);
    EXPECT_EQ(line_of(output_block(1, desc), "Color space"), "      Color space: Unknown (25)");
}

TEST(report_text, chromaticity_prints_three_decimals)
{
    DXGI_OUTPUT_DESC1 desc{};
    desc.RedPrimary[0] = 0.708f;
    desc.RedPrimary[1] = 0.292f;
    desc.GreenPrimary[0] = 0.1700f;
    desc.GreenPrimary[1] = 0.7970f;
    desc.BluePrimary[0] = 0.1309f;
    desc.BluePrimary[1] = 0.0459f;
    desc.WhitePoint[0] = 0.3127f;
    desc.WhitePoint[1] = -0.0004f;
    std::string block = output_block(0, desc);
    EXPECT_EQ(line_of(block, "Red primary"), "      Red primary: 0.708, 0.292");
    EXPECT_EQ(line_of(block, "Green primary"), "      Green primary: 0.170, 0.797");
    EXPECT_EQ(line_of(block, "Blue primary"), "      Blue primary: 0.131, 0.046");
    EXPECT_EQ(line_of(block, "White point"), "      White point: 0.313, -0.000");

    desc.RedPrimary[0] = -std::numeric_limits<float>::quiet_NaN();
    desc.RedPrimary[1] = std::numeric_limits<float>::infinity();
    desc.GreenPrimary[0] = std::numeric_limits<float>::max();
    desc.GreenPrimary[1] = -std::numeric_limits<float>::max();
    block = output_block(0, desc);
    EXPECT_EQ(line_of(block, "Red primary"), "      Red primary: nan, inf");
    EXPECT_EQ(line_of(block, "Green primary"),
              "      Green primary: 340282346638528859811704183484516925440.000, "
              "-340282346638528859811704183484516925440.000");
}

TEST(report_text, luminance_in_shortest_general_form)
{
    struct luminance_case {
        float nits;
        const char* text;
    };
    const luminance_case cases[] = {
        {0.0001f, "0.0001"},
        {0.05f, "0.05"},
        {149.5f, "149.5"},
        {600.0f, "600"},
        {999999.0f, "999999"},
        {1234.5678f, "1234.57"},
        // Below 0.0001 and from a million up: exponent form, with at least two exponent digits.
        {0.00001f, "1e-05"},
        {0.0000123f, "1.23e-05"},
        {1000000.0f, "1e+06"},
        {1234567.0f, "1.23457e+06"},
        {3.0e38f, "3e+38"},
        {-1.0f, "-1"},
        // Spelled the same by every build, whatever its C runtime would write.
        {std::numeric_limits<float>::infinity(), "inf"},
        {-std::numeric_limits<float>::infinity(), "-inf"},
        {std::numeric_limits<float>::quiet_NaN(), "nan"},
        {-std::numeric_limits<float>::quiet_NaN(), "nan"},
        {std::numeric_limits<float>::signaling_NaN(), "nan"},
    };
    for (const luminance_case& c : cases) {
        DXGI_OUTPUT_DESC1 desc{};
        desc.MinLuminance = c.nits;
        desc.MaxLuminance = c.nits;
        desc.MaxFullFrameLuminance = c.nits;
        const std::string block = output_block(0, desc);
        EXPECT_EQ(line_of(block, "Min luminance"), std::string("      Min luminance: ") + c.text + " nits");
        EXPECT_EQ(line_of(block, "Max luminance"), std::string("      Max luminance: ") + c.text + " nits");
        EXPECT_EQ(line_of(block, "Max full-frame"),
                  std::string("      Max full-frame luminance: ") + c.text + " nits");
    }
}

TEST(report_text, names_are_utf8_and_bounded_by_their_field)
{
    DXGI_ADAPTER_DESC1 adapter{};
    set_name(adapter.Description, u"Radeon\u2122 RX 7900 \u00e9");
    EXPECT_EQ(line_of(adapter_block(0, adapter), "Device Name"),
              "  Device Name: Radeon\xE2\x84\xA2 RX 7900 \xC3\xA9");

    // A device name that fills all 32 units has no terminator; what follows it in the record
    // (the desktop rectangle) must not show up as text.
    DXGI_OUTPUT_DESC1 output{};
    for (WCHAR& unit : output.DeviceName) {
        unit = u'N';
    }
    output.DesktopCoordinates = {0x41414141, 0x41414141, 0x41414141, 0x41414141};
    EXPECT_EQ(line_of(output_block(0, output), "Device Name"),
              "      Device Name: " + std::string(32, 'N'));
}

TEST(report_text, desktop_mode_names_the_format_and_prints_its_number)
{
    EXPECT_EQ(desktop_mode(0), "      Desktop mode: DXGI_FORMAT_UNKNOWN (0)\n");
    EXPECT_EQ(desktop_mode(87), "      Desktop mode: DXGI_FORMAT_B8G8R8A8_UNORM (87)\n");
    EXPECT_EQ(desktop_mode(2), "      Desktop mode: Unknown (2)\n");
    EXPECT_EQ(desktop_mode(4294967295u), "      Desktop mode: Unknown (4294967295)\n");
}

} // namespace
