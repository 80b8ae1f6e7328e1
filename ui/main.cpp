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
std::optional<std::pair<std::string, int>> Refusal(const CommandLine& commandLine, X11Display& display)
{
    std::optional<std::pair<std::string, int>> refusal;
    if (const auto take = RefuseAudioFile(commandLine.settings)) {
        refusal.emplace(*take, kExitUsage);
    } else if (const auto midiTake = RefuseMidiFile(commandLine.midiFile, commandLine.settings)) {
        refusal.emplace(*midiTake, kExitUsage);
    } else if (const auto whyNot = WhyNoDisplay(display)) {
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
    X11Display display;
    if (const auto refusal = Refusal(commandLine, display)) {
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
    // The window is made while the output opens; its notices follow the output's lines, if it opens.
    std::ostringstream notices;
    CKeyboardApp app(
        CreateKeyboardReaders(notices, std::move(display)), [] { return QString::fromStdString(SynthesizerVersion()); });
    waysOut.OnLeaving([&app] { app.ReleaseAndCloseOutput(); });
    app.InitInstance(notices);
    OpenedOutput opened = opening.get();
    if (!opened.device) {
        return opened.exitCode;
    }
    if (midiTake) {
        opened.device = midiTake->Recording(std::move(opened.device));
    }
    std::cerr << notices.str();
    app.ShowWindow(std::move(opened.device));
    return app.Run();
}
