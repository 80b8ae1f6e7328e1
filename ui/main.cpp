#include <QApplication>

#include <iostream>
#include <optional>
#include <sstream>
#include <string>

#include "platform/keys/DisplayCheck.h"
#include "platform/keys/DisplayLoss.h"
#include "platform/keys/KeyboardReaders.h"
#include "platform/midi/MidiOutputs.h"
#include "ui/ChosenMidiOutput.h"
#include "ui/CommandLine.h"
#include "ui/KeyboardApp.h"
#include "ui/MidiTakeFile.h"
#include "ui/OutputFileChecks.h"
#include "ui/Resources.h"
#include "ui/SignalQuitter.h"

namespace {

// One QChar per byte, so that no file name is changed on its way back to the system.
QStringList Arguments(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLatin1(argv[i]);
    }
    return arguments;
}

}

int main(int argc, char* argv[])
{
    // The command line comes first, so --help, --version, --list-midi-outputs and usage
    // errors need no display.
    const CommandLine commandLine = ParseCommandLine(Arguments(argc, argv));
    if (commandLine.action == CommandLine::Action::Exit) {
        std::cout << commandLine.output;
        std::cerr << commandLine.error;
        return commandLine.exitCode;
    }
    if (commandLine.action == CommandLine::Action::ListMidiOutputs) {
        std::cout << FormatMidiOutputList(ListMidiOutputs());
        return kExitSuccess;
    }
    // The output is found and opened beside the window's making, and said first of all
    // that can go wrong: a name that matches no output is a usage error.
    ChosenMidiOutput output(commandLine);

    // Opening the output truncates an --audio-file take, so the take and the display are
    // checked first.
    std::optional<std::string> refusal = RefuseAudioFile(commandLine.settings);
    if (!refusal) {
        refusal = RefuseMidiFile(commandLine.midiFile, commandLine.settings);
    }
    int refusalExit = kExitUsage;
    if (!refusal) {
        if (const auto whyNot = WhyNoDisplay()) {
            refusal = "tavo: " + *whyNot;
            refusalExit = kExitFailure;
        }
    }
    if (refusal) {
        std::cerr << output.Unmatched().value_or(*refusal) << '\n';
        return output.Unmatched() ? kExitUsage : refusalExit;
    }
    output.StartOpening(std::cerr);

    QApplication application(argc, argv);
    QApplication::setApplicationName(LoadResourceString(AFX_IDS_APP_TITLE));
    QApplication::setDesktopFileName(QStringLiteral("tavo"));
    QApplication::setWindowIcon(ApplicationIcon());
    SignalQuitter signalQuitter;
    // Outlives the application object, whose port saves the take as it closes.
    std::optional<MidiTakeFile> midiTake;
    if (!commandLine.midiFile.empty()) {
        midiTake.emplace(commandLine.midiFile, std::cerr);
    }
    // What the start-up has to say waits for the output, which may be using std::cerr.
    std::ostringstream notices;
    const auto awaitOutput = [&output, &notices, &midiTake]() -> std::unique_ptr<MidiDevice> {
        if (const auto unmatched = output.Unmatched()) {
            std::cerr << *unmatched << '\n';
            return nullptr;
        }
        std::unique_ptr<MidiDevice> device = output.Take();
        if (device && midiTake) {
            device = midiTake->Recording(std::move(device));
        }
        std::cerr << notices.str();
        return device;
    };
    CKeyboardApp app(
        awaitOutput, CreateKeyboardReaders(notices), [] { return QString::fromStdString(SynthesizerVersion()); });
    signalQuitter.SetBeforeCoreDump([&app] { app.ReleaseAndCloseOutput(); });
    const DisplayLossExit displayLossExit([&app] { app.ReleaseAndCloseOutput(); });
    if (!app.InitInstance(notices)) {
        return output.Unmatched() ? kExitUsage : kExitFailure;
    }
    return app.Run();
}
