// The built-in synthesizer's costs: how long the soundfont takes to load, how late a
// note-on becomes audible (the audio buffer, plus the synthesizer's own onset measured
// offline in driver-sized blocks), and how much memory the synthesizer adds.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "Figures.h"
#include "midi/MidiOutPort.h"
#include "platform/midi/FluidSynthDevice.h"
#include "platform/midi/FluidSynthEngine.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kSoundfont = "/usr/share/sounds/sf2/TimGM6mb.sf2";
constexpr int kRate = FluidSynthDevice::kSampleRate;
constexpr int kBlock = FluidSynthDevice::kPeriodSize;
constexpr int kLoadRuns = 7;
// -60 dBFS: where the note has clearly begun.
constexpr float kAudibleLevel = 0.001f;

double MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double ResidentMegabytes()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stod(line.substr(6)) / 1024.0;
        }
    }
    return 0.0;
}

double MedianSoundfontLoadMs()
{
    std::vector<double> times;
    for (int run = 0; run < kLoadRuns; ++run) {
        FluidSynthEngine engine(kRate);
        const auto start = Clock::now();
        engine.LoadSoundfont(kSoundfont);
        times.push_back(MillisecondsSince(start));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Frames from a note-on given at a block boundary until the output reaches the
// audible level, rendering block by block as the audio driver does.
int OnsetFrames(FluidSynthEngine& engine, std::uint8_t note)
{
    std::vector<float> left(kBlock);
    std::vector<float> right(kBlock);
    engine.Play(PackShortMessage(0x90, note, 127));
    for (int rendered = 0; rendered < kRate; rendered += kBlock) {
        engine.Render(left, right);
        for (int i = 0; i < kBlock; ++i) {
            if (std::abs(left[i]) >= kAudibleLevel || std::abs(right[i]) >= kAudibleLevel) {
                engine.Play(PackShortMessage(0x90, note, 0));
                return rendered + i;
            }
        }
    }
    return kRate;
}

} // namespace

int main()
{
    const double rssBefore = ResidentMegabytes();
    auto engine = std::make_unique<FluidSynthEngine>(kRate);
    engine->LoadSoundfont(kSoundfont);
    std::vector<float> left(kRate);
    std::vector<float> right(kRate);
    engine->Play(PackShortMessage(0x90, 60, 127));
    engine->Render(left, right);
    engine->Play(PackShortMessage(0x90, 60, 0));
    const double rssAdded = ResidentMegabytes() - rssBefore;

    engine->Render(left, right);
    int worstOnset = 0;
    for (const std::uint8_t note : { 60, 64, 67, 72, 75 }) {
        worstOnset = std::max(worstOnset, OnsetFrames(*engine, note));
        engine->Render(left, right);
    }
    const double onsetMs = 1000.0 * worstOnset / kRate;
    const double bufferMs = 1000.0 * FluidSynthDevice::kPeriodSize * FluidSynthDevice::kPeriods / kRate;

    PrintFigure("soundfont load (TimGM6mb, median of 7)", FormatValue(MedianSoundfontLoadMs(), 1, "ms"), "~50 ms");
    PrintFigure("audio buffer (256 x 2 / 48 kHz)", FormatValue(bufferMs, 2, "ms"), "<= 12 ms");
    PrintFigure("synthesizer onset, note-on to -60 dBFS (offline, worst of 5)", FormatValue(onsetMs, 2, "ms"), "");
    PrintFigure("note-on to audio, buffer + onset", FormatValue(bufferMs + onsetMs, 2, "ms"), "");
    PrintFigure("RSS added by the synthesizer", FormatValue(rssAdded, 1, "MB"), "");
    return 0;
}
