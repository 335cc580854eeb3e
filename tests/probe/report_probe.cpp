// Prints report pieces for fixed records. Built for the host and for Windows; the Wine tests
// compare the two outputs, so every build must turn the same records into the same bytes
// (exponent digits, rounding, signs, 32-bit LONG handling, UTF-8 names).

#include "report/report_text.h"

#include "host/records.h"

#include <initializer_list>
#include <limits>

namespace {

void print_adapters()
{
    DXGI_ADAPTER_DESC1 desc = example_adapter_desc();
    set_name(desc.Description, u"Example Adapter \u00e9\u2122\U0001F600");
    print_adapter_block(0, &desc);

    desc.VendorId = 0x12345;
    desc.Revision = 0x1ff;
    desc.AdapterLuid.HighPart = -2;
    desc.AdapterLuid.LowPart = 0xffffffff;
    for (WCHAR& unit : desc.Description) {
        unit = static_cast<WCHAR>(u'x');
    }
    print_adapter_block(-1, &desc);
}

void print_outputs()
{
    const float luminances[][3] = {
        {0.05f, 600.0f, 400.0f},
        {0.0001f, 149.5f, 999999.0f},
        {0.00001f, 1000000.0f, 1234567.0f},
        {0.0000123f, 3.0e38f, -0.5f},
        {std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(), 1e-38f},
        {std::numeric_limits<float>::quiet_NaN(), -std::numeric_limits<float>::quiet_NaN(), 0.0f},
    };
    const LONG min = std::numeric_limits<LONG>::min();
    const LONG max = std::numeric_limits<LONG>::max();
    const RECT rects[] = {{-800, 60, 0, 660}, {min, min, max, max}, {1920, -1080, 3840, 0}, {0, 0, 0, 0},
                          {max, 5, min, -5}, {0, 0, 3840, 2160}};
    int index = 0;
    for (const float (&nits)[3] : luminances) {
        DXGI_OUTPUT_DESC1 desc = example_output_desc();
        set_name(desc.DeviceName, u"\\\\.\\DISPLAY1");
        desc.DesktopCoordinates = rects[index];
        desc.AttachedToDesktop = index % 2;
        desc.ColorSpace = static_cast<DXGI_COLOR_SPACE_TYPE>(index == 3 ? 0xFFFFFFFFu : 12u + index * 3);
        desc.GreenPrimary[0] = 0.2995f;
        desc.GreenPrimary[1] = 0.6005f;
        desc.BluePrimary[1] = -0.0004f;
        desc.MinLuminance = nits[0];
        desc.MaxLuminance = nits[1];
        desc.MaxFullFrameLuminance = nits[2];
        print_output_block(index, &desc);
        ++index;
    }
    for (unsigned format : {0u, 2u, 10u, 24u, 28u, 29u, 87u, 89u, 91u, 0xFFFFFFFFu}) {
        print_desktop_mode(static_cast<DXGI_FORMAT>(format));
    }
}

} // namespace

int main()
{
    print_adapters();
    print_outputs();
    return 0;
}
