#include <QApplication>

#include <iostream>

#include "platform/keys/KeyboardReaders.h"
#include "platform/midi/MidiOutputs.h"
#include "ui/CommandLine.h"
#include "ui/KeyboardApp.h"
#include "ui/Resources.h"
#include "ui/SignalQuitter.h"

namespace {

QStringList Arguments(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
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

    // The port opens before anything else of the program, and closes last. Only a chosen
    // port needs the list; the chosen entry is the one opened.
    std::unique_ptr<MidiDevice> device;
    if (commandLine.midiOut) {
        const MidiOutputList outputs = MidiOutputList::Read();
        const auto found = FindMidiOutput(outputs.Names(), *commandLine.midiOut);
        if (!found) {
            std::cerr << DescribeUnmatchedMidiOutput(outputs.Names(), *commandLine.midiOut) << '\n';
            return kExitUsage;
        }
        device = outputs.Open(*found, commandLine.settings, std::cerr);
    } else {
        device = OpenMidiOutput(0, commandLine.settings, std::cerr);
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(LoadResourceString(AFX_IDS_APP_TITLE));
    QApplication::setDesktopFileName(QStringLiteral("tavo"));
    QApplication::setWindowIcon(ApplicationIcon());
    SignalQuitter signalQuitter;
    CKeyboardApp app(std::move(device), CreateKeyboardReaders(std::cerr), QString::fromStdString(SynthesizerVersion()));
    app.InitInstance();
    return app.Run();
}
