#pragma once

#include <chrono>
#include <csignal>
#include <string>

// Bounds one step of shut-down that waits on another process: a JACK server that stopped
// answering leaves its client blocked in a socket read for ever. Unless destroyed before
// `allowance` has passed, it prints `line` on stderr and ends the process with exit code
// 1 from SIGALRM's handler, whatever the step is doing. One at a time; construct and
// destroy on the thread that runs the step.
class ExitDeadline {
public:
    ExitDeadline(std::chrono::milliseconds allowance, std::string line);
    ~ExitDeadline();
    ExitDeadline(const ExitDeadline&) = delete;
    ExitDeadline& operator=(const ExitDeadline&) = delete;

private:
    std::string text_;
    struct sigaction previous_ { };
};
