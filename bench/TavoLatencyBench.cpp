// Tavo's own part of a note's way: from the moment a key or the mouse button goes down
// on the X server to the moment the program hands the note-on to its MIDI device. The
// real application object runs here on a private Xvfb with the real keyboard readers
// and event loop; an injector thread with its own X connection presses the A key and
// clicks key 0 through XTest at random phases of the 10 ms poll, then records a phrase
// and plays it back.
#include <QAction>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <random>
#include <thread>

#include "Figures.h"
#include "InProcessTavo.h"
#include "LatencyStats.h"
#include "PlaybackFidelity.h"
#include "XInjector.h"
#include "XInputScripts.h"
#include "core/AppState.h"
#include "ui/MainFrame.h"
#include "ui/Resources.h"

namespace {

using namespace std::chrono_literals;

constexpr int kKeyPresses = 200;
constexpr int kClicks = 100;
// Key 0 below the black keys, in view coordinates.
constexpr QPoint kKeyZeroPoint { 25, 200 };
// The first nine ticks only flush the keyboard; this is well past them.
constexpr auto kSettle = 500ms;
// Long enough for the tick after the last typed change and its message.
constexpr auto kDrain = 100ms;
constexpr auto kPlaybackAllowance = 30s;
constexpr std::uint32_t kMiddleCOn = 0x7F3C90;
constexpr std::uint32_t kMiddleCOff = 0x003C90;

struct Stimuli {
    KeyStrokes keys;
    std::vector<BenchClock::time_point> clicks;
    BenchClock::time_point clicksDone;
    PlaybackTake take;
    bool windowShown = false;
};

void Trigger(CKeyboardApp& app, int commandId)
{
    app.Frame()->CommandAction(commandId)->trigger();
}

void RecordAndPlayBack(InProcessTavo& tavo, XInjector& injector, std::mt19937& random, Stimuli& stimuli)
{
    PhraseTypist typist(injector, random);
    PlaybackTake& take = stimuli.take;
    tavo.OnUiThread([](CKeyboardApp& app) { Trigger(app, ID_MIDI_REC); });
    typist.Type(take);
    std::this_thread::sleep_for(kDrain);
    std::size_t playedFrom = 0;
    const std::size_t boxesBefore = tavo.ClosedBoxes().size();
    tavo.OnUiThread([&](CKeyboardApp& app) {
        Trigger(app, ID_MIDI_STOP);
        const AppState& state = app.State();
        for (const LogEvent& entry : state.log) {
            if (entry.key == LOG_END) {
                break;
            }
            take.recorded.push_back(entry);
        }
        playedFrom = tavo.Device().SentSoFar().size();
        Trigger(app, ID_MIDI_PLAY);
    });
    const auto giveUp = BenchClock::now() + kPlaybackAllowance;
    while (tavo.ClosedBoxes().size() == boxesBefore && BenchClock::now() < giveUp) {
        std::this_thread::sleep_for(20ms);
    }
    const std::vector<QString> boxes = tavo.ClosedBoxes();
    take.endShown = boxes.size() > boxesBefore && boxes.back() == QStringLiteral("PLAY END!");
    const std::vector<StampingMidiDevice::Sent> sent = tavo.Device().SentSoFar();
    take.played.assign(sent.begin() + static_cast<std::ptrdiff_t>(playedFrom), sent.end());
}

void Inject(InProcessTavo& tavo, Stimuli& stimuli)
{
    XInjector injector(tavo.DisplayName());
    std::mt19937 random(20240611);
    stimuli.windowShown = tavo.WaitForWindow(30s);
    if (stimuli.windowShown) {
        std::this_thread::sleep_for(kSettle);
        stimuli.keys = TypeLetterA(injector, random, kKeyPresses);
        const QPoint keyZero = tavo.ViewPointOnScreen(kKeyZeroPoint);
        stimuli.clicks = ClickAt(injector, random, keyZero.x(), keyZero.y(), kClicks);
        stimuli.clicksDone = BenchClock::now();
        RecordAndPlayBack(tavo, injector, random, stimuli);
    }
    tavo.Quit();
}

std::vector<BenchClock::time_point> TimesOf(const std::vector<StampingMidiDevice::Sent>& sent, std::uint32_t message)
{
    std::vector<BenchClock::time_point> times;
    for (const StampingMidiDevice::Sent& one : sent) {
        if (one.message == message) {
            times.push_back(one.time);
        }
    }
    return times;
}

}

int main(int argc, char* argv[])
{
    EnableXlibThreads();
    InProcessTavo tavo(argc, argv);
    if (!tavo.KeyboardNotices().empty()) {
        std::fprintf(stderr, "bench_tavo_latency: %s", tavo.KeyboardNotices().c_str());
    }
    Stimuli stimuli;
    std::thread injector([&] { Inject(tavo, stimuli); });
    tavo.Run();
    injector.join();
    if (!stimuli.windowShown) {
        std::fprintf(stderr, "bench_tavo_latency: the window was never exposed\n");
        return 1;
    }

    const std::vector<StampingMidiDevice::Sent> sent = tavo.Device().SentSoFar();
    const auto noteOns = TimesOf(sent, kMiddleCOn);
    const auto releases = TimesOf(sent, kMiddleCOff);
    PrintLatencyFigures("Tavo's part: key press to note-on handed to the device",
        MatchLatencies(stimuli.keys.presses, noteOns), "<= 5.5 ms", "<= 10.5 ms");
    PrintLatencyFigures("Tavo's part: key release to release handed to the device",
        MatchLatencies(stimuli.keys.releases, releases), "<= 5.5 ms", "<= 10.5 ms");
    const auto firstClick = std::lower_bound(noteOns.begin(), noteOns.end(), stimuli.clicks.front());
    const auto clicksDone = std::lower_bound(firstClick, noteOns.end(), stimuli.clicksDone);
    const std::vector<BenchClock::time_point> clickNoteOns(firstClick, clicksDone);
    PrintLatencyFigures("Tavo's part: mouse press on key 0 to note-on handed to the device",
        MatchLatencies(stimuli.clicks, clickNoteOns), "", "< 2 ms");
    // Clicks come faster than the double-click interval, so every other one is a
    // double-click to Qt: each must still sound exactly once.
    PrintFigure("mouse: clicks / note-ons sent",
        std::to_string(stimuli.clicks.size()) + " / " + std::to_string(clickNoteOns.size()), "equal");
    PrintPlaybackFigures(stimuli.take);
    return 0;
}
