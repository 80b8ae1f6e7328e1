#include <QApplication>

#include <iostream>
#include <optional>

#include "platform/keys/DisplayCheck.h"
#include "platform/keys/DisplayLoss.h"
#include "platform/keys/KeyboardReaders.h"
#include "platform/midi/MidiOutputs.h"
#include "ui/CommandLine.h"
#include "ui/KeyboardApp.h"
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
    // Only a chosen port needs the list, read once: the entry chosen is the one opened.
    std::optional<MidiOutputList> outputs;
    std::size_t chosen = 0;
    if (commandLine.midiOut) {
        outputs = MidiOutputList::Read();
        const auto found = FindMidiOutput(outputs->Names(), *commandLine.midiOut);
        if (!found) {
            std::cerr << DescribeUnmatchedMidiOutput(outputs->Names(), *commandLine.midiOut) << '\n';
            return kExitUsage;
        }
        chosen = *found;
    }

    // Opening the port truncates an --audio-file take, so the take and the display are
    // checked first.
    if (const auto refusal = RefuseAudioFile(commandLine.settings)) {
        std::cerr << *refusal << '\n';
        return kExitUsage;
    }
    if (const auto whyNot = WhyNoDisplay()) {
        std::cerr << "tavo: " << *whyNot << '\n';
        return kExitFailure;
    }

    // The port opens before anything else of the program, and closes last.
    std::unique_ptr<MidiDevice> device;
    if (commandLine.virtualPort) {
        device = OpenVirtualMidiOutput(*commandLine.virtualPort, std::cerr);
    } else if (outputs) {
        device = outputs->Open(chosen, commandLine.settings, std::cerr);
    } else {
        device = OpenMidiOutput(0, commandLine.settings, std::cerr);
    }
    if (!device) {
        return kExitFailure;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(LoadResourceString(AFX_IDS_APP_TITLE));
    QApplication::setDesktopFileName(QStringLiteral("tavo"));
    QApplication::setWindowIcon(ApplicationIcon());
    SignalQuitter signalQuitter;
    CKeyboardApp app(std::move(device), CreateKeyboardReaders(std::cerr), QString::fromStdString(SynthesizerVersion()));
    signalQuitter.SetBeforeCoreDump([&app] { app.ReleaseAndCloseOutput(); });
    const DisplayLossExit displayLossExit([&app] { app.ReleaseAndCloseOutput(); });
    app.InitInstance();
    return app.Run();
}
