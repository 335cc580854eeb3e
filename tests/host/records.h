#pragma once

// Records shared by the host tests: the worked example adapter and output, and name setting.

#include <dxgi1_6.h>

#include <string>

template <size_t unit_count>
void set_name(WCHAR (&field)[unit_count], const std::u16string& name)
{
    size_t i = 0;
    for (; i < name.size() && i + 1 < unit_count; ++i) {
        field[i] = name[i];
    }
    field[i] = 0;
}

inline DXGI_ADAPTER_DESC1 example_adapter_desc()
{
    DXGI_ADAPTER_DESC1 desc{};
    set_name(desc.Description, u"Example Adapter");
    desc.VendorId = 0xabc;
    desc.DeviceId = 0x1f;
    desc.Revision = 0xa1;
    desc.SubSysId = (0xDEu << 16) | 0xADu;
    desc.DedicatedVideoMemory = 8u << 20;
    desc.AdapterLuid.HighPart = 0;
    desc.AdapterLuid.LowPart = 0xc2f1;
    desc.Flags = 1;
    return desc;
}

inline DXGI_OUTPUT_DESC1 example_output_desc()
{
    DXGI_OUTPUT_DESC1 desc{};
    set_name(desc.DeviceName, u"Example Output");
    desc.DesktopCoordinates = {-800, 60, 0, 660};
    desc.AttachedToDesktop = 1;
    desc.Rotation = DXGI_MODE_ROTATION_IDENTITY;
    desc.BitsPerColor = 10;
    desc.ColorSpace = DXGI_COLOR_SPACE_RGB_FULL_G2084_NONE_P2020;
    desc.RedPrimary[0] = 0.640f;
    desc.RedPrimary[1] = 0.330f;
    desc.GreenPrimary[0] = 0.300f;
    desc.GreenPrimary[1] = 0.600f;
    desc.BluePrimary[0] = 0.150f;
    desc.BluePrimary[1] = 0.060f;
    desc.WhitePoint[0] = 0.3127f;
    desc.WhitePoint[1] = 0.3290f;
    desc.MinLuminance = 0.05f;
    desc.MaxLuminance = 600.0f;
    desc.MaxFullFrameLuminance = 400.0f;
    return desc;
}

inline const char* example_report()
{
    return "Adapter 0:\n"
           "  Device Name: Example Adapter\n"
           "  Device ID: 0abc:001f (rev a1)\n"
           "  Subsystem ID: 00ad:00de\n"
           "  LUID: 000000000000c2f1\n"
           "    Output 0:\n"
           "      Device Name: Example Output\n"
           "      Coordinates: 800x600+60-800\n"
           "      Attached to desktop: TRUE\n"
           "      Bits-per-color: 10\n"
           "      Color space: DXGI_COLOR_SPACE_RGB_FULL_G2084_NONE_P2020 (12)\n"
           "      Red primary: 0.640, 0.330\n"
           "      Green primary: 0.300, 0.600\n"
           "      Blue primary: 0.150, 0.060\n"
           "      White point: 0.313, 0.329\n"
           "      Min luminance: 0.05 nits\n"
           "      Max luminance: 600 nits\n"
           "      Max full-frame luminance: 400 nits\n"
           "      Desktop mode: DXGI_FORMAT_R10G10B10A2_UNORM (24)\n";
}

// The field lines of an output block whose description was left all zero.
inline const char* zero_output_fields()
{
    return "      Device Name: \n"
           "      Coordinates: 0x0+0+0\n"
           "      Attached to desktop: FALSE\n"
           "      Bits-per-color: 0\n"
           "      Color space: DXGI_COLOR_SPACE_RGB_FULL_G22_NONE_P709 (0)\n"
           "      Red primary: 0.000, 0.000\n"
           "      Green primary: 0.000, 0.000\n"
           "      Blue primary: 0.000, 0.000\n"
           "      White point: 0.000, 0.000\n"
           "      Min luminance: 0 nits\n"
           "      Max luminance: 0 nits\n"
           "      Max full-frame luminance: 0 nits\n";
}
