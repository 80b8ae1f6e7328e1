#include "ui/WaysOut.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QThread>

#include <X11/Xlib.h>
#include <fcntl.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>

namespace {

// The only thing the signal handler touches; a lock-free atomic is safe to read there.
std::atomic<int> g_signalPipe { -1 };
std::function<void()> g_releaseAndClose;
QtMessageHandler g_previousMessageHandler = nullptr;
XIOErrorHandler g_previousXlibHandler = nullptr;
bool g_leavingOnDisplayLoss = false;

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

[[noreturn]] void LeaveOnDisplayLoss()
{
    // A second break while leaving (another connection noticing) ends at once.
    if (!g_leavingOnDisplayLoss) {
        g_leavingOnDisplayLoss = true;
        if (g_releaseAndClose) {
            g_releaseAndClose();
        }
        std::fputs("tavo: the connection to the X server broke; the sounding notes were released\n", stderr);
        std::fflush(stderr);
    }
    _exit(1);
}

// Qt's xcb platform exits from inside the event loop once its connection breaks, and the
// warning it prints just before is the only notice it gives: whatever Qt says on the UI
// thread over a broken connection is that end, whatever its words.
bool QtConnectionBroke()
{
    if (QThread::currentThread() != qGuiApp->thread()) {
        return false;
    }
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* const connection = x11 != nullptr ? x11->connection() : nullptr;
    return connection != nullptr && xcb_connection_has_error(connection) != 0;
}

void FilterQtMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (!g_leavingOnDisplayLoss && QtConnectionBroke()) {
        LeaveOnDisplayLoss();
    }
    g_previousMessageHandler(type, context, message);
}

// Xlib's handler for a broken connection is process-wide and must not return (Xlib exits
// when it does); it also takes over from the one Qt installed, which would only print
// and exit.
int LeaveOnBrokenXlibConnection(Display*)
{
    LeaveOnDisplayLoss();
}

// Read by SIGALRM's handler, which may run on any thread.
std::atomic<const std::string*> g_deadlineText { nullptr };

// The stuck thread may hold any lock, stdio's among them: the handler writes straight to
// the descriptor and leaves without running anything of the program again.
void SayAndExit(int)
{
    const std::string* const text = g_deadlineText.load();
    [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, text->data(), text->size());
    _exit(1);
}

}

WaysOut::WaysOut()
{
    g_previousMessageHandler = qInstallMessageHandler(&FilterQtMessage);
    g_previousXlibHandler = XSetIOErrorHandler(&LeaveOnBrokenXlibConnection);
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
        sigaction(kSignals[i], &action, &previous_[i]);
    }
    notifier_ = std::make_unique<QSocketNotifier>(readEnd_, QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &WaysOut::OnSignalByte);
}

WaysOut::~WaysOut()
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
    XSetIOErrorHandler(g_previousXlibHandler);
    qInstallMessageHandler(g_previousMessageHandler);
    g_releaseAndClose = nullptr;
}

void WaysOut::OnLeaving(std::function<void()> releaseAndClose)
{
    g_releaseAndClose = std::move(releaseAndClose);
}

void WaysOut::OnSignalByte()
{
    bool quitWithCore = false;
    char bytes[16];
    ssize_t count = 0;
    while ((count = read(readEnd_, bytes, sizeof bytes)) > 0) {
        quitWithCore = quitWithCore || std::find(bytes, bytes + count, SIGQUIT) != bytes + count;
    }
    if (!quitWithCore) {
        QCoreApplication::quit();
        return;
    }
    // The core then shows this thread rather than the one the signal interrupted; the
    // program's state is the same, and the notes no longer sound.
    if (g_releaseAndClose) {
        g_releaseAndClose();
    }
    signal(SIGQUIT, SIG_DFL);
    raise(SIGQUIT);
}

void RunWithin(std::chrono::seconds allowance, const std::string& line, const std::function<void()>& step)
{
    const std::string text = line + '\n';
    g_deadlineText = &text;
    const auto previous = std::signal(SIGALRM, &SayAndExit);
    alarm(static_cast<unsigned>(allowance.count()));
    step();
    alarm(0);
    std::signal(SIGALRM, previous);
    g_deadlineText = nullptr;
}
