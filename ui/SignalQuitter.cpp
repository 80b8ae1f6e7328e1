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

void WriteSignalByte(int signal)
{
    const int savedErrno = errno;
    const int fd = g_signalPipe.load();
    if (fd >= 0) {
        const auto byte = static_cast<char>(signal);
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

    for (std::size_t i = 0; i < kSignals.size(); ++i) {
        struct sigaction action { };
        action.sa_handler = &WriteSignalByte;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        // The handler runs once for SIGQUIT: should the UI thread hang, a second SIGQUIT
        // dumps the core straight away.
        if (kSignals[i] == SIGQUIT) {
            action.sa_flags |= SA_RESETHAND;
        }
        if (sigaction(kSignals[i], &action, &previous_[i]) != 0) {
            while (i-- > 0) {
                sigaction(kSignals[i], &previous_[i], nullptr);
            }
            return;
        }
    }
    notifier_ = std::make_unique<QSocketNotifier>(readEnd_, QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &SignalQuitter::OnSignalByte);
}

SignalQuitter::~SignalQuitter()
{
    if (notifier_) {
        notifier_.reset();
        for (std::size_t i = kSignals.size(); i-- > 0;) {
            sigaction(kSignals[i], &previous_[i], nullptr);
        }
    }
    g_signalPipe = -1;
    if (readEnd_ >= 0) {
        close(readEnd_);
        close(writeEnd_);
    }
}

void SignalQuitter::OnSignalByte()
{
    bool quitWithCore = false;
    char bytes[16];
    ssize_t count = 0;
    while ((count = read(readEnd_, bytes, sizeof bytes)) > 0) {
        for (ssize_t i = 0; i < count; ++i) {
            quitWithCore = quitWithCore || bytes[i] == SIGQUIT;
        }
    }
    if (!quitWithCore) {
        QCoreApplication::quit();
        return;
    }
    // The core then shows this thread rather than the one the signal interrupted; the
    // program's state is the same, and the notes no longer sound.
    if (beforeCoreDump_) {
        beforeCoreDump_();
    }
    signal(SIGQUIT, SIG_DFL);
    raise(SIGQUIT);
}
