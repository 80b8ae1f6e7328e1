#include <QApplication>

#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <utility>

#include "platform/keys/DisplayCheck.h"
#include "platform/keys/KeyboardReaders.h"
#include "platform/midi/MidiOutputs.h"
#include "ui/CommandLine.h"
#include "ui/KeyboardApp.h"
#include "ui/MidiTakeFile.h"
#include "ui/OutputFileChecks.h"
#include "ui/OutputOpening.h"
#include "ui/Resources.h"
#include "ui/WaysOut.h"

namespace {

// Why the program must not start, with its exit code: checked before anything opens,
// since opening the built-in synthesizer truncates an --audio-file take. A --midi-out
// name that matches nothing is a usage error, said before any other refusal.
std::optional<std::pair<std::string, int>> Refusal(const CommandLine& commandLine)
{
    std::optional<std::pair<std::string, int>> refusal;
    if (const auto take = RefuseAudioFile(commandLine.settings)) {
        refusal.emplace(*take, kExitUsage);
    } else if (const auto midiTake = RefuseMidiFile(commandLine.midiFile, commandLine.settings)) {
        refusal.emplace(*midiTake, kExitUsage);
    } else if (const auto whyNot = WhyNoDisplay()) {
        refusal.emplace("tavo: " + *whyNot, kExitFailure);
    }
    if (refusal) {
        if (const auto unmatched = UnmatchedMidiOutput(commandLine)) {
            refusal.emplace(*unmatched, kExitUsage);
        }
    }
    return refusal;
}

}

int main(int argc, char* argv[])
{
    // The command line comes first, so --help, --version, --list-midi-outputs and usage
    // errors need no display.
    const CommandLine commandLine = ParseCommandLine({ argv + 1, argv + argc });
    if (commandLine.action == CommandLine::Action::Exit) {
        std::cout << commandLine.output;
        std::cerr << commandLine.error;
        return commandLine.exitCode;
    }
    if (commandLine.action == CommandLine::Action::ListMidiOutputs) {
        std::cout << FormatMidiOutputList(ListMidiOutputs());
        return kExitSuccess;
    }
    if (const auto refusal = Refusal(commandLine)) {
        std::cerr << refusal->first << '\n';
        return refusal->second;
    }
    std::future<OpenedOutput> opening = StartOpeningOutput(commandLine);

    QApplication application(argc, argv);
    QApplication::setApplicationName(LoadResourceString(AFX_IDS_APP_TITLE));
    QApplication::setDesktopFileName(QStringLiteral("tavo"));
    QApplication::setWindowIcon(ApplicationIcon());
    WaysOut waysOut;
    // Outlives the application object, whose port saves the take as it closes.
    std::optional<MidiTakeFile> midiTake;
    if (!commandLine.midiFile.empty()) {
        midiTake.emplace(commandLine.midiFile, std::cerr);
    }
    // What the window's making has to say follows what the output says, once it has opened.
    std::ostringstream notices;
    int exitCode = kExitFailure;
    const auto awaitOutput = [&opening, &notices, &exitCode, &midiTake] {
        OpenedOutput opened = opening.get();
        exitCode = opened.exitCode;
        if (opened.device && midiTake) {
            opened.device = midiTake->Recording(std::move(opened.device));
        }
        if (opened.device) {
            std::cerr << notices.str();
        }
        return std::move(opened.device);
    };
    CKeyboardApp app(
        awaitOutput, CreateKeyboardReaders(notices), [] { return QString::fromStdString(SynthesizerVersion()); });
    waysOut.OnLeaving([&app] { app.ReleaseAndCloseOutput(); });
    if (!app.InitInstance(notices)) {
        return exitCode;
    }
    return app.Run();
}
