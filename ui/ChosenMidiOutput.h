#pragma once

#include <future>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "midi/MidiDevice.h"
#include "ui/CommandLine.h"

// The MIDI output the command line chose, found and opened on a thread of its own while
// the UI thread makes the window: a JACK client takes tens of milliseconds to open and
// list its ports. Until Unmatched() returns, std::cerr is not for the UI thread: the
// listing silences it while RtMidi reports a JACK server that does not run. UI thread;
// the command line outlives this object.
class ChosenMidiOutput {
public:
    // Starts reading the list of outputs when --midi-out names one; opens nothing yet.
    explicit ChosenMidiOutput(const CommandLine& commandLine);

    // The "tavo: no MIDI output matches ..." line when --midi-out names no output that
    // exists. Waits for the list.
    std::optional<std::string> Unmatched();

    // Starts opening the chosen output, once the checks that must come before any output
    // opens have passed (opening the built-in synthesizer truncates an --audio-file take).
    // `errors` outlives the device, as OpenMidiOutput says.
    void StartOpening(std::ostream& errors);

    // The opened device; nothing when none matched or it could not open (it said why on
    // `errors`). Waits for the opening. Once.
    std::unique_ptr<MidiDevice> Take();

    // Releases a worker still waiting to open, so that nothing opens.
    ~ChosenMidiOutput();
    ChosenMidiOutput(const ChosenMidiOutput&) = delete;
    ChosenMidiOutput& operator=(const ChosenMidiOutput&) = delete;

private:
    // Worker thread: lists the outputs when a name must be matched, tells the UI thread
    // whether one matched, waits for the checks and opens the output on the client that
    // listed it.
    void ChooseAndOpen();

    const CommandLine& commandLine_;
    std::promise<std::optional<std::string>> unmatchedPromise_;
    std::shared_future<std::optional<std::string>> unmatched_;
    // The stream to open on, or null when the program ends before any output may open.
    std::promise<std::ostream*> openPromise_;
    bool openingStarted_ = false;
    std::promise<std::unique_ptr<MidiDevice>> devicePromise_;
    std::future<std::unique_ptr<MidiDevice>> device_;
    std::thread worker_;
};
