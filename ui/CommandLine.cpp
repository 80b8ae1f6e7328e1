#include "ui/CommandLine.h"

#include <QCommandLineParser>

namespace {

constexpr const char* kVersionText = "Tavo 1.0\n";

// The arguments come in one QChar per byte (see ParseCommandLine), so file names and
// port names go back out byte for byte, valid UTF-8 or not.
std::string Bytes(const QString& text)
{
    return text.toLatin1().toStdString();
}

CommandLine UsageError(const std::string& message)
{
    CommandLine result;
    result.action = CommandLine::Action::Exit;
    result.exitCode = kExitUsage;
    result.error = "tavo: " + message + "\nTry 'tavo --help' for more information.\n";
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
    parser.addOptions({ help, version, list, midiOut, soundfont, audioDriver, audioFile });

    CommandLine result;
    if (!parser.parse(arguments)) {
        return UsageError(Bytes(parser.errorText()));
    }
    if (!parser.positionalArguments().isEmpty()) {
        return UsageError("unexpected argument '" + Bytes(parser.positionalArguments().constFirst()) + "'");
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
    if (parser.isSet(midiOut)) {
        result.midiOut = Bytes(parser.value(midiOut));
    }
    result.settings.soundfont = Bytes(parser.value(soundfont));
    result.settings.audioDriver = Bytes(parser.value(audioDriver));
    result.settings.audioFile = Bytes(parser.value(audioFile));
    // Without a name the take would silently go to the sound card, or to FluidSynth's
    // own default file in the current folder.
    if (parser.isSet(audioFile) && result.settings.audioFile.empty()) {
        return UsageError("--audio-file needs a file name");
    }
    if (result.settings.audioDriver == "file" && result.settings.audioFile.empty()) {
        return UsageError("--audio-driver file needs --audio-file FILE.wav");
    }
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
