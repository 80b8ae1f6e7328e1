#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <iterator>
#include <map>
#include <sstream>

#include "rig/ChildProcess.h"
#include "rig/JackRig.h"
#include "rig/Xdo.h"
#include "rig/XvfbServer.h"

namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

std::vector<std::string> Words(const std::string& text)
{
    std::istringstream words(text);
    return { std::istream_iterator<std::string>(words), std::istream_iterator<std::string>() };
}

// What Tavo itself wrote to standard error: its "tavo: " lines, without Qt's.
std::string TavoLines(const std::string& errors)
{
    std::istringstream lines(errors);
    std::string own;
    for (std::string line; std::getline(lines, line);) {
        own += line.starts_with("tavo: ") ? line + '\n' : "";
    }
    return own;
}

// The channel list is opened and channel 10 chosen with clicks; then space twice and A
// reach the keyboard alone: two instruments, middle C on and off, all on channel 0, and
// no list left open over the keys.
TEST(StartUpAndKeysTest, ChannelChosenWithClicksLeavesSpaceAndLettersToTheKeyboard)
{
    XvfbServer xvfb;
    const std::string& display = xvfb.DisplayName();
    JackServer jack;
    ASSERT_TRUE(jack.IsReady());
    MidiDump dump;
    ChildProcess tavo(TAVO_EXECUTABLE, { "--midi-out", "tavo-dump" }, { "DISPLAY=" + display });
    ASSERT_TRUE(Xdo(display, { "search", "--sync", "--onlyvisible", "--name", "^Tavo$" })) << tavo.Stderr();
    // The list sits right of the toolbar, in the row below the menu bar.
    ASSERT_TRUE(Xdo(display, { "mousemove", "250", "34", "click", "1", "sleep", "0.5" }));
    const std::vector<std::string> windows
        = Words(Xdo(display, { "search", "--onlyvisible", "--classname", "tavo" }).value_or(""));
    ASSERT_EQ(windows.size(), 2U) << "the channel list did not open";
    std::map<std::string, int> list;
    for (const std::string& line :
        Words(Xdo(display, { "getwindowgeometry", "--shell", windows.back() }).value_or(""))) {
        list[line.substr(0, line.find('='))] = std::stoi(line.substr(line.find('=') + 1));
    }
    // Sixteen items of one height fill the list: the middle of the tenth.
    const int x = list["X"] + list["WIDTH"] / 2;
    const int y = list["Y"] + list["HEIGHT"] * 19 / 32;
    ASSERT_TRUE(Xdo(display, { "mousemove", std::to_string(x), std::to_string(y), "click", "1", "sleep", "0.3" }));
    ASSERT_TRUE(Xdo(display, { "key", "--delay", "200", "space", "space", "a", "sleep", "0.5" }));
    const auto messages = dump.WaitForMessages(5, 2s);
    ASSERT_EQ(messages.size(), 4U);
    EXPECT_EQ(messages[0], (Bytes { 0xC0, messages[0][1] }));
    EXPECT_EQ(messages[1], (Bytes { 0xC0, messages[1][1] }));
    EXPECT_EQ(messages[2], (Bytes { 0x90, 60, 127 }));
    EXPECT_EQ(messages[3], (Bytes { 0x90, 60, 0 }));
    EXPECT_EQ(Words(Xdo(display, { "search", "--onlyvisible", "--classname", "tavo" }).value_or("")).size(), 1U)
        << "a list is open over the keys";
}

// A copy of the program with no olist.txt beside it says so in one line and runs on.
TEST(StartUpAndKeysTest, MissingNameListIsSaidInOneLineNamingTheFolder)
{
    XvfbServer xvfb;
    const auto folder = std::filesystem::temp_directory_path() / ("tavo-no-list-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(TAVO_EXECUTABLE, folder / "tavo", std::filesystem::copy_options::overwrite_existing);
    ChildProcess tavo((folder / "tavo").string(), { "--audio-file", (folder / "take.wav").string() },
        { "DISPLAY=" + xvfb.DisplayName() });
    EXPECT_TRUE(Xdo(xvfb.DisplayName(), { "search", "--sync", "--onlyvisible", "--name", "^Tavo$" }));
    tavo.Signal(SIGTERM);
    EXPECT_EQ(tavo.WaitForExit(10s), 0);
    EXPECT_EQ(TavoLines(tavo.Stderr()),
        "tavo: no instrument names: cannot read olist.txt in " + folder.string()
            + "; the instrument box shows \"nodata\"\n");
    std::filesystem::remove_all(folder);
}

// No display set, and one whose server is gone: one line, exit 1, and no file written.
TEST(StartUpAndKeysTest, WithoutADisplayOneLineAndExitOneBeforeAnyFileOpens)
{
    XvfbServer gone;
    gone.Kill();
    const auto take = std::filesystem::temp_directory_path() / ("tavo-take-" + std::to_string(getpid()) + ".wav");
    for (const std::string& display : { std::string(), gone.DisplayName() }) {
        ChildProcess tavo(
            TAVO_EXECUTABLE, { "--audio-file", take.string() }, { "DISPLAY=" + display, "QT_QPA_PLATFORM=" });
        EXPECT_EQ(tavo.WaitForExit(10s), 1) << display;
        const std::string errors = tavo.Stderr();
        EXPECT_TRUE(errors.starts_with("tavo: cannot open the display")) << errors;
        EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
        EXPECT_FALSE(std::filesystem::exists(take)) << display;
    }
}

}
