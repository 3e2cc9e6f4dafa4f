#pragma once
// A piece of a test run in a child process with a deadline. Reads and writes that, broken, would
// wait for ever on a pipe or fill the memory from a device end the child, not the test program,
// and fail the test within seconds.
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <functional>
#include <string>

namespace harness {

struct ChildRun {
    bool finished = false;  // ended by itself, before the deadline
    std::string printed;    // what it printed on standard output
    std::string result;     // what the piece returned
};

namespace detail {

inline std::string ReadAll(int fd) {
    std::string all;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) != 0) {
        if (n > 0) all.append(buffer, static_cast<size_t>(n));
        if (n < 0 && errno != EINTR) break;
    }
    ::close(fd);
    return all;
}

}  // namespace detail

// Runs `piece` in a child that is ended after `seconds`. The piece may not use the test's
// assertions (they would count in the child only): it returns what the test checks.
inline ChildRun InChild(const std::function<std::string()>& piece, unsigned seconds = 10) {
    std::fflush(stdout);
    int out[2], result[2];
    if (::pipe(out) != 0) return {};
    if (::pipe(result) != 0) {
        ::close(out[0]);
        ::close(out[1]);
        return {};
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(out[0]);
        ::close(result[0]);
        ::dup2(out[1], STDOUT_FILENO);
        ::alarm(seconds);
        const std::string answer = piece();
        std::fflush(stdout);
        for (size_t done = 0; done < answer.size();) {
            const ssize_t n = ::write(result[1], answer.data() + done, answer.size() - done);
            if (n <= 0) break;
            done += static_cast<size_t>(n);
        }
        ::_exit(0);
    }
    ::close(out[1]);
    ::close(result[1]);
    ChildRun run;
    if (pid < 0) {
        ::close(out[0]);
        ::close(result[0]);
        return run;
    }
    run.printed = detail::ReadAll(out[0]);
    run.result = detail::ReadAll(result[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    run.finished = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

}  // namespace harness
