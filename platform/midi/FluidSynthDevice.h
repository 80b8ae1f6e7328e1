#pragma once

#include <future>
#include <iosfwd>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "midi/MidiDevice.h"
#include "platform/midi/FluidSynthEngine.h"
#include "platform/midi/MidiOutputSettings.h"

// The built-in synthesizer: FluidSynth with a General MIDI soundfont, playing through
// the first audio driver that starts, or into a WAV, FLAC or Ogg Vorbis file. When no
// soundfont loads or no driver starts it says so once on `errors` and drops every
// message. Constructed on any thread, then used and destroyed on the UI thread.
//
// Loading FluidSynth and the soundfont and starting the audio take longer than building
// the window, so they run on a thread of their own once the window shows: messages sent
// meanwhile are kept and played in order as soon as the synthesizer is ready.
class FluidSynthDevice final : public MidiDevice {
public:
    static constexpr int kSampleRate = 48000;
    static constexpr int kPeriodSize = 256;
    static constexpr int kPeriods = 2;

    // `errors` receives the failure lines, also those of the start and later ones, so it
    // outlives the device.
    FluidSynthDevice(const MidiOutputSettings& settings, std::ostream& errors);

    void SendShortMessage(std::uint32_t message) override;
    void OnWindowShown() override;

    // The soundfonts tried, in order: the one asked for, or else the system's defaults.
    static std::vector<std::string> SoundfontCandidates(const std::string& requested);

    // True while a soundfont is loaded and an audio driver runs; waits for the start.
    bool IsPlaying() const;

private:
    using AudioDriver = std::unique_ptr<fluid_audio_driver_t, decltype(&::delete_fluid_audio_driver)>;

    void StartSynthesizer();
    bool LoadSynthesizer(std::string& failure);
    bool StartAudio(std::string& failure);
    void ReportLostAudio();

    std::ostream& errors_;
    const MidiOutputSettings settings_;
    std::unique_ptr<FluidSynthEngine> engine_;
    // Declared after the engine: the driver must stop rendering before the synth goes.
    AudioDriver driver_ { nullptr, nullptr };
    std::string driverName_;
    unsigned fluidErrorsAtStart_ = 0;
    unsigned jackErrorsAtStart_ = 0;
    bool lostAudioReported_ = false;

    // The messages sent before the start is over, then nothing: null from then on, when
    // messages go straight to the synthesizer.
    std::mutex keptMutex_;
    std::unique_ptr<std::vector<std::uint32_t>> kept_ = std::make_unique<std::vector<std::uint32_t>>();
    // Declared last: destroying it waits for a start still running, so the messages kept
    // meanwhile are played first.
    std::future<void> start_;
};
