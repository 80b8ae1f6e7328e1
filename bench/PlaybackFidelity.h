#pragma once

#include <random>
#include <vector>

#include "LatencyStats.h"
#include "StampingMidiDevice.h"
#include "XInjector.h"
#include "core/AppState.h"

// A recorded phrase played back: what was typed and when, what the log kept, and what
// playback sent.
struct PlaybackTake {
    // One time per key change, in the order the log stores them; two letters that go
    // down or up together share a time.
    std::vector<BenchClock::time_point> typed;
    // How many key changes were typed together with the one before them.
    int typedTogether = 0;
    std::vector<LogEvent> recorded;
    std::vector<StampingMidiDevice::Sent> played;
    bool endShown = false;
};

// A phrase of kPhraseKeyChanges key changes on eight letters, spaced at random between
// 40 and 120 ms, with a few two-letter chords pressed and released together.
class PhraseTypist {
public:
    static constexpr int kPhraseKeyChanges = 50;

    // Plans the phrase. The injector's thread.
    PhraseTypist(XInjector& injector, std::mt19937& random);
    // Types it, filling the take's typed times. The injector's thread.
    void Type(PlaybackTake& take);

private:
    struct Letter {
        int keyIndex;
        int keycode;
    };
    struct Step {
        std::vector<Letter> letters;
        bool down;
    };
    void Plan();

    XInjector& injector_;
    std::mt19937& random_;
    std::vector<Letter> letters_;
    std::vector<Step> steps_;
};

// Prints the take's rows: entries recorded and played, recorded against typed spacing,
// played slots against the slots the log sets (one entry per tick, none before its frame).
void PrintPlaybackFigures(const PlaybackTake& take);
