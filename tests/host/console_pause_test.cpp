// The exit pause, through nitscope's main: who owns the console window decides whether the run
// waits for a key, and the wait never changes the report, the failure line or the exit status.

#include "console/console_pause.h"

#include "fake/program_run.h"
#include "host/machines.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const char prompt[] = "Press any key to continue . . .";

struct pause_case {
    const char* what;
    console_window console;
    bool walk_fails;
    stdout_destination destination;
    int status;
    const char* err;
    bool pauses;
};

TEST(exit_pause, waits_only_in_a_console_window_of_its_own)
{
    const pause_case cases[] = {
        {"no console window", console_window::none, false, stdout_destination::file, 0, "", false},
        {"no console window, failed walk", console_window::none, true, stdout_destination::file, 1,
         "DXGI 1.6 not supported: 0x80004002\n", false},
        {"a shell's console window", console_window::of_other_process, false, stdout_destination::file, 0, "",
         false},
        {"a shell's console window, failed walk", console_window::of_other_process, true,
         stdout_destination::file, 1, "DXGI 1.6 not supported: 0x80004002\n", false},
        {"its own console window", console_window::of_this_process, false, stdout_destination::file, 0, "",
         true},
        {"its own console window, failed walk", console_window::of_this_process, true, stdout_destination::file,
         1, "DXGI 1.6 not supported: 0x80004002\n", true},
        {"its own console window, report not written", console_window::of_this_process, false,
         stdout_destination::full_device, 1, "Failed to write report\n", true},
    };
    for (const pause_case& c : cases) {
        SCOPED_TRACE(c.what);
        fake_machine machine = example_machine(c.console);
        if (c.walk_fails) {
            machine.adapters[0].outputs[0].query_status = E_NOINTERFACE;
        }
        install_fake_machine(machine);
        const program_run result = run_nitscope(c.destination);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.err, c.err);
        EXPECT_TRUE(result.stdin_untouched);

        // The console is looked at once, after every release; only its own window is waited in.
        std::vector<std::string> console_calls = {"GetConsoleWindow"};
        if (c.console != console_window::none) {
            console_calls.insert(console_calls.end(), {"GetWindowThreadProcessId", "GetCurrentProcessId"});
        }
        if (c.pauses) {
            console_calls.push_back("_getch");
        }
        const std::vector<std::string>& calls = trace().calls;
        EXPECT_THAT(calls_containing("GetConsoleWindow"), ElementsAre("GetConsoleWindow"));
        EXPECT_EQ(std::vector<std::string>(std::find(calls.begin(), calls.end(), "GetConsoleWindow"), calls.end()),
                  console_calls);

        // A failed walk stops at the first output: only the adapter block was written.
        const std::string whole_report = example_report();
        const std::string before_pause =
            c.walk_fails ? whole_report.substr(0, whole_report.find("    Output 0:")) : whole_report;
        if (c.pauses) {
            EXPECT_EQ(trace().stdout_writes.back(), prompt);
            EXPECT_EQ(flushed_texts().back(), prompt);
            // All report and failure text, then the prompt, were out before the wait began.
            EXPECT_EQ(trace().stderr_at_key_read.at(0), c.err);
            if (c.destination == stdout_destination::file) {
                EXPECT_EQ(trace().stdout_at_key_read.at(0), before_pause + prompt);
                EXPECT_EQ(result.out, before_pause + prompt + "\n");
            }
        } else {
            EXPECT_EQ(result.out, before_pause);
        }
        check_all_released();
        EXPECT_THAT(trace().faults, IsEmpty());
    }
}

TEST(exit_pause, asks_for_the_owner_only_when_there_is_a_window)
{
    install_fake_machine(example_machine(console_window::none));
    EXPECT_FALSE(has_own_console());
    EXPECT_THAT(trace().calls, ElementsAre("GetConsoleWindow"));

    install_fake_machine(example_machine(console_window::of_other_process));
    EXPECT_FALSE(has_own_console());
    EXPECT_THAT(trace().calls, ElementsAre("GetConsoleWindow", "GetWindowThreadProcessId", "GetCurrentProcessId"));

    install_fake_machine(example_machine(console_window::of_this_process));
    EXPECT_TRUE(has_own_console());
    // The fake notes an owner identifier that was not set to 0 before the query.
    EXPECT_THAT(trace().faults, IsEmpty());
}

} // namespace
