#include "ui/ExitDeadline.h"

#include <sys/time.h>
#include <unistd.h>

namespace {

const std::string* g_text = nullptr;

// The stuck thread may hold any lock, stdio's among them: the handler writes straight to
// the descriptor and leaves without running anything of the program again.
void SayAndExit(int)
{
    [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, g_text->data(), g_text->size());
    _exit(1);
}

void SetAlarm(std::chrono::milliseconds after)
{
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(after);
    const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(after - seconds);
    const itimerval timer { {}, { static_cast<time_t>(seconds.count()), static_cast<suseconds_t>(micros.count()) } };
    setitimer(ITIMER_REAL, &timer, nullptr);
}

}

ExitDeadline::ExitDeadline(std::chrono::milliseconds allowance, std::string line)
    : text_(std::move(line) + '\n')
{
    g_text = &text_;
    struct sigaction action { };
    action.sa_handler = &SayAndExit;
    sigemptyset(&action.sa_mask);
    sigaction(SIGALRM, &action, &previous_);
    SetAlarm(allowance);
}

ExitDeadline::~ExitDeadline()
{
    SetAlarm(std::chrono::milliseconds(0));
    sigaction(SIGALRM, &previous_, nullptr);
    g_text = nullptr;
}
