#include "core/Transport.h"

void OnRec(AppState& state)
{
    state.logFrame = 0;
    state.recFrame = 0;
    for (LogEvent& entry : state.log) {
        entry.key = LOG_END;
    }
    state.mode = TransportMode::ModeRec;
}

void OnPlay(AppState& state)
{
    state.logFrame = 0;
    state.recFrame = 0;
    state.mode = TransportMode::ModePlay;
}

void OnStop(AppState& state)
{
    state.mode = TransportMode::ModeStop;
}

void RecordKeyChange(AppState& state, std::uint8_t index, std::uint8_t on)
{
    if (state.mode != TransportMode::ModeRec) {
        return;
    }
    state.log[state.logFrame] = { index, on, state.recFrame };
    state.logFrame += 1;
    if (state.logFrame >= kLogCapacity) {
        state.mode = TransportMode::ModeStop;
    }
}
