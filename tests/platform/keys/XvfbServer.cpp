#include "XvfbServer.h"

#include <array>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// Xvfb writes the display number it chose to this descriptor once it accepts clients.
constexpr int kDisplayFd = 3;

class Pipe {
public:
    Pipe()
    {
        if (pipe2(ends_.data(), O_CLOEXEC) != 0) {
            throw std::runtime_error("cannot create a pipe for Xvfb");
        }
    }
    ~Pipe()
    {
        CloseWriteEnd();
        close(ends_[0]);
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;

    int ReadEnd() const { return ends_[0]; }
    int WriteEnd() const { return ends_[1]; }
    void CloseWriteEnd()
    {
        if (ends_[1] >= 0) {
            close(ends_[1]);
            ends_[1] = -1;
        }
    }

private:
    std::array<int, 2> ends_ { -1, -1 };
};

std::string ReadDisplayNumber(int fd)
{
    std::string number;
    char c = 0;
    while (read(fd, &c, 1) == 1 && c != '\n') {
        number += c;
    }
    return number;
}

}

XvfbServer::XvfbServer(const std::string& screen)
{
    Pipe displayPipe;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, displayPipe.WriteEnd(), kDisplayFd);
    // Xvfb's start-up chatter about keymaps and fonts is not the test's output.
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const char* argv[]
        = { "Xvfb", "-displayfd", "3", "-noreset", "-nolisten", "tcp", "-screen", "0", screen.c_str(), nullptr };
    const int failed = posix_spawnp(&pid_, "Xvfb", &actions, nullptr, const_cast<char* const*>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) {
        throw std::runtime_error(std::string("cannot start Xvfb: ") + std::strerror(failed));
    }
    displayPipe.CloseWriteEnd();
    const std::string number = ReadDisplayNumber(displayPipe.ReadEnd());
    if (number.empty()) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        throw std::runtime_error("Xvfb exited before it reported a display");
    }
    displayName_ = ":" + number;
}

XvfbServer::~XvfbServer()
{
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
}
