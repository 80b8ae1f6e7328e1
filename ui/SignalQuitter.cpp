#include "ui/SignalQuitter.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace {

// The only thing the handler touches; a lock-free atomic is safe to read there.
std::atomic<int> g_signalPipe { -1 };

void WriteSignalByte(int)
{
    const int savedErrno = errno;
    const int fd = g_signalPipe.load();
    if (fd >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = write(fd, &byte, 1);
    }
    errno = savedErrno;
}

}

SignalQuitter::SignalQuitter()
{
    int ends[2];
    if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    readEnd_ = ends[0];
    writeEnd_ = ends[1];
    g_signalPipe = writeEnd_;

    struct sigaction action { };
    action.sa_handler = &WriteSignalByte;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    if (sigaction(SIGINT, &action, &previousInterrupt_) != 0) {
        return;
    }
    if (sigaction(SIGTERM, &action, &previousTerminate_) != 0) {
        sigaction(SIGINT, &previousInterrupt_, nullptr);
        return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(readEnd_, QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &SignalQuitter::OnSignalByte);
}

SignalQuitter::~SignalQuitter()
{
    if (notifier_) {
        notifier_.reset();
        sigaction(SIGTERM, &previousTerminate_, nullptr);
        sigaction(SIGINT, &previousInterrupt_, nullptr);
    }
    g_signalPipe = -1;
    if (readEnd_ >= 0) {
        close(readEnd_);
        close(writeEnd_);
    }
}

void SignalQuitter::OnSignalByte()
{
    char bytes[16];
    while (read(readEnd_, bytes, sizeof bytes) > 0) { }
    QCoreApplication::quit();
}
