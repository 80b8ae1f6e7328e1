#pragma once

#include <QObject>

#include <array>
#include <chrono>
#include <csignal>
#include <functional>
#include <memory>
#include <string>

class QSocketNotifier;

// Every way out of the program but the closing of its window, in one place:
// - SIGINT, SIGTERM and SIGHUP quit the Qt event loop, so a terminal's Ctrl+C, a kill or
//   the closing of the terminal run the same shut-down as closing the window. The
//   handler only writes the signal's number to a pipe; the UI thread reads it and acts.
// - SIGQUIT keeps its core dump, but the UI thread first runs the action set with
//   OnLeaving, then raises SIGQUIT again with its default action.
// - When the connection to the X server breaks, Qt's X11 platform prints a warning and
//   calls exit(1) from deep inside the event loop, and Xlib does the same inside any call
//   on one of the program's own connections; neither runs the program's shut-down. Both
//   end here in one run of the OnLeaving action on the UI thread, then one line on
//   stderr and exit code 1.
// One at a time; restores what it replaced when destroyed. Construct and destroy on the
// UI thread, after the QApplication exists.
class WaysOut final : public QObject {
public:
    WaysOut();
    ~WaysOut() override;

    // UI thread. What must not be left behind (sounding notes, a half-written take). It
    // talks to no display and returns soon, since a second SIGQUIT meanwhile dumps the
    // core at once.
    void OnLeaving(std::function<void()> releaseAndClose);

private:
    void OnSignalByte();

    static constexpr std::array<int, 4> kSignals { SIGINT, SIGTERM, SIGHUP, SIGQUIT };

    int readEnd_ = -1;
    int writeEnd_ = -1;
    std::array<struct sigaction, kSignals.size()> previous_ {};
    std::unique_ptr<QSocketNotifier> notifier_;
};

// Runs one step of shut-down that waits on another process: a JACK server that stopped
// answering leaves its client blocked in a socket read for ever. Unless `step` returns
// within `allowance`, prints `line` on stderr and ends the process with exit code 1 from
// SIGALRM's handler, whatever the step is doing. One at a time.
void RunWithin(std::chrono::seconds allowance, const std::string& line, const std::function<void()>& step);
