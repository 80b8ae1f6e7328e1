#pragma once

#include <QString>

#include <chrono>
#include <functional>
#include <iostream>
#include <memory>

#include "core/AppState.h"
#include "midi/MidiDevice.h"
#include "platform/keys/KeyboardReaders.h"
#include "platform/random/CrtRandom.h"
#include "platform/timer/ThreadPeriodicTimer.h"

class CMainFrame;

// The program's one application object: owns the performance state with its MIDI port,
// the keyboard readers, the random source, the tick timer and the main frame, and fixes
// the order of start-up and shut-down. UI thread; the QApplication must exist first.
class CKeyboardApp {
public:
    // `synthesizerVersion` is asked when the About box opens.
    CKeyboardApp(KeyboardReaders readers, std::function<QString()> synthesizerVersion);
    // Closes the port last, within kOutputCloseAllowance.
    ~CKeyboardApp();

    // The executable's folder becomes the current directory, the name list is read, the
    // state reset and the frame made, hidden (its view starts the timer). A list that
    // cannot be read is said in one "tavo: ..." line on `notices`; the instrument box then
    // shows "nodata".
    void InitInstance(std::ostream& notices = std::cerr);
    // Opens the port over `device`, shows the frame, then lets the device start its slow work.
    void ShowWindow(std::unique_ptr<MidiDevice> device);
    // Runs the event loop until the window closes or the loop is quit (Exit, a signal);
    // then destroys the frame, stopping the timer, and sends the release of every key
    // still sounding, so no note hangs once the port closes.
    int Run();
    // For the ways out that never get back to the event loop (a lost display, SIGQUIT):
    // releases the sounding keys and closes the port, which finishes an --audio-file take.
    void ReleaseAndCloseOutput();

    // How long closing the port may take before the program exits anyway (exit code 1),
    // so that a frozen JACK server cannot hold it.
    static constexpr std::chrono::seconds kOutputCloseAllowance { 2 };

    AppState& State() { return state_; }
    CMainFrame* Frame() const { return frame_.get(); }

private:
    void CloseOutput();

    // Declared first so it is destroyed last: the port closes after everything else.
    AppState state_;
    KeyboardReaders readers_;
    CrtRandom random_;
    ThreadPeriodicTimer timer_;
    std::function<QString()> synthesizerVersion_;
    std::unique_ptr<CMainFrame> frame_;
};
