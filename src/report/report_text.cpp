#include "report/report_text.h"

#include <stdint.h>
#include <stdio.h>

#include "report/name_text.h"
#include "report/value_names.h"

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

} // namespace

void print_adapter_block(int adapter_index, const DXGI_ADAPTER_DESC1* desc)
{
    name_text name;
    convert_field(desc->Description, &name);
    printf("Adapter %d:\n"
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
    printf("    Output %d:\n"
           "      Device Name: %s\n"
           "      Coordinates: %ldx%ld%+ld%+ld\n"
           "      Attached to desktop: %s\n"
           "      Bits-per-color: %u\n"
           "      Color space: %s (%u)\n"
           "      Red primary: %.3f, %.3f\n"
           "      Green primary: %.3f, %.3f\n"
           "      Blue primary: %.3f, %.3f\n"
           "      White point: %.3f, %.3f\n"
           "      Min luminance: %g nits\n"
           "      Max luminance: %g nits\n"
           "      Max full-frame luminance: %g nits\n",
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
           static_cast<double>(desc->RedPrimary[0]),
           static_cast<double>(desc->RedPrimary[1]),
           static_cast<double>(desc->GreenPrimary[0]),
           static_cast<double>(desc->GreenPrimary[1]),
           static_cast<double>(desc->BluePrimary[0]),
           static_cast<double>(desc->BluePrimary[1]),
           static_cast<double>(desc->WhitePoint[0]),
           static_cast<double>(desc->WhitePoint[1]),
           static_cast<double>(desc->MinLuminance),
           static_cast<double>(desc->MaxLuminance),
           static_cast<double>(desc->MaxFullFrameLuminance));
}

void print_desktop_mode(DXGI_FORMAT format)
{
    printf("      Desktop mode: %s (%u)\n",
           format_dxgi_fmt(static_cast<uint32_t>(format)),
           static_cast<unsigned>(format));
}
