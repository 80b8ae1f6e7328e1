#pragma once

#include <QObject>

#include <csignal>
#include <memory>

class QSocketNotifier;

// Makes SIGINT and SIGTERM quit the Qt event loop, so a terminal's Ctrl+C or a kill runs
// the same shut-down as closing the window. The handler only writes a byte to a pipe;
// the UI thread reads it and quits. One at a time; restores the previous handlers and
// closes the pipe when destroyed. Construct and destroy on the UI thread, after the
// QCoreApplication exists.
class SignalQuitter final : public QObject {
public:
    SignalQuitter();
    ~SignalQuitter() override;
    SignalQuitter(const SignalQuitter&) = delete;
    SignalQuitter& operator=(const SignalQuitter&) = delete;

    // False when the pipe or the handlers could not be set up; the signals then keep
    // their previous handling.
    bool IsActive() const { return notifier_ != nullptr; }

private:
    void OnSignalByte();

    int readEnd_ = -1;
    int writeEnd_ = -1;
    struct sigaction previousInterrupt_ { };
    struct sigaction previousTerminate_ { };
    std::unique_ptr<QSocketNotifier> notifier_;
};
