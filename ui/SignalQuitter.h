#pragma once

#include <QObject>

#include <array>
#include <csignal>
#include <functional>
#include <memory>

class QSocketNotifier;

// Makes SIGINT, SIGTERM and SIGHUP quit the Qt event loop, so a terminal's Ctrl+C, a kill
// or the closing of the terminal runs the same shut-down as closing the window. SIGQUIT
// keeps its core dump, but the UI thread first runs the action set with
// SetBeforeCoreDump (releasing the sounding notes), then raises SIGQUIT again with its
// default action. The handler only writes the signal's number to a pipe; the UI thread
// reads it and acts. One at a time; restores the previous handlers and closes the pipe
// when destroyed. Construct and destroy on the UI thread, after the QCoreApplication
// exists.
class SignalQuitter final : public QObject {
public:
    SignalQuitter();
    ~SignalQuitter() override;
    SignalQuitter(const SignalQuitter&) = delete;
    SignalQuitter& operator=(const SignalQuitter&) = delete;

    // UI thread. What to do on SIGQUIT before the core dump; it must return soon, since
    // a second SIGQUIT meanwhile dumps the core at once.
    void SetBeforeCoreDump(std::function<void()> action) { beforeCoreDump_ = std::move(action); }

private:
    void OnSignalByte();

    static constexpr std::array<int, 4> kSignals { SIGINT, SIGTERM, SIGHUP, SIGQUIT };

    int readEnd_ = -1;
    int writeEnd_ = -1;
    std::array<struct sigaction, kSignals.size()> previous_ {};
    std::function<void()> beforeCoreDump_;
    std::unique_ptr<QSocketNotifier> notifier_;
};
