// A note's whole way through the real program: XTest presses on a private Xvfb, the
// tavo executable polling them and sending through RtMidi to a JACK receiver on a
// private `jackd -d dummy -r 48000 -p 256` (a 5.33 ms period: at 64 frames the JACK
// cycle on a busy two-core machine stalled now and then for hundreds of milliseconds,
// which measured JACK's scheduling rather than the program), whose process callback
// stamps each message on arrival.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "Figures.h"
#include "JackTestRig.h"
#include "LatencyStats.h"
#include "TavoUnderX.h"
#include "XInjector.h"
#include "XInputScripts.h"
#include "XvfbServer.h"

namespace {

using namespace std::chrono_literals;
using Message = JackMidiReceiver::Message;

constexpr int kJackPeriodFrames = 256;
constexpr int kKeyPresses = 200;
constexpr int kClicks = 100;
// The tenth tick starts the polling, and RtMidi's port is connected by then.
constexpr auto kSettle = 1s;
constexpr std::uint32_t kOpaqueBlack = 0xFF000000u;
// The keyboard is 701 pixels wide; its top outline is the first all-black row that wide.
constexpr int kKeyboardWidth = 701;
// Key 0 below the black keys, in view coordinates.
constexpr int kKeyZeroX = 25;
constexpr int kKeyZeroY = 200;

const Message kMiddleCOn { 0x90, 60, 127 };
const Message kMiddleCOff { 0x90, 60, 0 };

// The view's top inside the window: the first row whose keyboard-wide run from the left
// edge is all black, which only the keys' top outline is. -1 when there is none.
int KeyboardTop(TopLevelWatcher& watcher, unsigned long window)
{
    int width = 0;
    int height = 0;
    const std::vector<std::uint32_t> pixels = watcher.GrabWindow(window, width, height);
    if (pixels.empty() || width < kKeyboardWidth) {
        return -1;
    }
    for (int y = 0; y < height; ++y) {
        bool allBlack = true;
        for (int x = 0; x < kKeyboardWidth && allBlack; ++x) {
            allBlack = pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + x] == kOpaqueBlack;
        }
        if (allBlack) {
            return y;
        }
    }
    return -1;
}

std::vector<BenchClock::time_point> ReceivedTimesOf(
    const std::vector<JackMidiReceiver::TimedMessage>& received, const Message& message)
{
    std::vector<BenchClock::time_point> times;
    for (const auto& one : received) {
        if (one.bytes == message) {
            times.push_back(one.received);
        }
    }
    return times;
}

}

int main()
{
    XvfbServer xvfb("1024x768x24");
    JackTestServer jack(kJackPeriodFrames);
    if (!jack.IsReady()) {
        std::fprintf(stderr, "bench_key_to_jack: jackd -d dummy did not start\n");
        return 1;
    }
    JackMidiReceiver receiver;
    if (!receiver.IsRunning()) {
        std::fprintf(stderr, "bench_key_to_jack: the JACK receiver did not start\n");
        return 1;
    }
    TopLevelWatcher watcher(xvfb.DisplayName());
    TavoProcess tavo(TAVO_EXECUTABLE, { "--midi-out", JackMidiReceiver::kPortName }, xvfb.DisplayName());
    const unsigned long window = watcher.WaitForMappedWindow(30s);
    if (window == 0) {
        std::fprintf(stderr, "bench_key_to_jack: the window never appeared\n");
        return 1;
    }
    std::this_thread::sleep_for(kSettle);

    XInjector injector(xvfb.DisplayName());
    std::mt19937 random(20240612);
    const KeyStrokes keys = TypeLetterA(injector, random, kKeyPresses);
    const int keyboardTop = KeyboardTop(watcher, window);
    std::vector<BenchClock::time_point> clicks;
    if (keyboardTop >= 0) {
        int left = 0;
        int top = 0;
        injector.RootOrigin(window, left, top);
        clicks = ClickAt(injector, random, left + kKeyZeroX, top + keyboardTop + kKeyZeroY, kClicks);
    }
    watcher.RequestClose(window);
    tavo.WaitForExit(20s);

    const std::vector<JackMidiReceiver::TimedMessage> received = receiver.TimedMessages();
    const auto noteOns = ReceivedTimesOf(received, kMiddleCOn);
    const std::string via = " received by JACK (period " + std::to_string(kJackPeriodFrames) + " frames at 48 kHz)";
    PrintLatencyFigures("end to end: key press to note-on" + via, MatchLatencies(keys.presses, noteOns), "", "");
    PrintLatencyFigures("end to end: key release to release" + via,
        MatchLatencies(keys.releases, ReceivedTimesOf(received, kMiddleCOff)), "", "");
    if (clicks.empty()) {
        std::fprintf(stderr, "bench_key_to_jack: the keyboard was not found in the window; no mouse figures\n");
        PrintFigure("end to end: mouse press on key 0 to note-on" + via, "not measured", "");
        return 0;
    }
    const auto firstClick = std::lower_bound(noteOns.begin(), noteOns.end(), clicks.front());
    PrintLatencyFigures("end to end: mouse press on key 0 to note-on" + via,
        MatchLatencies(clicks, std::vector<BenchClock::time_point>(firstClick, noteOns.end())), "", "");
    return 0;
}
