#include "ui/CommandLine.h"

#include <QCommandLineParser>

namespace {

constexpr const char* kVersionText = "Tavo 1.0\n";
constexpr const char* kDefaultVirtualPort = "Tavo";

// --virtual-port may stand without its NAME; Qt's parser wants a value for every option
// that takes one, so a bare one gets the default. The program takes no other arguments,
// so a word after it is always its NAME.
QStringList WithVirtualPortName(QStringList arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const bool nameFollows = i + 1 < arguments.size() && !arguments[i + 1].startsWith(u'-');
        if (arguments[i] == QStringLiteral("--virtual-port") && !nameFollows) {
            arguments[i] = QStringLiteral("--virtual-port=") + kDefaultVirtualPort;
        }
    }
    return arguments;
}

CommandLine UsageError(const QString& text)
{
    CommandLine result;
    result.action = CommandLine::Action::Exit;
    result.exitCode = kExitUsage;
    result.error = QStringLiteral("tavo: %1\nTry 'tavo --help' for more information.\n").arg(text).toStdString();
    return result;
}

QString Usage(const QCommandLineParser& parser)
{
    return parser.helpText().replace(QStringLiteral("<executable_name>"), QStringLiteral("tavo"));
}

}

CommandLine ParseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A two-octave MIDI keyboard played from the computer keyboard and the mouse."));
    const QCommandLineOption help({ "h", "help" }, QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({ "v", "version" }, QStringLiteral("Show the version and exit."));
    const QCommandLineOption list(
        "list-midi-outputs", QStringLiteral("List the MIDI outputs, one \"N: name\" line each, and exit."));
    const QCommandLineOption midiOut("midi-out",
        QStringLiteral("Play on output N of the list, or the first whose name contains NAME (default 0, the "
                       "built-in synthesizer)."),
        QStringLiteral("N|NAME"));
    const QCommandLineOption soundfont(
        "soundfont", QStringLiteral("The SoundFont of the built-in synthesizer."), QStringLiteral("FILE"));
    const QCommandLineOption audioDriver("audio-driver",
        QStringLiteral("The built-in synthesizer's audio driver (pulseaudio, jack, alsa, ...)."),
        QStringLiteral("NAME"));
    const QCommandLineOption audioFile("audio-file",
        QStringLiteral("Render the built-in synthesizer's sound into a WAV file instead of playing it."),
        QStringLiteral("FILE.wav"));
    const QCommandLineOption virtualPort("virtual-port",
        QStringLiteral("Play into an output port of Tavo's own named NAME (default \"Tavo\"; NAME may be left "
                       "out), which other programs connect to: on JACK when a JACK server runs, else on the ALSA "
                       "sequencer. Not with --midi-out."),
        QStringLiteral("NAME"));
    parser.addOptions({ help, version, list, midiOut, virtualPort, soundfont, audioDriver, audioFile });

    CommandLine result;
    if (!parser.parse(WithVirtualPortName(arguments))) {
        result.action = CommandLine::Action::Exit;
        result.exitCode = kExitUsage;
        result.error = QStringLiteral("tavo: %1\nTry 'tavo --help' for more information.\n")
                           .arg(parser.errorText())
                           .toStdString();
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        result.action = CommandLine::Action::Exit;
        result.exitCode = kExitUsage;
        result.error = QStringLiteral("tavo: unexpected argument '%1'\nTry 'tavo --help' for more information.\n")
                           .arg(parser.positionalArguments().constFirst())
                           .toStdString();
        return result;
    }
    if (parser.isSet(help)) {
        result.action = CommandLine::Action::Exit;
        result.output = Usage(parser).toStdString();
        return result;
    }
    if (parser.isSet(version)) {
        result.action = CommandLine::Action::Exit;
        result.output = kVersionText;
        return result;
    }
    if (parser.isSet(list)) {
        result.action = CommandLine::Action::ListMidiOutputs;
        return result;
    }
    if (parser.isSet(midiOut) && parser.isSet(virtualPort)) {
        return UsageError(QStringLiteral("--virtual-port and --midi-out cannot be used together"));
    }
    if (parser.isSet(virtualPort) && parser.value(virtualPort).isEmpty()) {
        return UsageError(QStringLiteral("--virtual-port needs a non-empty NAME"));
    }
    if (parser.isSet(midiOut)) {
        result.midiOut = parser.value(midiOut).toStdString();
    }
    if (parser.isSet(virtualPort)) {
        result.virtualPort = parser.value(virtualPort).toStdString();
    }
    result.settings.soundfont = parser.value(soundfont).toStdString();
    result.settings.audioDriver = parser.value(audioDriver).toStdString();
    result.settings.audioFile = parser.value(audioFile).toStdString();
    return result;
}

std::string FormatMidiOutputList(const std::vector<std::string>& devices)
{
    std::string text;
    for (std::size_t i = 0; i < devices.size(); ++i) {
        text += std::to_string(i) + ": " + devices[i] + "\n";
    }
    return text;
}
