#include <gtest/gtest.h>

#include "ui/CommandLine.h"

namespace {

TEST(CommandLineTest, EachLineAsksForItsActionAndText)
{
    struct Case {
        QStringList arguments;
        CommandLine::Action action;
        int exitCode;
        std::string text; // in what is printed: help or version, or the error naming the problem
    } const cases[] = {
        { { "-h" }, CommandLine::Action::Exit, 0, "--midi-out <N|NAME>" },
        { { "--help" }, CommandLine::Action::Exit, 0, "--list-midi-outputs" },
        { { "--midi-out", "1", "--help" }, CommandLine::Action::Exit, 0, "Usage: " },
        { { "-v" }, CommandLine::Action::Exit, 0, "Tavo 1.0\n" },
        { { "--version" }, CommandLine::Action::Exit, 0, "Tavo 1.0\n" },
        { { "--list-midi-outputs" }, CommandLine::Action::ListMidiOutputs, 0, "" },
        { { "--bogus" }, CommandLine::Action::Exit, 2, "tavo: Unknown option 'bogus'.\n" },
        { { "-x" }, CommandLine::Action::Exit, 2, "'x'" },
        { { "--midi-out" }, CommandLine::Action::Exit, 2, "midi-out" },
        { { "stray" }, CommandLine::Action::Exit, 2, "tavo: unexpected argument 'stray'\n" },
    };
    for (const Case& c : cases) {
        const CommandLine line = ParseCommandLine(QStringList { "tavo" } + c.arguments);
        SCOPED_TRACE(c.arguments.join(' ').toStdString() + ": " + line.output + line.error);
        EXPECT_EQ(line.action, c.action);
        EXPECT_EQ(line.exitCode, c.exitCode);
        EXPECT_NE((c.exitCode == 0 ? line.output : line.error).find(c.text), std::string::npos);
        EXPECT_EQ((c.exitCode == 0 ? line.error : line.output), "");
    }
}

}
