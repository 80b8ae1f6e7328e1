#include <benchmark/benchmark.h>

#include <array>
#include <string>

#include "Figures.h"
#include "core/AppState.h"
#include "core/TickProcedure.h"
#include "names/InstrumentNames.h"
#include "platform/random/CrtRandom.h"

namespace {

class NoRepaintView final : public ViewSurface {
public:
    void InvalidateRect(const Rect&) override { }
    void InvalidateAll() override { }
    void ShowMessage(const char*) override { }
};

// Reports one letter as held while `held` is set, every other key up.
class ScriptedKeys final : public KeyStateSource {
public:
    void Refresh() override { }
    std::uint16_t GetAsyncKeyState(int virtualKey) override { return held && virtualKey == 'A' ? 0x8000 : 0; }
    bool held = false;
};

struct PollingInstrument {
    PollingInstrument()
    {
        ResetAppState(state);
        g_tickCount = kFirstPollingTick;
    }
    AppState state { std::make_unique<NullMidiDevice>() };
    NoRepaintView view;
    ScriptedKeys keys;
    CrtRandom random;
    TickServices services { view, keys, random };
};

void BM_OnTickIdle(benchmark::State& run)
{
    PollingInstrument instrument;
    for (auto _ : run) {
        OnTick(instrument.state, instrument.services);
    }
}
BENCHMARK(BM_OnTickIdle);

// Every tick presses or releases key 0: one note-on and one repaint request per tick.
void BM_OnTickKeyChange(benchmark::State& run)
{
    PollingInstrument instrument;
    for (auto _ : run) {
        instrument.keys.held = !instrument.keys.held;
        OnTick(instrument.state, instrument.services);
    }
}
BENCHMARK(BM_OnTickKeyChange);

void BM_GetTextLineLastProgram(benchmark::State& run)
{
    std::string list;
    for (int program = 0; list.size() < kNameTextSize - 1; ++program) {
        list += "Instrument " + std::to_string(program) + "\r\n";
    }
    list.resize(kNameTextSize - 1);
    std::array<char, kLineBufferSize> out {};
    for (auto _ : run) {
        benchmark::DoNotOptimize(GetTextLine(list.c_str(), 126, out));
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_GetTextLineLastProgram);

const bool kDescribed = [] {
    DescribeBenchmark("BM_OnTickIdle", "one idle tick (16 letters + space polled)", "< 1 µs");
    DescribeBenchmark("BM_OnTickKeyChange", "one tick with a key change", "");
    DescribeBenchmark("BM_GetTextLineLastProgram", "name lookup, program 126 in a full 4 KiB list", "");
    return true;
}();

}
