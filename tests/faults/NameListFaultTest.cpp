#include <gtest/gtest.h>

#include <array>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/AppState.h"
#include "fuzz/NameListChecks.h"
#include "names/InstrumentNames.h"

namespace {

namespace fs = std::filesystem;

constexpr int kProgramCount = 127;
// Exit codes of the child that reads the list as an unprivileged user.
constexpr int kChildReadRefused = 0;
constexpr int kChildReadSomething = 1;
constexpr int kChildCannotDropPrivileges = 2;
constexpr uid_t kNobody = 65534;

// A hostile "olist.txt" in a folder of its own, read the way start-up reads it: the name
// text starts empty, then the file is read into it.
class NameListFaultTest : public testing::Test {
protected:
    NameListFaultTest()
    {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        folder_ = fs::path(testing::TempDir()) / (std::string("tavo-fault-") + info->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        // Traversable by anyone, so an unprivileged reader meets the file's own mode.
        fs::permissions(folder_, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    }
    ~NameListFaultTest() override { fs::remove_all(folder_); }

    fs::path ListPath() const { return folder_ / kNameListFile; }

    void WriteList(const std::string& bytes) const { std::ofstream(ListPath(), std::ios::binary) << bytes; }

    bool LoadList()
    {
        nameText.fill('#');
        nameText[0] = '\0';
        return ReadTextFile(ListPath().c_str(), nameText);
    }

    std::string Line(std::int32_t program) const
    {
        std::array<char, kLineBufferSize> out {};
        return GetTextLine(nameText.data(), program, out) ? std::string(out.data()) : "<no line>";
    }

    // Whatever was read, every program the instrument can pick has a safe lookup.
    void ExpectEveryProgramSafe() const
    {
        for (std::int32_t program = 0; program < kProgramCount; ++program) {
            const std::string line = Line(program);
            EXPECT_FALSE(line.empty()) << "program " << program;
            EXPECT_LE(line.size(), kLineBufferSize - 1) << "program " << program;
        }
    }

    std::array<char, kNameTextSize> nameText {};

private:
    fs::path folder_;
};

TEST_F(NameListFaultTest, MissingListReadsAsAnEmptyList)
{
    EXPECT_FALSE(LoadList());
    EXPECT_EQ(Line(0), "nodata");
    EXPECT_EQ(Line(1), "<no line>");
    ExpectEveryProgramSafe();
}

TEST_F(NameListFaultTest, EmptyListNamesProgramZeroNodata)
{
    WriteList("");
    EXPECT_TRUE(LoadList());
    EXPECT_EQ(Line(0), "nodata");
    EXPECT_EQ(Line(1), "<no line>");
}

TEST_F(NameListFaultTest, ListThatIsADirectoryReadsAsEmpty)
{
    fs::create_directory(ListPath());
    EXPECT_FALSE(LoadList());
    EXPECT_EQ(nameText[0], '\0');
    EXPECT_EQ(Line(0), "nodata");
    ExpectEveryProgramSafe();
}

TEST_F(NameListFaultTest, BinaryListEndsAtItsFirstNulByte)
{
    // An executable: its header holds a NUL within its first few bytes.
    fs::copy_file("/proc/self/exe", ListPath());
    std::string header(16, '\0');
    std::ifstream(ListPath(), std::ios::binary).read(header.data(), static_cast<std::streamsize>(header.size()));
    EXPECT_TRUE(LoadList());
    EXPECT_EQ(Line(0), header.c_str());
    EXPECT_EQ(Line(0).substr(0, 4),
        "\x7f"
        "ELF");
    EXPECT_EQ(Line(1), "<no line>");
    fs::remove(ListPath());
    // A device is no list, even behind a link.
    fs::create_symlink("/dev/zero", ListPath());
    EXPECT_FALSE(LoadList());
    EXPECT_EQ(Line(0), "nodata");
}

TEST_F(NameListFaultTest, FifoListDoesNotHangStartUp)
{
    // Opening a FIFO for reading waits for a writer that never comes, so the read runs in
    // a child the test can give up on.
    ASSERT_EQ(mkfifo(ListPath().c_str(), 0600), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const bool read = LoadList();
        _exit(!read && nameText[0] == '\0' ? kChildReadRefused : kChildReadSomething);
    }
    int status = 0;
    pid_t finished = 0;
    for (int waits = 0; waits < 500 && finished == 0; ++waits) {
        finished = waitpid(child, &status, WNOHANG);
        if (finished == 0) {
            usleep(10000);
        }
    }
    if (finished == 0) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        FAIL() << "reading a FIFO as the name list never returned";
    }
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), kChildReadRefused);
}

TEST_F(NameListFaultTest, RandomBinaryListsKeepTheLookupRules)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 255);
    for (const std::size_t size : { 17u, 600u, 4095u, 4096u, 9000u }) {
        std::vector<std::uint8_t> bytes(size);
        for (std::uint8_t& b : bytes) {
            // NULs are rare enough that the text runs on past them only sometimes.
            b = static_cast<std::uint8_t>(byte(random) == 0 ? 0 : 1 + byte(random) % 255);
        }
        EXPECT_EQ(CheckNameListFile(bytes, ListPath()), "") << size << " bytes";
    }
}

TEST_F(NameListFaultTest, OneMebibyteListIsCutToTheBuffer)
{
    std::string list;
    for (int i = 0; list.size() < 1024 * 1024; ++i) {
        list += "Instrument " + std::to_string(i) + "\r\n";
    }
    WriteList(list);
    EXPECT_TRUE(LoadList());
    EXPECT_EQ(std::string(nameText.data()).size(), kNameTextSize - 1);
    EXPECT_EQ(nameText[kNameTextSize - 1], '\0');
    EXPECT_EQ(Line(126), "Instrument 126");
    ExpectEveryProgramSafe();

    WriteList(std::string(1024 * 1024, 'x'));
    EXPECT_TRUE(LoadList());
    EXPECT_EQ(Line(0), std::string(kLineBufferSize - 1, 'x'));
    EXPECT_EQ(Line(1), "<no line>");
}

TEST_F(NameListFaultTest, UnreadableListReadsAsAnEmptyList)
{
    WriteList("Secret\r\n");
    fs::permissions(ListPath(), fs::perms::none);
    // Root reads any file, so the read is tried by a child that has given root up.
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
            ::_exit(kChildCannotDropPrivileges);
        }
        const bool read = LoadList();
        ::_exit(!read && nameText[0] == '\0' && Line(0) == "nodata" ? kChildReadRefused : kChildReadSomething);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == kChildCannotDropPrivileges) {
        GTEST_SKIP() << "cannot switch to an unprivileged user here, so no file is unreadable";
    }
    EXPECT_EQ(WEXITSTATUS(status), kChildReadRefused);
}

}
