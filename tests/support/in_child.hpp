#pragma once
// A piece of a test run in a child process with a deadline. Reads and writes that, broken, would
// wait for ever on a pipe or fill the memory from a device end the child, not the test program,
// and fail the test within seconds.
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <functional>
#include <string>

namespace harness {

struct ChildRun {
    bool finished = false;  // ended by itself, before the deadline
    std::string printed;    // what it printed on standard output
    std::string result;     // what the piece returned
};

// The piece may not use the test's assertions (they would count in the child only): it returns
// what the test checks, sent after its printed lines behind a NUL, which no printed line holds.
inline ChildRun InChild(const std::function<std::string()>& piece, unsigned seconds = 10) {
    std::fflush(stdout);
    int out[2];
    if (::pipe(out) != 0) return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::alarm(seconds);
        const std::string result = '\0' + piece();
        std::fwrite(result.data(), 1, result.size(), stdout);
        std::fflush(stdout);
        ::_exit(0);
    }
    ::close(out[1]);
    std::string all;
    char buffer[4096];
    for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) != 0;) {
        if (n > 0) all.append(buffer, static_cast<size_t>(n));
        if (n < 0 && errno != EINTR) break;
    }
    ::close(out[0]);
    int status = 0;
    ChildRun run;
    run.finished =
        pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    const size_t mark = all.rfind('\0');
    run.printed = all.substr(0, mark);
    if (mark != std::string::npos) run.result = all.substr(mark + 1);
    return run;
}

}  // namespace harness
