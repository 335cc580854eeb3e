// Every text leaves in one write: handed to its stream in one call, flushed before the next.

#include "report/whole_write.h"

#include "fake/fake_machine.h"
#include "fake/program_run.h"
#include "report/report_text.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>

namespace {

using ::testing::ElementsAre;

TEST(whole_write, each_text_is_handed_over_in_one_call_and_flushed_alone)
{
    install_fake_machine(fake_machine{});
    const std::string out = captured_stdout([] {
        write_whole(stdout, "%s %d\n", "first", 1);
        write_whole(stdout, "second\n");
    });
    EXPECT_EQ(out, "first 1\nsecond\n");
    EXPECT_THAT(trace().stdout_writes, ElementsAre("first 1\n", "second\n"));
    EXPECT_THAT(flushed_texts(), ElementsAre("first 1\n", "second\n"));
}

TEST(whole_write, a_text_longer_than_the_buffer_is_written_whole)
{
    std::string text;
    for (size_t i = 0; text.size() < whole_write_size * 2 + 7; ++i) {
        text += std::to_string(i) + ",";
    }
    install_fake_machine(fake_machine{});
    EXPECT_EQ(captured_stdout([&text] { write_whole(stdout, "%s|", text.c_str()); }), text + "|");
}

// The longest text every field can print: the widest numbers, names that fill their fields
// with three-byte characters, the longest colour-space name and float extremes.
TEST(whole_write, the_largest_report_pieces_fit_one_write)
{
    DXGI_ADAPTER_DESC1 adapter{};
    for (WCHAR& unit : adapter.Description) {
        unit = u'\u20ac';
    }
    adapter.VendorId = adapter.DeviceId = adapter.SubSysId = adapter.Revision = 0xFFFFFFFFu;
    adapter.AdapterLuid = {0xFFFFFFFFu, -1};

    DXGI_OUTPUT_DESC1 output{};
    for (WCHAR& unit : output.DeviceName) {
        unit = u'\u20ac';
    }
    const LONG min = std::numeric_limits<LONG>::min();
    // Width and height wrap to -2147483648, as 32-bit arithmetic does.
    output.DesktopCoordinates = {min, min, 0, 0};
    output.AttachedToDesktop = 1;
    output.BitsPerColor = 0xFFFFFFFFu;
    // 16: DXGI_COLOR_SPACE_YCBCR_STUDIO_G2084_TOPLEFT_P2020, the longest name.
    output.ColorSpace = static_cast<DXGI_COLOR_SPACE_TYPE>(16);
    for (FLOAT* chromaticity : {output.RedPrimary, output.GreenPrimary, output.BluePrimary, output.WhitePoint}) {
        chromaticity[0] = chromaticity[1] = -std::numeric_limits<float>::max();
    }
    output.MinLuminance = output.MaxLuminance = output.MaxFullFrameLuminance = -std::numeric_limits<float>::min();

    const int index = std::numeric_limits<int>::min();
    for (const auto& piece : {std::function<void()>([&] { print_adapter_block(index, &adapter); }),
                              std::function<void()>([&] { print_output_block(index, &output); })}) {
        install_fake_machine(fake_machine{});
        const std::string out = captured_stdout(piece);
        EXPECT_THAT(trace().stdout_writes, ElementsAre(out));
        EXPECT_THAT(flushed_texts(), ElementsAre(out));
    }
}

} // namespace
