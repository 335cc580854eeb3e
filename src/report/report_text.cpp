#include "report/report_text.h"

#include <math.h>
#include <stdint.h>
#include <stdio.h>

#include "report/name_text.h"
#include "report/value_names.h"
#include "report/whole_write.h"

namespace {

static_assert(sizeof(DXGI_ADAPTER_DESC1::Description) / sizeof(WCHAR) <= name_field_max_units,
              "adapter description must fit the name buffer");
static_assert(sizeof(DXGI_OUTPUT_DESC1::DeviceName) / sizeof(WCHAR) <= name_field_max_units,
              "output device name must fit the name buffer");

template <size_t unit_count>
void convert_field(const WCHAR (&field)[unit_count], name_text* text)
{
    convert_name_to_utf8(field, unit_count, text);
}

// LONG is 32 bits on Windows; `long` is wider on some hosts. Going through uint32_t keeps a
// negative value at 8 hex digits, exactly as a 32-bit `long` prints it.
unsigned long as_hex_long(int32_t value)
{
    return static_cast<uint32_t>(value);
}

// The width and height are 32-bit differences; wrap them as the platform's 32-bit arithmetic
// does instead of overflowing a signed int.
long difference_32(int32_t high, int32_t low)
{
    return static_cast<int32_t>(static_cast<uint32_t>(high) - static_cast<uint32_t>(low));
}

// One single-precision field as text. Wide enough for the longest "%.3f" of a float (39 digits,
// sign, point and decimals).
struct number_text {
    char bytes[64];
};

// Infinities and NaNs are spelled here rather than by the C runtime, since runtimes disagree
// ("-nan", "-nan(ind)") and the report must be the same bytes from every build. A NaN's sign
// carries no meaning, so every NaN is "nan".
bool spell_non_finite(double value, number_text* text)
{
    if (isnan(value)) {
        snprintf(text->bytes, sizeof text->bytes, "%s", "nan");
        return true;
    }
    if (isinf(value)) {
        snprintf(text->bytes, sizeof text->bytes, "%s", value < 0 ? "-inf" : "inf");
        return true;
    }
    return false;
}

// A chromaticity coordinate: fixed point, three decimals.
number_text chromaticity_text(FLOAT value)
{
    number_text text;
    if (!spell_non_finite(value, &text)) {
        snprintf(text.bytes, sizeof text.bytes, "%.3f", static_cast<double>(value));
    }
    return text;
}

// A luminance in nits: six significant digits, exponent form when very small or very large.
number_text luminance_text(FLOAT value)
{
    number_text text;
    if (!spell_non_finite(value, &text)) {
        snprintf(text.bytes, sizeof text.bytes, "%g", static_cast<double>(value));
    }
    return text;
}

} // namespace

void print_adapter_block(int adapter_index, const DXGI_ADAPTER_DESC1* desc)
{
    name_text name;
    convert_field(desc->Description, &name);
    write_whole(stdout,
                "Adapter %d:\n"
                "  Device Name: %s\n"
                "  Device ID: %04x:%04x (rev %02x)\n"
                "  Subsystem ID: %04x:%04x\n"
                "  LUID: %08lx%08lx\n",
                adapter_index,
                name.bytes,
                static_cast<unsigned>(desc->VendorId),
                static_cast<unsigned>(desc->DeviceId),
                static_cast<unsigned>(desc->Revision),
                static_cast<unsigned>(desc->SubSysId & 0xFFFFu),
                static_cast<unsigned>(desc->SubSysId >> 16),
                as_hex_long(desc->AdapterLuid.HighPart),
                static_cast<unsigned long>(desc->AdapterLuid.LowPart));
}

void print_output_block(int output_index, const DXGI_OUTPUT_DESC1* desc)
{
    name_text name;
    convert_field(desc->DeviceName, &name);
    const RECT& rect = desc->DesktopCoordinates;
    const number_text red_x = chromaticity_text(desc->RedPrimary[0]);
    const number_text red_y = chromaticity_text(desc->RedPrimary[1]);
    const number_text green_x = chromaticity_text(desc->GreenPrimary[0]);
    const number_text green_y = chromaticity_text(desc->GreenPrimary[1]);
    const number_text blue_x = chromaticity_text(desc->BluePrimary[0]);
    const number_text blue_y = chromaticity_text(desc->BluePrimary[1]);
    const number_text white_x = chromaticity_text(desc->WhitePoint[0]);
    const number_text white_y = chromaticity_text(desc->WhitePoint[1]);
    const number_text min_luminance = luminance_text(desc->MinLuminance);
    const number_text max_luminance = luminance_text(desc->MaxLuminance);
    const number_text max_full_frame_luminance = luminance_text(desc->MaxFullFrameLuminance);
    write_whole(stdout,
                "    Output %d:\n"
                "      Device Name: %s\n"
                "      Coordinates: %ldx%ld%+ld%+ld\n"
                "      Attached to desktop: %s\n"
                "      Bits-per-color: %u\n"
                "      Color space: %s (%u)\n"
                "      Red primary: %s, %s\n"
                "      Green primary: %s, %s\n"
                "      Blue primary: %s, %s\n"
                "      White point: %s, %s\n"
                "      Min luminance: %s nits\n"
                "      Max luminance: %s nits\n"
                "      Max full-frame luminance: %s nits\n",
                output_index,
                name.bytes,
                difference_32(rect.right, rect.left),
                difference_32(rect.bottom, rect.top),
                static_cast<long>(rect.top),
                static_cast<long>(rect.left),
                format_bool(desc->AttachedToDesktop),
                static_cast<unsigned>(desc->BitsPerColor),
                format_color_space(static_cast<uint32_t>(desc->ColorSpace)),
                static_cast<unsigned>(desc->ColorSpace),
                red_x.bytes,
                red_y.bytes,
                green_x.bytes,
                green_y.bytes,
                blue_x.bytes,
                blue_y.bytes,
                white_x.bytes,
                white_y.bytes,
                min_luminance.bytes,
                max_luminance.bytes,
                max_full_frame_luminance.bytes);
}

void print_desktop_mode(DXGI_FORMAT format)
{
    write_whole(stdout, "      Desktop mode: %s (%u)\n",
                format_dxgi_fmt(static_cast<uint32_t>(format)),
                static_cast<unsigned>(format));
}
