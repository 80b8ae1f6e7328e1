#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <string>

#include "names/InstrumentNames.h"

namespace {

std::string Line(const char* text, std::int32_t index)
{
    std::array<char, kLineBufferSize> out {};
    out.fill('#');
    if (!GetTextLine(text, index, out)) {
        return "<fail>";
    }
    return out.data();
}

TEST(GetTextLineTest, CountsCrLfPairsAndReadsEmptyLinesAsNodata)
{
    const char* text = "Piano\r\n\r\nOrgan\r\n";
    EXPECT_EQ(Line(text, -5), "Piano");
    EXPECT_EQ(Line(text, 0), "Piano");
    EXPECT_EQ(Line(text, 1), "nodata");
    EXPECT_EQ(Line(text, 2), "Organ");
    EXPECT_EQ(Line(text, 3), "nodata");
    EXPECT_EQ(Line(text, 4), "<fail>");
    EXPECT_EQ(Line("", 0), "nodata");
    EXPECT_EQ(Line("", 1), "<fail>");
}

TEST(GetTextLineTest, StopsAtALoneCrButCountsOnlyCrLf)
{
    EXPECT_EQ(Line("Bass\rGuitar\r\nHarp", 0), "Bass");
    EXPECT_EQ(Line("Bass\rGuitar\r\nHarp", 1), "Harp");
    EXPECT_EQ(Line("Bass\nGuitar\n", 0), "Bass\nGuitar\n");
    EXPECT_EQ(Line("Bass\nGuitar\n", 1), "<fail>");
    EXPECT_EQ(Line("A\r\r\nB", 1), "B");
}

TEST(GetTextLineTest, CutsLongLinesAt255Bytes)
{
    const std::string text = std::string(300, 'x') + "\r\nnext";
    EXPECT_EQ(Line(text.c_str(), 0), std::string(255, 'x'));
    EXPECT_EQ(Line(text.c_str(), 1), "next");
}

TEST(GetTextLineTest, FailureLeavesOutputUntouched)
{
    std::array<char, kLineBufferSize> out {};
    out[0] = 'k';
    out[1] = '\0';
    EXPECT_FALSE(GetTextLine("only\r\n", 5, out));
    EXPECT_STREQ(out.data(), "k");
}

class ReadTextFileTest : public testing::Test {
protected:
    void Write(const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
    std::filesystem::path path = std::filesystem::temp_directory_path()
        / ("tavo_names_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_"
            + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::array<char, 4096> buffer {};
    void TearDown() override { std::filesystem::remove_all(path); }
};

TEST_F(ReadTextFileTest, ReadsWholeSmallFileWithTerminatingNul)
{
    buffer.fill('#');
    Write(std::string("Piano\r\n\0hidden", 14));
    EXPECT_TRUE(ReadTextFile(path.c_str(), buffer));
    EXPECT_STREQ(buffer.data(), "Piano\r\n");
    EXPECT_EQ(buffer[14], '\0');
}

TEST_F(ReadTextFileTest, KeepsOnlyWhatFitsBeforeTheNul)
{
    for (const std::size_t size : { 4095u, 4096u, 4097u, 10000u }) {
        SCOPED_TRACE(size);
        Write(std::string(size, 'n'));
        buffer.fill('#');
        EXPECT_TRUE(ReadTextFile(path.c_str(), buffer));
        EXPECT_EQ(std::string(buffer.data()).size(), std::min<std::size_t>(size, 4095));
    }
}

TEST_F(ReadTextFileTest, MissingFileFailsAndLeavesBufferAlone)
{
    buffer[0] = '\0';
    EXPECT_FALSE(ReadTextFile(path.c_str(), buffer));
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_FALSE(ReadTextFile(nullptr, buffer));
}

TEST_F(ReadTextFileTest, DirectoryReadsAsAnEmptyList)
{
    std::filesystem::create_directory(path);
    buffer[0] = '\0';
    ReadTextFile(path.c_str(), buffer);
    std::array<char, kLineBufferSize> out {};
    EXPECT_TRUE(GetTextLine(buffer.data(), 0, out));
    EXPECT_STREQ(out.data(), "nodata");
}

TEST(SetWorkingDirToExeTest, MovesToTheExecutablesFolderOrChangesNothing)
{
    const auto before = std::filesystem::current_path();
    const auto folder = std::filesystem::temp_directory_path();
    EXPECT_FALSE(SetWorkingDirToExe("tavo"));
    EXPECT_EQ(std::filesystem::current_path(), before);
    EXPECT_TRUE(SetWorkingDirToExe((folder / "tavo").string()));
    EXPECT_EQ(std::filesystem::current_path(), folder);
    std::filesystem::current_path(before);
}

}
