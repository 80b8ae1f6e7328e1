#include <gtest/gtest.h>

#include "LatencyStats.h"

namespace {

using namespace std::chrono_literals;

BenchClock::time_point At(std::chrono::microseconds sinceStart)
{
    return BenchClock::time_point {} + sinceStart;
}

TEST(LatencyMatchingTest, EachPressTakesTheFirstAnswerAtOrAfterIt)
{
    const std::vector<double> latencies
        = MatchLatencies({ At(0us), At(40000us) }, { At(3500us), At(40000us), At(41000us) });
    EXPECT_EQ(latencies, (std::vector<double> { 3.5, 0.0 }));
}

TEST(LatencyMatchingTest, AnAnswerBeforeEveryPressIsSkipped)
{
    // A note left over from before the run must not shorten the first latency.
    EXPECT_EQ(MatchLatencies({ At(10000us) }, { At(2000us), At(15000us) }), std::vector<double> { 5.0 });
}

TEST(LatencyMatchingTest, OneAnswerServesOnlyOnePress)
{
    // Two presses before one answer: the second gets the next answer, not the same one.
    EXPECT_EQ(
        MatchLatencies({ At(0us), At(1000us) }, { At(5000us), At(12000us) }), (std::vector<double> { 5.0, 11.0 }));
}

TEST(LatencyMatchingTest, PressesLeftWithoutAnswerGetNoLatency)
{
    EXPECT_EQ(MatchLatencies({ At(0us), At(20000us) }, { At(4000us) }), std::vector<double> { 4.0 });
    EXPECT_TRUE(MatchLatencies({ At(0us) }, {}).empty());
}

TEST(PercentileTest, NearestRankOfTheSortedValues)
{
    std::vector<double> hundred;
    for (int i = 100; i >= 1; --i) {
        hundred.push_back(i);
    }
    EXPECT_EQ(Percentile(hundred, 0.5), 50);
    EXPECT_EQ(Percentile(hundred, 0.99), 99);
    EXPECT_EQ(Percentile(hundred, 1.0), 100);
}

TEST(PercentileTest, SmallAndEmptySets)
{
    EXPECT_EQ(Percentile({ 7.0 }, 0.5), 7.0);
    EXPECT_EQ(Percentile({ 7.0 }, 0.0), 7.0);
    EXPECT_EQ(Percentile({ 1.0, 2.0 }, 0.5), 1.0);
    EXPECT_EQ(Percentile({}, 0.99), 0.0);
}

}
