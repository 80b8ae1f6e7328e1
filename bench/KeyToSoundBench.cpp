// The real program's whole way from a key to its sound with the built-in synthesizer: from
// an XTest press of A on a private Xvfb, stamped right before it is sent, to the note's
// onset where the sound server mixes it, on a private PulseAudio server (the default
// device, no JACK running) and on a private JACK server (--audio-driver jack).
#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <mutex>
#include <span>
#include <stdexcept>
#include <thread>
#include <vector>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <jack/jack.h>
#include <unistd.h>

#include "Figures.h"
#include "rig/ChildProcess.h"
#include "rig/JackRig.h"
#include "rig/XvfbServer.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kPresses = 50;
constexpr int kRate = 48000;
constexpr auto kHeld = 100ms;
// Long enough for the piano's release to fall below the threshold before the next press.
constexpr auto kGap = 500ms;
constexpr float kThreshold = 0.001F; // -60 dBFS: the note's first samples
// A sound starts after this long below the threshold.
constexpr int kQuietFrames = kRate / 20;

// The times at which the recorded sound rises above the threshold after a quiet stretch.
class Onsets {
public:
    // `first` is when the first of `samples` sounds; the rest follow at the sample rate.
    void Feed(std::span<const float> samples, Clock::time_point first)
    {
        const std::lock_guard lock(mutex_);
        for (std::size_t i = 0; i < samples.size(); ++i) {
            if (std::abs(samples[i]) < kThreshold) {
                ++quietFrames_;
                continue;
            }
            if (quietFrames_ >= kQuietFrames) {
                times_.push_back(first + std::chrono::nanoseconds(1'000'000'000LL * static_cast<long long>(i) / kRate));
            }
            quietFrames_ = 0;
        }
    }
    std::vector<Clock::time_point> Times() const
    {
        const std::lock_guard lock(mutex_);
        return times_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<Clock::time_point> times_;
    int quietFrames_ = 0;
};

// The null sink's monitor as `pacat` records it, 2 ms a fragment. The null sink hands each
// block to its monitor as it mixes it, so a fragment's last frame is taken to sound when
// the fragment arrives.
class PulseRecorder {
public:
    PulseRecorder(const std::vector<std::string>& environment, Onsets& onsets)
    {
        // The shell tells its process id, which pacat then takes over.
        std::string command = "echo $$; exec env";
        for (const auto& variable : environment) {
            command += " '" + variable + "'";
        }
        command += " pacat -r --raw --format=float32le --channels=1 --rate=48000 --latency-msec=2 -d tavo.monitor";
        pacat_ = popen(command.c_str(), "r");
        std::string pid;
        for (char digit = 0; read(fileno(pacat_), &digit, 1) == 1 && digit != '\n';) {
            pid += digit;
        }
        pid_ = std::stoi(pid);
        reader_ = std::thread([this, &onsets] {
            std::vector<float> buffer(kRate / 100);
            for (ssize_t got = 0; (got = read(fileno(pacat_), buffer.data(), buffer.size() * sizeof(float))) > 0;) {
                const auto frames = static_cast<std::size_t>(got) / sizeof(float);
                onsets.Feed(std::span(buffer).first(frames),
                    Clock::now()
                        - std::chrono::nanoseconds(1'000'000'000LL * static_cast<long long>(frames - 1) / kRate));
            }
        });
    }
    ~PulseRecorder()
    {
        kill(pid_, SIGTERM);
        reader_.join();
        pclose(pacat_);
    }

private:
    FILE* pacat_ = nullptr;
    pid_t pid_ = -1;
    std::thread reader_;
};

// A JACK client whose one input port takes the synthesizer's left channel. The dummy
// driver wakes the graph on time, so a cycle's first frame is taken to sound when the
// client's callback runs (a sound card would play it a period later).
class JackRecorder {
public:
    explicit JackRecorder(Onsets& onsets)
        : onsets_(onsets)
        , client_(jack_client_open("tavo-bench-ear", JackNoStartServer, nullptr))
    {
        if (client_ == nullptr) {
            throw std::runtime_error("cannot open a JACK client");
        }
        port_ = jack_port_register(client_, "in", JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0);
        jack_set_process_callback(client_, &JackRecorder::Process, this);
        jack_activate(client_);
    }
    ~JackRecorder() { jack_client_close(client_); }

private:
    static int Process(jack_nframes_t frames, void* self)
    {
        auto& recorder = *static_cast<JackRecorder*>(self);
        const auto* samples = static_cast<const float*>(jack_port_get_buffer(recorder.port_, frames));
        recorder.onsets_.Feed(std::span(samples, frames), Clock::now());
        return 0;
    }

    Onsets& onsets_;
    jack_client_t* client_;
    jack_port_t* port_ = nullptr;
};

void SetKey(Display* display, unsigned keycode, bool down)
{
    XTestFakeKeyEvent(display, keycode, down ? True : False, CurrentTime);
    XFlush(display);
}

// Taps A until a first sound comes (the synthesizer has started), then presses it
// kPresses times; the time of each press.
std::vector<Clock::time_point> PressLetterA(const std::string& displayName, const Onsets& onsets)
{
    Display* display = XOpenDisplay(displayName.c_str());
    if (display == nullptr) {
        throw std::runtime_error("cannot connect to " + displayName);
    }
    const unsigned keycode = XKeysymToKeycode(display, XK_a);
    std::vector<Clock::time_point> presses;
    for (std::size_t tap = 0; tap < 20 + kPresses && presses.size() < kPresses; ++tap) {
        if (!onsets.Times().empty()) {
            presses.push_back(Clock::now());
        }
        SetKey(display, keycode, true);
        std::this_thread::sleep_for(kHeld);
        SetKey(display, keycode, false);
        std::this_thread::sleep_for(kGap);
    }
    XCloseDisplay(display);
    return presses;
}

// Starts the program, waits for its window, plays, stops it, and prints the figures.
void Measure(
    const std::string& server, const XvfbServer& xvfb, const std::vector<std::string>& args,
    std::vector<std::string> environment, const Onsets& onsets, const std::function<void()>& whenShown = [] {})
{
    environment.insert(environment.end(), { "DISPLAY=" + xvfb.DisplayName(), "QT_QPA_PLATFORM=xcb" });
    ChildProcess tavo(TAVO_EXECUTABLE, args, environment);
    Xdo(xvfb.DisplayName(), { "search", "--sync", "--onlyvisible", "--name", "^Tavo$" });
    whenShown();
    const std::vector<Clock::time_point> presses = PressLetterA(xvfb.DisplayName(), onsets);
    const std::vector<double> latencies = Latencies(presses, onsets.Times());
    const std::string what = "key press to sound, " + server;
    PrintFigure(what + ", p50 (" + std::to_string(latencies.size()) + " of " + std::to_string(kPresses) + ")",
        FormatValue(Percentile(latencies, 0.5), 1, "ms"), server == "PulseAudio" ? "≤ 25 ms" : "");
    PrintFigure(what + ", p99", FormatValue(Percentile(latencies, 0.99), 1, "ms"), "");
}

// What the server granted once the synthesizer plays: the buffer of its stream (it asks
// for 256 x 2 frames) and how far ahead of its clock the null sink mixes, which is also
// how early the monitor may receive a frame.
void PrintPulseLatencies(const std::vector<std::string>& environment)
{
    std::string inputs;
    for (int wait = 0; wait < 50 && inputs.find("Buffer Latency: ") == std::string::npos; ++wait) {
        std::this_thread::sleep_for(100ms);
        inputs = ToolOutput("pactl", { "list", "sink-inputs" }, environment).value_or("");
    }
    const auto usecsAfter = [](const std::string& text, const std::string& label) {
        const auto at = text.find(label);
        return at == std::string::npos ? 0.0 : std::atof(text.c_str() + at + label.size()) / 1000;
    };
    const auto sinks = ToolOutput("pactl", { "list", "sinks" }, environment).value_or("");
    PrintFigure("PulseAudio: stream buffer", FormatValue(usecsAfter(inputs, "Buffer Latency: "), 1, "ms"), "");
    PrintFigure("PulseAudio: null sink latency", FormatValue(usecsAfter(sinks, "usec, configured "), 1, "ms"), "");
}

void MeasurePulseAudio(const XvfbServer& xvfb)
{
    const fs::path runtime = fs::temp_directory_path() / ("tavo-bench-pulse-" + std::to_string(getpid()));
    fs::create_directories(runtime);
    fs::permissions(runtime, fs::perms::owner_all);
    const std::vector<std::string> environment { "XDG_RUNTIME_DIR=" + runtime.string(), "HOME=" + runtime.string(),
        "PULSE_RUNTIME_PATH=" + (runtime / "pulse").string(),
        "DBUS_SESSION_BUS_ADDRESS=unix:path=" + (runtime / "no-bus").string() };
    {
        const ChildProcess server("pulseaudio",
            { "-n", "--daemonize=no", "--exit-idle-time=-1", "-L", "module-native-protocol-unix", "-L",
                "module-null-sink sink_name=tavo" },
            environment);
        for (int wait = 0; wait < 50 && !ToolOutput("pactl", { "info" }, environment); ++wait) {
            std::this_thread::sleep_for(100ms);
        }
        Onsets onsets;
        const PulseRecorder recorder(environment, onsets);
        Measure("PulseAudio", xvfb, {}, environment, onsets, [&] { PrintPulseLatencies(environment); });
    }
    fs::remove_all(runtime);
}

void MeasureJack(const XvfbServer& xvfb)
{
    const JackServer jack(256);
    Onsets onsets;
    const JackRecorder recorder(onsets);
    Measure("JACK", xvfb, { "--audio-driver", "jack" }, {}, onsets, [] {
        for (int wait = 0; wait < 50 && !ToolOutput("jack_connect", { "fluidsynth:left", "tavo-bench-ear:in" });
             ++wait) {
            std::this_thread::sleep_for(100ms);
        }
    });
}

}

int main()
{
    const XvfbServer xvfb("1024x768x24");
    MeasurePulseAudio(xvfb);
    MeasureJack(xvfb);
    return 0;
}
