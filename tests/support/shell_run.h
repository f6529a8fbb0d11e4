// Runs a shell command as the tests' stand-in for a user at a terminal: its exit status (-1 when
// it did not exit normally) and everything it wrote to standard output.
#pragma once

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <utility>

struct ShellRun {
    int status = -1;
    std::string out;
};

inline ShellRun runShell(const std::string& command) {
    ShellRun run;
    if (FILE* p = ::popen(command.c_str(), "r")) {
        std::array<char, 4096> buf{};
        for (size_t n; (n = fread(buf.data(), 1, buf.size(), p)) > 0;)
            run.out.append(buf.data(), n);
        const int status = ::pclose(p);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    return run;
}

// The same with the command's messages discarded and no input, as for a program run from a script.
inline ShellRun runQuietly(const std::string& command) {
    return runShell(command + " 2>/dev/null </dev/null");
}

// The exit status of a quiet run; its output goes to `out` when asked for.
inline int quietStatus(const std::string& command, std::string* out = nullptr) {
    ShellRun run = runQuietly(command);
    if (out) *out = std::move(run.out);
    return run.status;
}
