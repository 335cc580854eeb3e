// Embeds nitscope's own manifest and prints what the loader made of its DPI settings: the two
// windowsSettings values as the activation context holds them, and the awareness this process
// was given. A manifest the loader cannot read would stop the program from starting at all.

#include <stdio.h>
#include <windows.h>

namespace {

void print_setting(const wchar_t* settings_namespace, const wchar_t* name)
{
    WCHAR value[128];
    SIZE_T written = 0;
    if (QueryActCtxSettingsW(0, nullptr, settings_namespace, name, value, ARRAYSIZE(value), &written)) {
        printf("%ls: %ls\n", name, value);
    } else {
        printf("%ls: (none, error %lu)\n", name, GetLastError());
    }
}

} // namespace

int main()
{
    print_setting(L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness");
    print_setting(L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware");
    const DPI_AWARENESS_CONTEXT context = GetThreadDpiAwarenessContext();
    printf("awareness: %d\n", static_cast<int>(GetAwarenessFromDpiAwarenessContext(context)));
    return 0;
}
