#include <gtest/gtest.h>

#include <filesystem>

#include "platform/files/ExecutablePath.h"

TEST(ExecutablePathTest, NamesThisTestProgram)
{
    const std::filesystem::path path = ExecutablePath();
    EXPECT_TRUE(path.is_absolute());
    EXPECT_EQ(path.filename(), "platform_files_tests");
    EXPECT_TRUE(std::filesystem::is_regular_file(path));
}
