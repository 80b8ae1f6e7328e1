#include "core/TickProcedure.h"

#include "core/Instrument.h"
#include "core/Transport.h"
#include "timer/TickTimer.h"

std::int32_t g_tickCount = 0;
std::uint8_t g_spaceLatch = 0;

namespace {

// One step of playback: at most one entry per tick, so entries sharing a frame come
// out on successive ticks.
void PlayOneStep(AppState& state, ViewSurface& view)
{
    SaturatingIncrement(state.recFrame);
    const bool pastEnd = state.logFrame < 0 || state.logFrame >= kLogSize;
    if (pastEnd || state.log[state.logFrame].key == LOG_END) {
        state.mode = TransportMode::ModeStop;
        view.ShowMessage("PLAY END!");
        return;
    }
    const LogEvent& entry = state.log[state.logFrame];
    if (state.recFrame >= entry.frame) {
        SetKeyState(state, view, entry.key, entry.on);
        state.logFrame += 1;
        view.InvalidateRect(kCounterArea);
    }
}

void FlushPressedSinceMemory(KeyStateSource& keys)
{
    keys.Refresh();
    for (int virtualKey = 0; virtualKey < kVkFlushEnd; ++virtualKey) {
        keys.GetAsyncKeyState(virtualKey);
    }
}

void PollLetters(AppState& state, const TickServices& services)
{
    for (std::uint8_t i = 0; i < kPolledKeyCount; ++i) {
        const std::uint8_t pressed = services.keys.GetAsyncKeyState(state.keys[i].vkey) != 0 ? 1 : 0;
        if (pressed != state.keys[i].down) {
            RecordKeyChange(state, i, pressed);
            SetKeyState(state, services.view, i, pressed);
        }
    }
}

void PollSpaceBar(AppState& state, const TickServices& services)
{
    const bool pressed = services.keys.GetAsyncKeyState(kVkSpace) != 0;
    if (pressed && g_spaceLatch == 0) {
        g_spaceLatch = 1;
        PickRandomInstrument(state, services.random);
        services.view.InvalidateAll();
    } else if (!pressed && g_spaceLatch == 1) {
        g_spaceLatch = 0;
    }
}

void RunTick(AppState& state, const TickServices& services)
{
    SaturatingIncrement(g_tickCount);
    if (state.mode == TransportMode::ModeRec) {
        SaturatingIncrement(state.recFrame);
        services.view.InvalidateRect(kCounterArea);
    } else if (state.mode == TransportMode::ModePlay) {
        PlayOneStep(state, services.view);
        return;
    }
    if (g_tickCount < kFirstPollingTick) {
        FlushPressedSinceMemory(services.keys);
        return;
    }
    services.keys.Refresh();
    PollLetters(state, services);
    PollSpaceBar(state, services);
}

}

void OnTick(AppState& state, const TickServices& services)
{
    RunTick(state, services);
    SetTickPending(0);
}
