#include "XInputScripts.h"

#include <thread>

namespace {

using namespace std::chrono_literals;

constexpr int kKeyGapShortestUs = 20000;
constexpr int kKeyGapLongestUs = 60000;
constexpr int kClickGapShortestMs = 300;
constexpr int kClickGapLongestMs = 400;
constexpr int kClickHoldShortestMs = 30;
constexpr int kClickHoldLongestMs = 80;
// Long enough for the tick after the last change and its message.
constexpr auto kDrain = 100ms;

}

KeyStrokes TypeLetterA(XInjector& injector, std::mt19937& random, int count)
{
    const int letterA = injector.KeycodeOf(kKeysymA);
    std::uniform_int_distribution<int> gapUs(kKeyGapShortestUs, kKeyGapLongestUs);
    KeyStrokes strokes;
    auto due = BenchClock::now();
    for (int i = 0; i < count; ++i) {
        due += std::chrono::microseconds(gapUs(random));
        std::this_thread::sleep_until(due);
        strokes.presses.push_back(injector.SetKey(letterA, true));
        due += std::chrono::microseconds(gapUs(random));
        std::this_thread::sleep_until(due);
        strokes.releases.push_back(injector.SetKey(letterA, false));
    }
    std::this_thread::sleep_for(kDrain);
    return strokes;
}

std::vector<BenchClock::time_point> ClickAt(XInjector& injector, std::mt19937& random, int x, int y, int count)
{
    injector.MovePointer(x, y);
    std::uniform_int_distribution<int> gapMs(kClickGapShortestMs, kClickGapLongestMs);
    std::uniform_int_distribution<int> holdMs(kClickHoldShortestMs, kClickHoldLongestMs);
    std::vector<BenchClock::time_point> presses;
    auto due = BenchClock::now();
    for (int i = 0; i < count; ++i) {
        due += std::chrono::milliseconds(gapMs(random));
        std::this_thread::sleep_until(due);
        presses.push_back(injector.SetButton1(true));
        std::this_thread::sleep_for(std::chrono::milliseconds(holdMs(random)));
        injector.SetButton1(false);
    }
    std::this_thread::sleep_for(kDrain);
    return presses;
}
