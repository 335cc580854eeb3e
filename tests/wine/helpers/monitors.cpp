// Lists the monitors as user32 sees them, one line each: "DEVICE LEFT TOP RIGHT BOTTOM".
// The Wine tests hold nitscope's output names and rectangles against this second view.

#include <stdio.h>
#include <windows.h>

namespace {

BOOL CALLBACK print_monitor(HMONITOR monitor, HDC, LPRECT, LPARAM)
{
    MONITORINFOEXW info;
    ZeroMemory(&info, sizeof info);
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitor, &info)) {
        fprintf(stderr, "GetMonitorInfoW failed: %lu\n", GetLastError());
        return FALSE;
    }
    char device[sizeof info.szDevice * 2];
    if (WideCharToMultiByte(CP_UTF8, 0, info.szDevice, -1, device, sizeof device, nullptr, nullptr) == 0) {
        device[0] = '\0';
    }
    printf("%s %ld %ld %ld %ld\n", device, info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right,
           info.rcMonitor.bottom);
    return TRUE;
}

} // namespace

int main()
{
    if (!EnumDisplayMonitors(nullptr, nullptr, print_monitor, 0)) {
        fprintf(stderr, "EnumDisplayMonitors failed\n");
        return 1;
    }
    return 0;
}
