#include "ui/CommandLine.h"

#include <QCommandLineParser>

#include "platform/midi/AudioFileFormats.h"

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

QString Usage(const QCommandLineParser& parser)
{
    return parser.helpText().replace(QStringLiteral("<executable_name>"), QStringLiteral("tavo"));
}

// The arguments come in one QChar per byte (see ParseCommandLine), so file names and
// port names go back out byte for byte, valid UTF-8 or not.
std::string Bytes(const QString& text)
{
    return text.toLatin1().toStdString();
}

// Every usage error reads alike: what is wrong, with the argument as it was typed, and
// where to look.
CommandLine UsageError(const QString& what)
{
    CommandLine result;
    result.action = CommandLine::Action::Exit;
    result.exitCode = kExitUsage;
    result.error = Bytes(QStringLiteral("tavo: %1; try 'tavo --help'\n").arg(what));
    return result;
}

// The argument that named an option, as typed ("--bogus", "-x", "--bogus=1"); the bare
// name when no argument did.
QString AsTyped(const QStringList& arguments, const QString& name)
{
    for (const QString& argument : arguments.mid(1)) {
        if (argument == QStringLiteral("--")) {
            break;
        }
        QString option = argument.section(u'=', 0, 0);
        if (option.startsWith(u'-')
            && QStringView(option).mid(option.startsWith(QStringLiteral("--")) ? 2 : 1) == name) {
            return option;
        }
    }
    return name;
}

// Why the parser refused the arguments, in the program's words.
QString WhyRefused(const QCommandLineParser& parser, const QStringList& arguments)
{
    if (!parser.unknownOptionNames().isEmpty()) {
        return QStringLiteral("unknown option '%1'").arg(AsTyped(arguments, parser.unknownOptionNames().constFirst()));
    }
    // Otherwise the parser's own words, in the style of ours: "missing value after
    // '--midi-out'".
    QString text = parser.errorText();
    text[0] = text[0].toLower();
    while (text.endsWith(u'.')) {
        text.chop(1);
    }
    return text;
}

QString AudioFormatList()
{
    QStringList extensions;
    for (const AudioFileFormat& format : AudioFileFormats()) {
        extensions << QString::fromLatin1(format.extension.data(), static_cast<qsizetype>(format.extension.size()));
    }
    return extensions.join(QStringLiteral(", "));
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
        QStringLiteral("Render the built-in synthesizer's sound into a file instead of playing it, in the format "
                       "its extension names: .wav, .flac or .ogg (Ogg Vorbis)."),
        QStringLiteral("FILE"));
    const QCommandLineOption virtualPort("virtual-port",
        QStringLiteral("Play into an output port of Tavo's own named NAME (default \"Tavo\"; NAME may be left "
                       "out), which other programs connect to: on JACK when a JACK server runs, else on the ALSA "
                       "sequencer. Not with --midi-out."),
        QStringLiteral("NAME"));
    const QCommandLineOption midiFile("midi-file",
        QStringLiteral("Keep every MIDI message sent, with its time, in a Standard MIDI File (format 0, 1 ms "
                       "resolution), saved as you play."),
        QStringLiteral("FILE"));
    parser.addOptions({ help, version, list, midiOut, virtualPort, soundfont, audioDriver, audioFile, midiFile });
    // "-bogus" is one unknown option, not the five short options b, o, g, u and s.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);

    CommandLine result;
    if (!parser.parse(WithVirtualPortName(arguments))) {
        return UsageError(WhyRefused(parser, arguments));
    }
    if (!parser.positionalArguments().isEmpty()) {
        return UsageError(QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().constFirst()));
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
        result.midiOut = Bytes(parser.value(midiOut));
    }
    result.settings.soundfont = Bytes(parser.value(soundfont));
    result.settings.audioDriver = Bytes(parser.value(audioDriver));
    result.settings.audioFile = Bytes(parser.value(audioFile));
    // Without a name the take would silently go to the sound card, or to FluidSynth's
    // own default file in the current folder.
    if (parser.isSet(audioFile) && result.settings.audioFile.empty()) {
        return UsageError(QStringLiteral("--audio-file needs a file name"));
    }
    if (result.settings.audioDriver == "file" && result.settings.audioFile.empty()) {
        return UsageError(QStringLiteral("--audio-driver file needs --audio-file FILE"));
    }
    if (parser.isSet(audioFile) && AudioFileFormatOf(result.settings.audioFile) == nullptr) {
        return UsageError(QStringLiteral("cannot write audio as '%1' (the formats are %2)")
                              .arg(parser.value(audioFile), AudioFormatList()));
    }
    result.midiFile = Bytes(parser.value(midiFile));
    if (parser.isSet(midiFile) && result.midiFile.empty()) {
        return UsageError(QStringLiteral("--midi-file needs a file name"));
    }
    if (parser.isSet(virtualPort)) {
        result.virtualPort = Bytes(parser.value(virtualPort));
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
