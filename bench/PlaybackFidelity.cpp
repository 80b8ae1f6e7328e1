#include "PlaybackFidelity.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <thread>

#include "Figures.h"
#include "PlaybackSlots.h"
#include "midi/MidiOutPort.h"

namespace {

using namespace std::chrono_literals;

constexpr int kChords = 4;
constexpr int kSingleNotes = (PhraseTypist::kPhraseKeyChanges - 4 * kChords) / 2;
constexpr int kShortestGapMs = 40;
constexpr int kLongestGapMs = 120;
constexpr double kTickMs = 10.0;
constexpr std::uint8_t kNoteOn = 0x90;
constexpr std::uint8_t kFirstNote = 60;
constexpr std::uint8_t kVelocityDown = 127;

struct LetterKey {
    int keyIndex;
    unsigned long keysym;
};
// The white keys of the first octave and the C above, on their letters.
constexpr LetterKey kLetterKeys[] = { { 0, kKeysymA }, { 2, kKeysymS }, { 4, kKeysymD }, { 5, kKeysymF },
    { 7, kKeysymG }, { 9, kKeysymH }, { 11, kKeysymJ }, { 12, kKeysymK } };

std::string Count(std::size_t value, std::size_t of)
{
    return std::to_string(value) + " of " + std::to_string(of);
}

}

PhraseTypist::PhraseTypist(XInjector& injector, std::mt19937& random)
    : injector_(injector)
    , random_(random)
{
    for (const LetterKey& letter : kLetterKeys) {
        letters_.push_back({ letter.keyIndex, injector_.KeycodeOf(letter.keysym) });
    }
    Plan();
}

// Notes one after the other, a chord every few notes; a chord's letters go in key order,
// which is the order one tick's poll records them in.
void PhraseTypist::Plan()
{
    std::uniform_int_distribution<std::size_t> pick(0, letters_.size() - 1);
    const int notes = kSingleNotes + kChords;
    const int chordEvery = notes / kChords;
    for (int note = 0; note < notes; ++note) {
        std::vector<Letter> held { letters_[pick(random_)] };
        if (note % chordEvery == chordEvery - 1) {
            Letter second = held.front();
            while (second.keyIndex == held.front().keyIndex) {
                second = letters_[pick(random_)];
            }
            held.push_back(second);
            std::sort(
                held.begin(), held.end(), [](const Letter& a, const Letter& b) { return a.keyIndex < b.keyIndex; });
        }
        steps_.push_back({ held, true });
        steps_.push_back({ held, false });
    }
}

void PhraseTypist::Type(PlaybackTake& take)
{
    std::uniform_int_distribution<int> gapMs(kShortestGapMs, kLongestGapMs);
    auto due = BenchClock::now();
    for (const Step& step : steps_) {
        due += std::chrono::milliseconds(gapMs(random_));
        std::this_thread::sleep_until(due);
        std::vector<int> keycodes;
        for (const Letter& letter : step.letters) {
            keycodes.push_back(letter.keycode);
        }
        const BenchClock::time_point typed = injector_.SetKeys(keycodes, step.down);
        take.typed.insert(take.typed.end(), keycodes.size(), typed);
        take.typedTogether += static_cast<int>(keycodes.size()) - 1;
    }
}

void PrintPlaybackFigures(const PlaybackTake& take)
{
    const std::size_t changes = take.typed.size();
    PrintFigure("playback: key changes typed / recorded / played",
        std::to_string(changes) + " / " + std::to_string(take.recorded.size()) + " / "
            + std::to_string(take.played.size()),
        "all equal");
    PrintFigure("playback: \"PLAY END!\" shown after the last entry", take.endShown ? "yes" : "no", "yes");

    // Recording: each change's frame against the moment it was typed, as spacing from
    // the change before it.
    const std::size_t recorded = std::min(changes, take.recorded.size());
    double worstSpacingMs = 0;
    std::size_t sharedFrames = 0;
    for (std::size_t i = 1; i < recorded; ++i) {
        const double typedGap = MillisecondsBetween(take.typed[i - 1], take.typed[i]);
        const double recordedGap = kTickMs * (take.recorded[i].frame - take.recorded[i - 1].frame);
        worstSpacingMs = std::max(worstSpacingMs, std::abs(recordedGap - typedGap));
        if (typedGap == 0 && take.recorded[i].frame == take.recorded[i - 1].frame) {
            ++sharedFrames;
        }
    }
    PrintFigure("recording: recorded spacing (frames x 10 ms) vs typed spacing, max difference",
        FormatValue(worstSpacingMs, 2, "ms"), "< 10 ms (one tick)");
    PrintFigure("recording: letters typed together that share a frame",
        Count(sharedFrames, static_cast<std::size_t>(take.typedTogether)), "all");

    // Playback, against the slots the log sets; the first entry anchors the wall-clock
    // comparison.
    const std::size_t played = std::min(take.recorded.size(), take.played.size());
    const std::vector<std::int32_t> slots = ExpectedPlaySlots(take.recorded);
    std::int32_t worstSlotTicks = 0;
    double worstMs = 0;
    std::size_t offOrWrong = 0;
    for (std::size_t i = 0; i < played; ++i) {
        const LogEvent& entry = take.recorded[i];
        const StampingMidiDevice::Sent& sent = take.played[i];
        const std::uint32_t expectedMessage = PackShortMessage(
            kNoteOn, static_cast<std::uint8_t>(kFirstNote + entry.key), entry.on != 0 ? kVelocityDown : 0);
        const std::int32_t slotTicks = std::abs(sent.recFrame - slots[i]);
        const double ms
            = std::abs(MillisecondsBetween(take.played.front().time, sent.time) - kTickMs * (slots[i] - slots.front()));
        worstSlotTicks = std::max(worstSlotTicks, slotTicks);
        worstMs = std::max(worstMs, ms);
        if (sent.message != expectedMessage || slotTicks > 1 || ms > kTickMs) {
            ++offOrWrong;
        }
    }
    PrintFigure("playback: played tick vs expected slot, max deviation", std::to_string(worstSlotTicks) + " ticks",
        "<= 1 tick");
    PrintFigure(
        "playback: played time vs expected slot x 10 ms, max deviation", FormatValue(worstMs, 2, "ms"), "<= 10 ms");
    PrintFigure("playback: entries off by more than a tick, or not the recorded note", std::to_string(offOrWrong), "0");
}
