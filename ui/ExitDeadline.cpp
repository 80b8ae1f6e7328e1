#include "ui/ExitDeadline.h"

#include <unistd.h>

ExitDeadline::ExitDeadline(std::chrono::milliseconds allowance, std::string line)
    : line_(std::move(line))
    , watcher_(&ExitDeadline::Watch, this, std::chrono::steady_clock::now() + allowance)
{
}

ExitDeadline::~ExitDeadline()
{
    {
        const std::lock_guard lock(mutex_);
        done_ = true;
    }
    finished_.notify_one();
    watcher_.join();
}

void ExitDeadline::Watch(std::chrono::steady_clock::time_point deadline)
{
    std::unique_lock lock(mutex_);
    if (finished_.wait_until(lock, deadline, [this] { return done_; })) {
        return;
    }
    // The stuck thread may hold any lock, stdio's among them: write straight to the
    // descriptor and leave without running anything of the program again.
    const std::string text = line_ + '\n';
    [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, text.data(), text.size());
    _exit(1);
}
