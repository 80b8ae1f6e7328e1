#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

// A program started by a test, its standard output and error kept in files of its own.
class ChildProcess {
public:
    // Starts `executable` (looked up in $PATH) with our environment and `environment`
    // ("NAME=value", replacing ours). Throws std::runtime_error when it cannot start.
    ChildProcess(const std::string& executable, const std::vector<std::string>& args,
        const std::vector<std::string>& environment = {});
    // Asks a running child to end (SIGTERM, then SIGKILL after a grace period), and reaps it.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t Pid() const { return pid_; }
    void Signal(int signal);
    // The exit code; nothing when a signal killed it or it still runs once the allowance ran out.
    std::optional<int> WaitForExit(std::chrono::milliseconds allowance);
    std::string Stdout() const { return ReadAll(stdoutFile_); }
    std::string Stderr() const { return ReadAll(stderrFile_); }

private:
    static std::string ReadAll(int fd);

    pid_t pid_ = -1;
    bool reaped_ = false;
    int stdoutFile_ = -1, stderrFile_ = -1;
};

// What `tool` printed, when it exited 0 within 15 s.
std::optional<std::string> ToolOutput(
    const std::string& tool, const std::vector<std::string>& args, const std::vector<std::string>& environment = {});

// Asks `done` every 10 ms until it answers yes or the allowance ran out; its last answer.
template <typename Done> bool Eventually(Done done, std::chrono::milliseconds allowance = std::chrono::seconds(5))
{
    for (const auto deadline = std::chrono::steady_clock::now() + allowance; !done();) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}
