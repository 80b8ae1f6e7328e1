#include <gtest/gtest.h>

#include <QProcess>

#include "ui/CommandLine.h"

namespace {

CommandLine Parse(QStringList arguments)
{
    arguments.prepend("tavo");
    return ParseCommandLine(arguments);
}

TEST(CommandLineTest, NoArgumentsRunTheWindowOnTheDefaultDevice)
{
    const CommandLine line = Parse({});
    EXPECT_EQ(line.action, CommandLine::Action::Run);
    EXPECT_FALSE(line.midiOut.has_value());
    EXPECT_EQ(line.settings.soundfont, "");
    EXPECT_EQ(line.settings.audioDriver, "");
    EXPECT_EQ(line.settings.audioFile, "");
}

TEST(CommandLineTest, OutputOptionsArePassedOnInBothSpellings)
{
    const CommandLine line = Parse(
        { "--midi-out", "Synth 2", "--soundfont=/sf/x.sf2", "--audio-driver", "jack", "--audio-file", "out.wav" });
    EXPECT_EQ(line.action, CommandLine::Action::Run);
    EXPECT_EQ(line.midiOut, "Synth 2");
    EXPECT_EQ(line.settings.soundfont, "/sf/x.sf2");
    EXPECT_EQ(line.settings.audioDriver, "jack");
    EXPECT_EQ(line.settings.audioFile, "out.wav");
    EXPECT_EQ(Parse({ "--midi-out=3" }).midiOut, "3");
}

TEST(CommandLineTest, HelpAndVersionExitZeroWithTheirText)
{
    for (const char* help : { "-h", "--help" }) {
        const CommandLine line = Parse({ help });
        EXPECT_EQ(line.action, CommandLine::Action::Exit);
        EXPECT_EQ(line.exitCode, 0);
        EXPECT_NE(line.output.find("--midi-out <N|NAME>"), std::string::npos) << line.output;
        EXPECT_NE(line.output.find("--list-midi-outputs"), std::string::npos);
        EXPECT_EQ(line.output.find("<executable_name>"), std::string::npos);
    }
    for (const char* version : { "-v", "--version" }) {
        const CommandLine line = Parse({ version });
        EXPECT_EQ(line.exitCode, 0);
        EXPECT_EQ(line.output, "Tavo 1.0\n");
    }
    // Help wins over everything else on the line.
    EXPECT_EQ(Parse({ "--midi-out", "1", "--help" }).action, CommandLine::Action::Exit);
}

TEST(CommandLineTest, ListAsksForTheDevices)
{
    EXPECT_EQ(Parse({ "--list-midi-outputs" }).action, CommandLine::Action::ListMidiOutputs);
}

TEST(CommandLineTest, UsageErrorsExitTwoNamingTheProblem)
{
    const std::vector<std::pair<QStringList, std::string>> cases = {
        { { "--bogus" }, "unknown option '--bogus'" },
        { { "-bogus=1" }, "unknown option '-bogus'" },
        { { "--midi-out" }, "missing value after '--midi-out'" },
        { { "stray" }, "unexpected argument 'stray'" },
        { { "--audio-file", "take.mp3" }, "cannot write audio as 'take.mp3' (the formats are .wav, .flac, .ogg)" },
    };
    for (const auto& [arguments, what] : cases) {
        const CommandLine line = Parse(arguments);
        EXPECT_EQ(line.action, CommandLine::Action::Exit);
        EXPECT_EQ(line.exitCode, 2);
        EXPECT_EQ(line.output, "");
        EXPECT_EQ(line.error, "tavo: " + what + "; try 'tavo --help'\n");
    }
}

TEST(CommandLineTest, DeviceListHasOneNumberedLineEach)
{
    EXPECT_EQ(FormatMidiOutputList({ "Built-in", "Port A" }), "0: Built-in\n1: Port A\n");
    EXPECT_EQ(FormatMidiOutputList({}), "");
}

// The real program: these must work without any display.
struct ProgramRun {
    int exitCode;
    QString output;
    QString error;
};

ProgramRun RunTavo(const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    environment.remove("QT_QPA_PLATFORM");
    process.setProcessEnvironment(environment);
    process.start(TAVO_EXECUTABLE, arguments);
    process.waitForFinished(-1);
    return { process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
        QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError()) };
}

TEST(CommandLineProgramTest, HelpVersionAndListExitZero)
{
    const ProgramRun help = RunTavo({ "--help" });
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.output.startsWith("Usage: ")) << help.output.toStdString();

    const ProgramRun version = RunTavo({ "-v" });
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.output, "Tavo 1.0\n");

    const ProgramRun list = RunTavo({ "--list-midi-outputs" });
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_TRUE(list.output.startsWith("0: ")) << list.output.toStdString();
    EXPECT_TRUE(list.output.endsWith("\n"));
}

TEST(CommandLineProgramTest, UnknownOptionAndUnmatchedOutputExitTwo)
{
    const ProgramRun unknown = RunTavo({ "--frobnicate" });
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.error.contains("frobnicate")) << unknown.error.toStdString();
    EXPECT_EQ(unknown.output, "");

    const ProgramRun unmatched = RunTavo({ "--midi-out", "no such device anywhere" });
    EXPECT_EQ(unmatched.exitCode, 2);
    EXPECT_TRUE(unmatched.error.contains("no such device anywhere")) << unmatched.error.toStdString();
    // The message names the devices there are.
    EXPECT_TRUE(unmatched.error.contains("0: ")) << unmatched.error.toStdString();
}

}
