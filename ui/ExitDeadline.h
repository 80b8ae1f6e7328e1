#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

// Bounds one step of shut-down that waits on another process: a JACK server that stopped
// answering leaves its client blocked in a socket read for ever. Unless destroyed before
// `allowance` has passed, it prints `line` on stderr and ends the process with exit code
// 1 from a thread of its own, whatever the step is doing. Construct and destroy on the
// thread that runs the step.
class ExitDeadline {
public:
    ExitDeadline(std::chrono::milliseconds allowance, std::string line);
    ~ExitDeadline();
    ExitDeadline(const ExitDeadline&) = delete;
    ExitDeadline& operator=(const ExitDeadline&) = delete;

private:
    void Watch(std::chrono::steady_clock::time_point deadline);

    std::string line_;
    std::mutex mutex_;
    std::condition_variable finished_;
    bool done_ = false;
    std::thread watcher_;
};
