#include "console/console_pause.h"

#include <conio.h>
#include <stdio.h>
#include <windows.h>

#include "report/whole_write.h"

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
    // Written whole and flushed: the prompt is on screen before the wait begins.
    write_whole(stdout, "Press any key to continue . . .");
    // The key comes from the console keyboard, not from standard input, so a redirected
    // stdin is left alone.
    _getch();
    putchar('\n');
}
