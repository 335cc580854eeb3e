// Fake console and window services and the console key read.

#include "fake/fake_state.h"

#include "fake/file_contents.h"

#include <conio.h>
#include <unistd.h>

namespace {

const DWORD this_process_id = 4242;
const DWORD shell_process_id = 1717;
HWND const console_handle = reinterpret_cast<HWND>(static_cast<uintptr_t>(0xC0150E));

} // namespace

extern "C" HWND GetConsoleWindow(void)
{
    fake::record_call("GetConsoleWindow");
    return fake::machine().console == console_window::none ? nullptr : console_handle;
}

extern "C" DWORD GetWindowThreadProcessId(HWND window, LPDWORD process_id)
{
    fake::record_call("GetWindowThreadProcessId");
    if (window != console_handle || process_id == nullptr) {
        fake::record_fault("GetWindowThreadProcessId asked about a window that is not the console's");
        return 0;
    }
    if (*process_id != 0) {
        fake::record_fault("the owner identifier was not 0 before the owner query");
    }
    *process_id = fake::machine().console == console_window::of_this_process ? this_process_id
                                                                               : shell_process_id;
    return 99;
}

extern "C" DWORD GetCurrentProcessId(void)
{
    fake::record_call("GetCurrentProcessId");
    return this_process_id;
}

extern "C" int _getch(void)
{
    fake::record_call("_getch");
    fake::mutable_trace().stdout_at_key_read.push_back(file_contents(STDOUT_FILENO));
    fake::mutable_trace().stderr_at_key_read.push_back(file_contents(STDERR_FILENO));
    return 'y';
}
