#include "console/console_pause.h"

#include <conio.h>
#include <stdio.h>
#include <windows.h>

bool has_own_console()
{
    const HWND window = GetConsoleWindow();
    if (window == nullptr) {
        return false;
    }
    DWORD owner_process_id = 0;
    GetWindowThreadProcessId(window, &owner_process_id);
    return owner_process_id == GetCurrentProcessId();
}

void maybe_pause()
{
    if (!has_own_console()) {
        return;
    }
    printf("Press any key to continue . . .");
    // The prompt must be on screen before the wait, even when stdout is buffered.
    fflush(stdout);
    // The key comes from the console keyboard, not from standard input, so a redirected
    // stdin is left alone.
    _getch();
    putchar('\n');
}
