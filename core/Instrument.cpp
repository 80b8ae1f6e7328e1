#include "core/Instrument.h"

namespace {
constexpr int kProgramCount = 127; // program 127 is never drawn
}

void PickRandomInstrument(AppState& state, RandomSource& random)
{
    state.program = static_cast<std::uint8_t>(random.Rand() % kProgramCount);
    state.midiOut.ProgramChange(kChannel, state.program);
}
