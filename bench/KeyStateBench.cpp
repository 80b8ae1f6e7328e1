#include <benchmark/benchmark.h>

#include <array>
#include <stdexcept>

#include "Figures.h"
#include "TestXClients.h"
#include "XvfbServer.h"
#include "platform/keys/X11KeyState.h"

namespace {

// What one polling tick asks for: the 16 bound letters, then the space bar.
constexpr std::array<int, 17> kPolledKeys
    = { 'A', 'W', 'S', 'E', 'D', 'F', 'R', 'G', 'T', 'H', 'Y', 'J', 'K', 'I', 'L', 'O', kVkSpace };

XvfbServer& Server()
{
    static XvfbServer server;
    return server;
}

std::unique_ptr<X11KeyState> OpenKeys(X11PressEvents events)
{
    std::string whyNot;
    auto keys = X11KeyState::Open(Server().DisplayName().c_str(), events, whyNot);
    if (!keys) {
        throw std::runtime_error(whyNot);
    }
    return keys;
}

void ReadOneTick(KeyStateSource& keys)
{
    keys.Refresh();
    for (int virtualKey : kPolledKeys) {
        benchmark::DoNotOptimize(keys.GetAsyncKeyState(virtualKey));
    }
}

void BM_KeyStateTickRawEvents(benchmark::State& run)
{
    auto keys = OpenKeys(X11PressEvents::RawXInput2);
    for (auto _ : run) {
        ReadOneTick(*keys);
    }
}
BENCHMARK(BM_KeyStateTickRawEvents)->UseRealTime();

void BM_KeyStateTickPolling(benchmark::State& run)
{
    auto keys = OpenKeys(X11PressEvents::None);
    for (auto _ : run) {
        ReadOneTick(*keys);
    }
}
BENCHMARK(BM_KeyStateTickPolling)->UseRealTime();

// A player's fast run: two letters tapped since the last tick, four raw presses to drain.
void BM_KeyStateTickAfterTaps(benchmark::State& run)
{
    auto keys = OpenKeys(X11PressEvents::RawXInput2);
    XTestTypist typist(Server().DisplayName());
    const int keycodeA = typist.KeycodeOf(kKeysymA);
    const int keycodeS = typist.KeycodeOf(kKeysymS);
    for (auto _ : run) {
        run.PauseTiming();
        typist.Tap(keycodeA);
        typist.Tap(keycodeS);
        typist.Tap(keycodeA);
        typist.Tap(keycodeS);
        run.ResumeTiming();
        ReadOneTick(*keys);
    }
}
BENCHMARK(BM_KeyStateTickAfterTaps)->UseRealTime();

const bool kDescribed = [] {
    DescribeBenchmark("BM_KeyStateTickRawEvents/real_time",
        "one tick's X11 key state (snapshot + drain + 17 queries), XInput2", "< 60 µs");
    DescribeBenchmark(
        "BM_KeyStateTickPolling/real_time", "one tick's X11 key state, XQueryKeymap polling only", "< 60 µs");
    DescribeBenchmark(
        "BM_KeyStateTickAfterTaps/real_time", "one tick's X11 key state with 4 raw presses to drain", "< 60 µs");
    return true;
}();

}
