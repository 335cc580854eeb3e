#pragma once

// Host stand-in for the Direct3D 11 declarations nitscope uses: device creation on an adapter.

#include <dxgi1_6.h>
#include <unknwn.h>
#include <windows.h>

#define D3D11_SDK_VERSION 7

enum D3D_DRIVER_TYPE : INT {
    D3D_DRIVER_TYPE_UNKNOWN = 0,
    D3D_DRIVER_TYPE_HARDWARE = 1,
};

enum D3D_FEATURE_LEVEL : INT {
    D3D_FEATURE_LEVEL_11_0 = 0xb000,
};

struct ID3D11Device : IUnknown {
protected:
    ~ID3D11Device() = default;
};

struct ID3D11DeviceContext : IUnknown {
protected:
    ~ID3D11DeviceContext() = default;
};

extern "C" HRESULT D3D11CreateDevice(IDXGIAdapter* adapter,
                                     D3D_DRIVER_TYPE driver_type,
                                     HMODULE software,
                                     UINT flags,
                                     const D3D_FEATURE_LEVEL* feature_levels,
                                     UINT feature_level_count,
                                     UINT sdk_version,
                                     ID3D11Device** device,
                                     D3D_FEATURE_LEVEL* chosen_feature_level,
                                     ID3D11DeviceContext** immediate_context);
