#include "ChildProcess.h"

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

std::string ChildProcess::ReadAll(int fd)
{
    std::ifstream file("/proc/self/fd/" + std::to_string(fd), std::ios::binary);
    return { std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>() };
}

// `env` sets the added variables and then becomes the executable, under the same pid.
ChildProcess::ChildProcess(
    const std::string& executable, const std::vector<std::string>& args, const std::vector<std::string>& environment)
    : stdoutFile_(open("/tmp", O_TMPFILE | O_RDWR | O_CLOEXEC, 0600))
    , stderrFile_(open("/tmp", O_TMPFILE | O_RDWR | O_CLOEXEC, 0600))
{
    std::vector<std::string> words { "env" };
    words.insert(words.end(), environment.begin(), environment.end());
    words.push_back(executable);
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv(words.size() + 1); // ending in a null pointer
    std::ranges::transform(words, argv.begin(), [](std::string& word) { return word.data(); });
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, stdoutFile_, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, stderrFile_, STDERR_FILENO);
    const int failed = posix_spawnp(&pid_, "env", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) {
        close(stdoutFile_), close(stderrFile_);
        throw std::runtime_error("cannot start " + executable + ": " + std::strerror(failed));
    }
}

ChildProcess::~ChildProcess()
{
    Signal(SIGTERM);
    if (!WaitForExit(std::chrono::seconds(3)) && !reaped_) {
        Signal(SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    close(stdoutFile_), close(stderrFile_);
}

void ChildProcess::Signal(int signal)
{
    if (!reaped_) {
        kill(pid_, signal);
    }
}

std::optional<int> ChildProcess::WaitForExit(std::chrono::milliseconds allowance)
{
    for (const auto deadline = std::chrono::steady_clock::now() + allowance; !reaped_;) {
        int status = 0;
        const pid_t result = waitpid(pid_, &status, WNOHANG);
        reaped_ = result != 0;
        if (result == pid_ && WIFEXITED(status)) {
            return WEXITSTATUS(status);
        }
        if (reaped_ || std::chrono::steady_clock::now() >= deadline) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return std::nullopt;
}

std::optional<std::string> ToolOutput(
    const std::string& tool, const std::vector<std::string>& args, const std::vector<std::string>& environment)
{
    ChildProcess child(tool, args, environment);
    return child.WaitForExit(std::chrono::seconds(15)) == 0 ? std::optional(child.Stdout()) : std::nullopt;
}
