#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <sys/stat.h>
#include <unistd.h>

#include "core/AppState.h"
#include "names/InstrumentNames.h"

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

// Empty, CR-only, LF-only lists, lone CRs, no final CR LF, 255- to 300-byte lines, NULs, 4097 bytes.
TEST(NameListTest, EverySeedKeepsTheFuzzersRules)
{
    for (const fs::directory_entry& seed : fs::directory_iterator(TAVO_NAME_LIST_CORPUS)) {
        std::ifstream file(seed.path(), std::ios::binary);
        const std::vector<std::uint8_t> list { std::istreambuf_iterator<char>(file), {} };
        EXPECT_EXIT(std::_Exit(LLVMFuzzerTestOneInput(list.data(), list.size())), testing::ExitedWithCode(0), "")
            << seed;
    }
}

// Exits 0 if no list is read and the buffer is untouched. A child: root reads any file and a FIFO may wait.
[[noreturn]] static void ExitAfterReadingAsNobody(const fs::path& path)
{
    alarm(5);
    std::array<char, kNameTextSize> text;
    text.fill('#');
    std::_Exit((geteuid() == 0 && setuid(65534) != 0) || ReadTextFile(path.c_str(), text) || text[0] != '#');
}

TEST(NameListTest, OnlyAPlainReadableFileIsReadAndAHugeOneOnlyAsFarAsItFits)
{
    const fs::path folder = fs::path(testing::TempDir()) / ("tavo-names-" + std::to_string(getpid()));
    fs::create_directories(folder / "folder");
    ASSERT_EQ(mkfifo((folder / "fifo").c_str(), 0644), 0);
    fs::create_symlink("/dev/zero", folder / "device");
    std::ofstream(folder / "unreadable") << "Secret\r\n";
    fs::permissions(folder / "unreadable", fs::perms::none);
    for (const char* name : { "missing", "folder", "fifo", "device", "unreadable" }) {
        EXPECT_EXIT(ExitAfterReadingAsNobody(folder / name), testing::ExitedWithCode(0), "") << name;
    }
    std::ofstream(folder / "huge") << std::string(1 << 20, 'n');
    std::array<char, kNameTextSize> text;
    EXPECT_TRUE(ReadTextFile((folder / "huge").c_str(), text) && text.data() == std::string(kNameTextSize - 1, 'n'));
    fs::remove_all(folder);
}
