#pragma once

// Runs nitscope's own main against the installed fake machine and captures what it wrote.

#include <functional>
#include <string>

struct program_run {
    std::string out;
    std::string err;
    int status;
    // True when the program left standard input unread (the key comes from the console).
    bool stdin_untouched;
};

enum class stdout_destination {
    file,
    // A device every write to fails on, as a full disk does.
    full_device,
};

program_run run_nitscope(stdout_destination destination = stdout_destination::file);

// Runs `piece` with standard output going to a file and returns what it wrote.
std::string captured_stdout(const std::function<void()>& piece);

// The program's main, renamed for the test build so the test runner keeps its own.
int nitscope_main();
