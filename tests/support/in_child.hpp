#pragma once
// A piece of a test run in a child process ended after a deadline: a read or a write that, broken,
// would wait for ever on a pipe or fill the memory from a device fails the test within seconds.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <string>

namespace harness {

struct ChildRun {
    bool finished = false;  // ended by itself, before the deadline
    std::string printed;    // its standard output
    std::string result;     // what the piece returned
};

// The piece returns what the test checks (the test's assertions would count in the child only);
// it comes after the printed lines behind a NUL, which no printed line holds.
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
    for (ssize_t n; (n = ::read(out[0], buffer, sizeof buffer)) > 0;)
        all.append(buffer, static_cast<size_t>(n));
    ::close(out[0]);
    int status = 0;
    const bool ended = pid > 0 && ::waitpid(pid, &status, 0) == pid;
    const size_t mark = all.rfind('\0');
    return {ended && WIFEXITED(status) && WEXITSTATUS(status) == 0, all.substr(0, mark),
            mark == std::string::npos ? "" : all.substr(mark + 1)};
}

}  // namespace harness
