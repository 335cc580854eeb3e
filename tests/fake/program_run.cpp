#include "fake/program_run.h"

#include "fake/file_contents.h"

#include <fcntl.h>
#include <stdio.h>
#include <stdio_ext.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>

namespace {

int temporary_file()
{
    char path[] = "/tmp/nitscope-run-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) {
        perror("mkstemp");
        abort();
    }
    unlink(path);
    return fd;
}

// Points `stream`'s descriptor at `fd` for the length of the run, then puts it back.
struct redirected {
    redirected(FILE* which, int fd) : stream(which), target(fileno(which)), saved(dup(target))
    {
        fflush(stream);
        dup2(fd, target);
    }

    ~redirected()
    {
        // Whatever a failed write left in the buffer must not reach the real stream.
        __fpurge(stream);
        clearerr(stream);
        dup2(saved, target);
        close(saved);
    }

    FILE* stream;
    int target;
    int saved;
};

} // namespace

namespace {

program_run run_captured(const std::function<int()>& body, stdout_destination destination)
{
    const int out_fd = destination == stdout_destination::file ? temporary_file()
                                                               : open("/dev/full", O_RDWR);
    const int err_fd = temporary_file();
    const int in_fd = temporary_file();
    const char pending_input[] = "typed ahead\n";
    if (out_fd < 0 || write(in_fd, pending_input, sizeof pending_input - 1) < 0) {
        perror("preparing the run");
        abort();
    }
    lseek(in_fd, 0, SEEK_SET);

    program_run run{};
    {
        redirected in(stdin, in_fd);
        redirected out(stdout, out_fd);
        redirected err(stderr, err_fd);
        run.status = body();
        fflush(stdout);
        fflush(stderr);
        run.stdin_untouched = lseek(STDIN_FILENO, 0, SEEK_CUR) == 0;
    }
    run.out = file_contents(out_fd);
    run.err = file_contents(err_fd);
    close(out_fd);
    close(err_fd);
    close(in_fd);
    return run;
}

} // namespace

program_run run_nitscope(stdout_destination destination)
{
    return run_captured(nitscope_main, destination);
}

std::string captured_stdout(const std::function<void()>& piece)
{
    return run_captured([&piece] { piece(); return 0; }, stdout_destination::file).out;
}
