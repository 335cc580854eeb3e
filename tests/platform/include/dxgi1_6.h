#pragma once

// Host stand-in for the DXGI 1.6 declarations nitscope uses. Records keep the platform's field
// order and types; interfaces declare only the methods the walk calls, on the interface that
// declares them.

#include <unknwn.h>
#include <windows.h>

#define DXGI_ERROR_NOT_FOUND ((HRESULT)0x887A0002)

enum DXGI_FORMAT : UINT {
    DXGI_FORMAT_UNKNOWN = 0,
    DXGI_FORMAT_R16G16B16A16_FLOAT = 10,
    DXGI_FORMAT_R10G10B10A2_UNORM = 24,
    DXGI_FORMAT_R8G8B8A8_UNORM = 28,
    DXGI_FORMAT_B8G8R8A8_UNORM = 87,
    DXGI_FORMAT_FORCE_UINT = 0xFFFFFFFF,
};

enum DXGI_COLOR_SPACE_TYPE : UINT {
    DXGI_COLOR_SPACE_RGB_FULL_G22_NONE_P709 = 0,
    DXGI_COLOR_SPACE_RGB_FULL_G2084_NONE_P2020 = 12,
    DXGI_COLOR_SPACE_CUSTOM = 0xFFFFFFFF,
};

enum DXGI_MODE_ROTATION : UINT {
    DXGI_MODE_ROTATION_UNSPECIFIED = 0,
    DXGI_MODE_ROTATION_IDENTITY = 1,
};

enum DXGI_MODE_SCANLINE_ORDER : UINT {
    DXGI_MODE_SCANLINE_ORDER_UNSPECIFIED = 0,
    DXGI_MODE_SCANLINE_ORDER_PROGRESSIVE = 1,
};

enum DXGI_MODE_SCALING : UINT {
    DXGI_MODE_SCALING_UNSPECIFIED = 0,
};

struct DXGI_RATIONAL {
    UINT Numerator;
    UINT Denominator;
};

struct DXGI_MODE_DESC1 {
    UINT Width;
    UINT Height;
    DXGI_RATIONAL RefreshRate;
    DXGI_FORMAT Format;
    DXGI_MODE_SCANLINE_ORDER ScanlineOrdering;
    DXGI_MODE_SCALING Scaling;
    BOOL Stereo;
};

struct DXGI_ADAPTER_DESC1 {
    WCHAR Description[128];
    UINT VendorId;
    UINT DeviceId;
    UINT SubSysId;
    UINT Revision;
    SIZE_T DedicatedVideoMemory;
    SIZE_T DedicatedSystemMemory;
    SIZE_T SharedSystemMemory;
    LUID AdapterLuid;
    UINT Flags;
};

struct DXGI_OUTPUT_DESC1 {
    WCHAR DeviceName[32];
    RECT DesktopCoordinates;
    BOOL AttachedToDesktop;
    DXGI_MODE_ROTATION Rotation;
    HMONITOR Monitor;
    UINT BitsPerColor;
    DXGI_COLOR_SPACE_TYPE ColorSpace;
    FLOAT RedPrimary[2];
    FLOAT GreenPrimary[2];
    FLOAT BluePrimary[2];
    FLOAT WhitePoint[2];
    FLOAT MinLuminance;
    FLOAT MaxLuminance;
    FLOAT MaxFullFrameLuminance;
};

struct IDXGIOutput : IUnknown {
protected:
    ~IDXGIOutput() = default;
};

struct IDXGIOutput1 : IDXGIOutput {
    virtual HRESULT FindClosestMatchingMode1(const DXGI_MODE_DESC1* mode_to_match,
                                             DXGI_MODE_DESC1* closest_match,
                                             IUnknown* concerned_device) = 0;

protected:
    ~IDXGIOutput1() = default;
};

struct IDXGIOutput6 : IDXGIOutput1 {
    virtual HRESULT GetDesc1(DXGI_OUTPUT_DESC1* desc) = 0;

protected:
    ~IDXGIOutput6() = default;
};

struct IDXGIAdapter : IUnknown {
    virtual HRESULT EnumOutputs(UINT output_index, IDXGIOutput** output) = 0;

protected:
    ~IDXGIAdapter() = default;
};

struct IDXGIAdapter1 : IDXGIAdapter {
    virtual HRESULT GetDesc1(DXGI_ADAPTER_DESC1* desc) = 0;

protected:
    ~IDXGIAdapter1() = default;
};

struct IDXGIFactory1 : IUnknown {
    virtual HRESULT EnumAdapters1(UINT adapter_index, IDXGIAdapter1** adapter) = 0;

protected:
    ~IDXGIFactory1() = default;
};

struct IDXGIFactory5 : IDXGIFactory1 {
protected:
    ~IDXGIFactory5() = default;
};

extern "C" {
extern const IID IID_IDXGIFactory5;
extern const IID IID_IDXGIOutput6;
HRESULT CreateDXGIFactory1(REFIID riid, void** factory);
}
