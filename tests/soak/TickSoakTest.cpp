#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/AppState.h"
#include "core/MouseInput.h"
#include "core/TickProcedure.h"
#include "core/Transport.h"
#include "platform/random/CrtRandom.h"
#include "soak/InvariantMonitor.h"
#include "support/FakeKeyboard.h"
#include "support/FakeView.h"
#include "support/RecordingMidiDevice.h"

namespace {

constexpr int kSoakTicks = 1'000'000;
constexpr std::uint32_t kDefaultSeed = 20240607;
// Ticks between two checks that STOP silences everything.
constexpr int kSilenceCheckPeriod = 4999;
// Letters that are bound to no key: pressing them must change nothing.
constexpr int kUnboundLetters[] = { 'B', 'Z', 'Q' };

std::uint32_t SoakSeed()
{
    const char* fromEnvironment = std::getenv("TAVO_SOAK_SEED");
    return fromEnvironment != nullptr ? static_cast<std::uint32_t>(std::strtoul(fromEnvironment, nullptr, 10))
                                      : kDefaultSeed;
}

// What the user does between two ticks, with rough odds per tick: playing is frequent,
// the transport commands rare enough that recordings fill the log and replay to the end.
enum class Action {
    LetterPress,
    LetterRelease,
    LetterTap,
    SpacePress,
    SpaceRelease,
    MousePress,
    MouseRelease,
    Rec,
    Play,
    Stop
};

// One instrument driven by a seeded stream of user actions, watched after every step.
class Soak {
public:
    explicit Soak(std::uint32_t seed)
        : random_(seed)
    {
        ResetAppState(state_);
        g_tickCount = 0;
        g_spaceLatch = 0;
        for (int i = 0; i < kPolledKeyCount; ++i) {
            letters_.push_back(state_.keys[i].vkey);
        }
        letters_.insert(letters_.end(), std::begin(kUnboundLetters), std::end(kUnboundLetters));
    }

    // Runs one tick with the user's actions before it; returns what broke, if anything.
    std::string Step(int tick)
    {
        const int actions = std::uniform_int_distribution<int>(0, 2)(random_);
        for (int i = 0; i < actions; ++i) {
            std::string broken = Perform(NextAction());
            if (broken.empty()) {
                broken = Check();
            }
            if (!broken.empty()) {
                return broken;
            }
        }
        if (tick % kSilenceCheckPeriod == kSilenceCheckPeriod - 1 && g_tickCount >= kFirstPollingTick) {
            return CheckStopSilences();
        }
        return TickAndCheck();
    }

    int logFills = 0;
    int playEnds = 0;
    int silenceChecks = 0;
    int mouseKeyPresses = 0;
    InvariantMonitor monitor;

private:
    Action NextAction()
    {
        static constexpr double kWeights[] = { 30, 24, 8, 3, 3, 4, 4, 0.02, 0.02, 0.01 };
        std::discrete_distribution<int> pick(std::begin(kWeights), std::end(kWeights));
        return static_cast<Action>(pick(random_));
    }

    int AnyLetter() { return letters_[std::uniform_int_distribution<std::size_t>(0, letters_.size() - 1)(random_)]; }

    // Does what the user does; returns what broke of the rule of that very action.
    std::string Perform(Action action)
    {
        switch (action) {
        case Action::LetterPress:
            keyboard_.Press(AnyLetter());
            break;
        case Action::LetterRelease:
            keyboard_.Release(AnyLetter());
            break;
        case Action::LetterTap:
            keyboard_.Tap(AnyLetter());
            break;
        case Action::SpacePress:
            keyboard_.Press(kVkSpace);
            break;
        case Action::SpaceRelease:
            keyboard_.Release(kVkSpace);
            break;
        case Action::MousePress:
            if (!mouseHeld_) {
                // Mostly over the keys, sometimes just outside them or on their edges.
                const int x = std::uniform_int_distribution<int>(-5, 710)(random_);
                const int y = std::uniform_int_distribution<int>(-5, 310)(random_);
                const int hit = MousePress(state_, view_, crtRandom_, x, y);
                mouseHeld_ = true;
                if (hit >= 0) {
                    ++mouseKeyPresses;
                    if (state_.keys[hit].down != 1) {
                        return "the key under the mouse is not down";
                    }
                }
            }
            break;
        case Action::MouseRelease:
            if (mouseHeld_) {
                MouseRelease(state_, view_);
                mouseHeld_ = false;
                // Whoever pressed them, the lower octave's keys are all up now.
                for (int i = 0; i < kMouseKeyCount; ++i) {
                    if (state_.keys[i].down != 0) {
                        return "key " + std::to_string(i) + " still down after the mouse button went up";
                    }
                }
            }
            break;
        case Action::Rec:
            OnRec(state_);
            break;
        case Action::Play:
            OnPlay(state_);
            break;
        case Action::Stop:
            OnStop(state_);
            break;
        }
        return {};
    }

    std::string TickAndCheck()
    {
        const bool recording = state_.mode == TransportMode::ModeRec;
        OnTick(state_, services_);
        if (recording && state_.mode == TransportMode::ModeStop && state_.logFrame == kLogCapacity) {
            ++logFills;
        }
        for (const std::string& message : view_.messages) {
            playEnds += message == "PLAY END!" ? 1 : 0;
        }
        view_.messages.clear();
        view_.invalidated.clear();
        keyboard_.queries.clear();
        return Check();
    }

    std::string Check()
    {
        std::string broken = monitor.TakeMessages(*sent_);
        sent_->clear();
        return broken.empty() ? monitor.CheckState(state_) : broken;
    }

    // The user lets go of everything and chooses STOP. The first tick still sees the
    // letters pressed since the previous poll; the tick after it, with nothing held and
    // nothing pressed since, must leave no note sounding.
    std::string CheckStopSilences()
    {
        for (const int letter : letters_) {
            keyboard_.Release(letter);
        }
        keyboard_.Release(kVkSpace);
        if (std::string broken = Perform(Action::MouseRelease); !broken.empty()) {
            return broken;
        }
        OnStop(state_);
        for (int tick = 0; tick < 2; ++tick) {
            if (std::string broken = TickAndCheck(); !broken.empty()) {
                return broken;
            }
        }
        ++silenceChecks;
        std::string broken = monitor.CheckSilence(state_);
        return broken.empty() ? std::string() : "after STOP and a tick with nothing held: " + broken;
    }

    std::mt19937 random_;
    std::vector<int> letters_;
    bool mouseHeld_ = false;
    std::shared_ptr<std::vector<std::uint32_t>> sent_ = std::make_shared<std::vector<std::uint32_t>>();
    AppState state_ { std::make_unique<RecordingMidiDevice>(sent_) };
    FakeView view_;
    FakeKeyboard keyboard_;
    CrtRandom crtRandom_;
    TickServices services_ { view_, keyboard_, crtRandom_ };
};

TEST(TickSoakTest, AMillionTicksOfRandomPlayKeepEveryInvariant)
{
    const std::uint32_t seed = SoakSeed();
    Soak soak(seed);
    const auto start = std::chrono::steady_clock::now();
    for (int tick = 0; tick < kSoakTicks; ++tick) {
        const std::string broken = soak.Step(tick);
        ASSERT_EQ(broken, "") << "at step " << tick << " with TAVO_SOAK_SEED=" << seed;
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    std::cout << "soak: " << kSoakTicks << " ticks in " << elapsed.count() << " s (seed " << seed << "), "
              << soak.monitor.noteOns << " note-ons, " << soak.monitor.programChanges << " program changes, "
              << soak.mouseKeyPresses << " mouse key presses, " << soak.logFills << " full logs, " << soak.playEnds
              << " play ends, " << soak.silenceChecks << " silence checks\n";
    // A soak that never reached these would prove nothing about them.
    EXPECT_GT(soak.logFills, 0);
    EXPECT_GT(soak.playEnds, 0);
    EXPECT_GT(soak.silenceChecks, 100);
    EXPECT_GT(soak.mouseKeyPresses, 0);
    EXPECT_GT(soak.monitor.programChanges, 0);
}

}
