#include <gtest/gtest.h>

#include <QTest>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "midi/ShortMessage.h"
#include "ui/MidiTakeFile.h"

namespace fs = std::filesystem;

// Through a file of its own, gone once renamed, over a take that keeps its permissions; a failed save says so once.
TEST(MidiTakeFileTest, SavesASecondAfterTheFirstChangeWhileThePlayingGoesOn)
{
    const fs::path folder = fs::path(testing::TempDir()) / ("tavo-take-" + std::to_string(getpid()));
    fs::create_directories(folder);
    std::ofstream(folder / "take.mid") << "an older take";
    const auto ownerOnly = fs::perms::owner_read | fs::perms::owner_write;
    fs::permissions(folder / "take.mid", ownerOnly);
    std::ostringstream errors;
    MidiTakeFile take((folder / "take.mid").string(), errors),
        unwritable((folder / "missing" / "take.mid").string(), errors);
    auto device = take.Recording(std::make_unique<NullMidiDevice>());
    auto failing = unwritable.Recording(std::make_unique<NullMidiDevice>());
    for (int change = 0; change < 6; ++change) {
        device->SendShortMessage(PackShortMessage(kNoteOnStatus, 60, change % 2 == 0 ? 127 : 0));
        failing->SendShortMessage(PackShortMessage(kNoteOnStatus, 60, 127));
        QTest::qWait(300);
    }
    EXPECT_EQ(fs::status(folder / "take.mid").permissions(), ownerOnly);
    EXPECT_GT(fs::file_size(folder / "take.mid"), 13u) << "not saved while playing";
    device.reset(), failing.reset();
    EXPECT_EQ(errors.str(),
        "tavo: cannot write the MIDI take to " + (folder / "missing" / "take.mid").string()
            + ": No such file or directory\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 1) << "a temporary file is left";
    fs::remove_all(folder);
}
