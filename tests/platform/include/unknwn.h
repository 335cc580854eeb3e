#pragma once

// Host stand-in for IUnknown: the reference count and the interface query of every COM object.

#include <windows.h>

struct IUnknown {
    virtual HRESULT QueryInterface(REFIID riid, void** object) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    ~IUnknown() = default;
};
