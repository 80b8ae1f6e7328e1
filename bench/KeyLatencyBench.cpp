// Tavo's own part of a note's way: from the moment a key goes down on the X server to
// the moment the program hands the note-on to its MIDI device. The real application
// object runs here on a private Xvfb with the real keyboard reader, tick timer and event
// loop, over a device that stamps each note-on; a second thread with its own X
// connection presses A through XTest at random phases of the 10 ms poll.
#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <mutex>
#include <random>
#include <stdexcept>
#include <thread>
#include <vector>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include "Figures.h"
#include "rig/XvfbServer.h"
#include "ui/KeyboardApp.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int kPresses = 200;
constexpr std::uint32_t kMiddleCOn = 0x7F3C90;
// Between taps until the program answers, and after that before the measured presses.
constexpr auto kSettle = 500ms;
constexpr int kGapShortestUs = 20000;
constexpr int kGapLongestUs = 60000;
// Long enough for the tick after the last release.
constexpr auto kDrain = 100ms;

class StampingDevice final : public MidiDevice {
public:
    void SendShortMessage(std::uint32_t message) override
    {
        if (message == kMiddleCOn) {
            const Clock::time_point now = Clock::now();
            std::lock_guard lock(mutex_);
            noteOns_.push_back(now);
        }
    }
    std::vector<Clock::time_point> NoteOns() const
    {
        std::lock_guard lock(mutex_);
        return noteOns_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<Clock::time_point> noteOns_;
};

void SetKey(Display* display, unsigned keycode, bool down)
{
    XTestFakeKeyEvent(display, keycode, down ? True : False, CurrentTime);
    XFlush(display);
}

// Presses and releases A, each change 20 to 60 ms after the one before, once a first
// tap has sounded (the window is up and the tick runs); the time of each press is taken
// right before its XTest request is sent.
std::vector<Clock::time_point> PressLetterA(const std::string& displayName, const StampingDevice& device)
{
    Display* display = XOpenDisplay(displayName.c_str());
    if (display == nullptr) {
        throw std::runtime_error("cannot connect to " + displayName);
    }
    const unsigned keycode = XKeysymToKeycode(display, XK_a);
    while (device.NoteOns().empty()) {
        SetKey(display, keycode, true);
        SetKey(display, keycode, false);
        std::this_thread::sleep_for(kSettle);
    }
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> gapUs(kGapShortestUs, kGapLongestUs);
    std::vector<Clock::time_point> presses;
    auto due = Clock::now() + kSettle;
    for (int i = 0; i < kPresses; ++i) {
        for (const bool down : { true, false }) {
            std::this_thread::sleep_until(due);
            if (down) {
                presses.push_back(Clock::now());
            }
            SetKey(display, keycode, down);
            due += std::chrono::microseconds(gapUs(random));
        }
    }
    std::this_thread::sleep_for(kDrain);
    XCloseDisplay(display);
    return presses;
}

}

int main(int argc, char* argv[])
{
    // The presses come from a second thread's own connection while Qt uses Xlib here.
    XInitThreads();
    XvfbServer xvfb("1024x768x24");
    setenv("DISPLAY", xvfb.DisplayName().c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    QApplication application(argc, argv);
    auto device = std::make_unique<StampingDevice>();
    const StampingDevice& stamps = *device;
    CKeyboardApp app(CreateKeyboardReaders(std::cerr), [] { return QString(); });
    app.InitInstance();
    app.ShowWindow(std::move(device));

    std::vector<Clock::time_point> presses;
    std::thread typist([&] {
        presses = PressLetterA(xvfb.DisplayName(), stamps);
        QMetaObject::invokeMethod(&application, &QCoreApplication::quit, Qt::QueuedConnection);
    });
    app.Run();
    typist.join();

    const std::vector<double> latencies = Latencies(presses, stamps.NoteOns());
    const std::string what = "Tavo's part: key press to note-on handed to the MIDI device";
    PrintFigure(what + ", p50 (" + std::to_string(latencies.size()) + " of " + std::to_string(kPresses) + ")",
        FormatValue(Percentile(latencies, 0.5), 2, "ms"), "no worse than before");
    PrintFigure(what + ", p99", FormatValue(Percentile(latencies, 0.99), 2, "ms"), "≤ 10.5 ms");
    return latencies.empty() ? 1 : 0;
}
