#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz/NameListChecks.h"
#include "names/InstrumentNames.h"

namespace {

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>() };
}

// The fuzzer's seeds replayed in every build, so the plain and sanitizer runs check the
// same edges without libFuzzer: buffer boundaries, lone line ends, NULs, foreign text.
TEST(NameListCorpusTest, EverySeedKeepsTheLookupRules)
{
    const std::filesystem::path scratch = std::filesystem::path(testing::TempDir()) / "tavo-name-list-corpus";
    std::filesystem::create_directories(scratch);
    int seeds = 0;
    for (const auto& entry : std::filesystem::directory_iterator(TAVO_FUZZ_CORPUS_DIR)) {
        const std::vector<std::uint8_t> bytes = ReadBytes(entry.path());
        EXPECT_EQ(CheckNameListFile(bytes, scratch / kNameListFile), "") << "seed " << entry.path().filename();
        ++seeds;
    }
    EXPECT_GE(seeds, 10) << "the seed corpus is missing";
    std::filesystem::remove_all(scratch);
}

// Every prefix of a well-formed list: a file cut inside a name, between CR and LF, or
// right after a line end.
TEST(NameListCorpusTest, EveryTruncationOfAWellFormedListKeepsTheRules)
{
    const std::string list = "Piano\r\n\r\nOrgan\r\nGuitar";
    const std::filesystem::path path = std::filesystem::path(testing::TempDir()) / "tavo-checks-olist.txt";
    for (std::size_t length = 0; length <= list.size(); ++length) {
        const std::vector<std::uint8_t> bytes(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(length));
        EXPECT_EQ(CheckNameListFile(bytes, path), "") << "first " << length << " bytes";
    }
    std::filesystem::remove(path);
}

}
