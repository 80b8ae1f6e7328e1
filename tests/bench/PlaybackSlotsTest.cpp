#include <gtest/gtest.h>

#include "PlaybackSlots.h"

namespace {

std::vector<LogEvent> Frames(const std::vector<std::int32_t>& frames)
{
    std::vector<LogEvent> log;
    for (const std::int32_t frame : frames) {
        log.push_back({ 0, 1, frame });
    }
    return log;
}

TEST(PlaybackSlotsTest, EntriesPlayOnTheirOwnFrames)
{
    EXPECT_EQ(ExpectedPlaySlots(Frames({ 1, 5, 12 })), (std::vector<std::int32_t> { 1, 5, 12 }));
}

TEST(PlaybackSlotsTest, EntriesSharingAFrameComeOneTickApart)
{
    EXPECT_EQ(ExpectedPlaySlots(Frames({ 7, 7, 7, 20 })), (std::vector<std::int32_t> { 7, 8, 9, 20 }));
}

TEST(PlaybackSlotsTest, AnEntryPushedBackPushesOnlyAsFarAsItMust)
{
    // The third entry's own frame is taken by the pushed second one; the fourth is clear.
    EXPECT_EQ(ExpectedPlaySlots(Frames({ 3, 3, 4, 6 })), (std::vector<std::int32_t> { 3, 4, 5, 6 }));
}

TEST(PlaybackSlotsTest, NothingPlaysBeforeTheFirstTickAfterPlay)
{
    EXPECT_EQ(ExpectedPlaySlots(Frames({ 0, 0 })), (std::vector<std::int32_t> { 1, 2 }));
    EXPECT_TRUE(ExpectedPlaySlots({}).empty());
}

}
