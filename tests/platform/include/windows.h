#pragma once

// Host stand-in for the Windows declarations nitscope uses, so that src/ compiles unchanged on
// Linux against the fake platform. Widths follow Windows x64, not the host: LONG and BOOL are
// 32 bits, WCHAR is a 16-bit UTF-16 code unit, SIZE_T is pointer-sized.

#include <stddef.h>
#include <stdint.h>

typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef int32_t INT;
typedef uint32_t UINT;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef uint32_t DWORD;
typedef int32_t BOOL;
typedef float FLOAT;
typedef size_t SIZE_T;
typedef char16_t WCHAR;
typedef DWORD* LPDWORD;
typedef LONG HRESULT;

struct HWND__;
typedef HWND__* HWND;
struct HINSTANCE__;
typedef HINSTANCE__* HMODULE;
struct HMONITOR__;
typedef HMONITOR__* HMONITOR;

struct LUID {
    DWORD LowPart;
    LONG HighPart;
};

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};

struct GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
};
typedef GUID IID;
typedef const IID& REFIID;

#define S_OK ((HRESULT)0)
#define E_NOTIMPL ((HRESULT)0x80004001)
#define E_NOINTERFACE ((HRESULT)0x80004002)
#define E_FAIL ((HRESULT)0x80004005)
#define SUCCEEDED(status) (((HRESULT)(status)) >= 0)
#define FAILED(status) (((HRESULT)(status)) < 0)

// kernel32 and user32: the console window and its owner.
extern "C" {
HWND GetConsoleWindow(void);
DWORD GetWindowThreadProcessId(HWND window, LPDWORD process_id);
DWORD GetCurrentProcessId(void);
}
