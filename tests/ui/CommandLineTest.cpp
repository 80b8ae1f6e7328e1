#include <gtest/gtest.h>

#include "ui/CommandLine.h"

TEST(CommandLineTest, EachLineAsksForItsActionAndText)
{
    struct Case {
        std::vector<std::string> arguments;
        CommandLine::Action action;
        int exitCode;
        std::string text; // in what is printed: help or version, or the error naming the problem
        std::optional<std::string> virtualPort = {}; // named, or Tavo when the name is left out
    } const cases[] = {
        { { "-h" }, CommandLine::Action::Exit, 0, "--list-midi-outputs" },
        { { "--midi-out", "1", "--help" }, CommandLine::Action::Exit, 0, "Usage: " },
        { { "-v" }, CommandLine::Action::Exit, 0, "Tavo 1.0\n" },
        { { "--version" }, CommandLine::Action::Exit, 0, "Tavo 1.0\n" },
        { { "--list-midi-outputs" }, CommandLine::Action::ListMidiOutputs, 0, "" },
        { { "--bogus" }, CommandLine::Action::Exit, 2, "tavo: unknown option '--bogus'; try 'tavo --help'\n" },
        { { "-bogus=1" }, CommandLine::Action::Exit, 2, "option '-bogus';" },
        { { "--midi-out" }, CommandLine::Action::Exit, 2, "missing value after '--midi-out';" },
        { { "stray" }, CommandLine::Action::Exit, 2, "tavo: unexpected argument 'stray'; try 'tavo --help'\n" },
        { { "--audio-file", "take.mp3" }, CommandLine::Action::Exit, 2, "as 'take.mp3' (the formats are .wav, .flac" },
        { { "--audio-file", "take.FLAC" }, CommandLine::Action::Run, 0, "" },
        { { "--virtual-port", "--midi-out", "1" }, CommandLine::Action::Exit, 2, "--virtual-port and --midi-out" },
        { { "--virtual-port=" }, CommandLine::Action::Exit, 2, "--virtual-port needs a non-empty NAME" },
        { { "--audio-file", "" }, CommandLine::Action::Exit, 2, "--audio-file needs a file name" },
        { { "--midi-file", "" }, CommandLine::Action::Exit, 2, "tavo: --midi-file needs a file name; try" },
        { { "--audio-driver", "file" }, CommandLine::Action::Exit, 2, "--audio-driver file needs --audio-file FILE" },
        // The program takes no other word, so one after --virtual-port is the port's name.
        { { "--virtual-port" }, CommandLine::Action::Run, 0, "", "Tavo" },
        { { "--virtual-port", "--soundfont", "x.sf2" }, CommandLine::Action::Run, 0, "", "Tavo" },
        { { "--virtual-port", "Keys" }, CommandLine::Action::Run, 0, "", "Keys" },
        { { "--virtual-port=My Keys" }, CommandLine::Action::Run, 0, "", "My Keys" },
    };
    for (const Case& c : cases) {
        const CommandLine line = ParseCommandLine(c.arguments);
        SCOPED_TRACE(testing::PrintToString(c.arguments) + ": " + line.output + line.error);
        const auto& [said, silent]
            = c.exitCode == 0 ? std::tie(line.output, line.error) : std::tie(line.error, line.output);
        EXPECT_EQ(std::tuple(line.action, line.exitCode, line.virtualPort, silent),
            std::tuple(c.action, c.exitCode, c.virtualPort, ""));
        EXPECT_NE(said.find(c.text), std::string::npos);
    }
}
