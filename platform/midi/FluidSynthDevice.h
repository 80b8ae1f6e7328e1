#pragma once

#include <atomic>
#include <condition_variable>
#include <iosfwd>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "midi/MidiDevice.h"
#include "platform/midi/FluidSynthEngine.h"
#include "platform/midi/MidiOutputSettings.h"

// The built-in synthesizer: FluidSynth with a General MIDI soundfont, playing through
// the first audio driver that starts, or into a WAV, FLAC or Ogg Vorbis file. When no
// soundfont loads or no driver starts it says so once on `errors` and drops every
// message. Constructed on any thread, then used and destroyed on the UI thread; the audio
// driver renders on a thread of its own.
//
// Loading FluidSynth and the soundfont and starting the audio take longer than building
// the window, so they may run on a thread of their own, also only once the window shows:
// messages sent meanwhile are kept and played in order as soon as the synthesizer is
// ready.
class FluidSynthDevice final : public MidiDevice {
public:
    static constexpr int kSampleRate = 48000;
    static constexpr int kPeriodSize = 256;
    static constexpr int kPeriods = 2;

    enum class Start {
        Now, // the constructor returns with the synthesizer ready or silent
        // The constructor returns at once; FinishOpening() starts the synthesizer on a
        // thread of its own, and that start may still say why it failed.
        WhenAsked,
    };

    // `errors` receives the failure lines, also later ones, so it outlives the device.
    FluidSynthDevice(const MidiOutputSettings& settings, std::ostream& errors, Start start = Start::Now);
    // Waits for a start still running, so the messages kept meanwhile are played first.
    ~FluidSynthDevice() override;
    FluidSynthDevice(const FluidSynthDevice&) = delete;
    FluidSynthDevice& operator=(const FluidSynthDevice&) = delete;

    void SendShortMessage(std::uint32_t message) override;
    void FinishOpening() override;

    // The soundfonts tried, in order: the one asked for, or else the system's defaults.
    static std::vector<std::string> SoundfontCandidates(const std::string& requested);

    // These two wait for the start to finish, which needs FinishOpening() under WhenAsked.
    // True while a soundfont is loaded and an audio driver runs.
    bool IsPlaying() const;
    // The audio driver that started ("pulseaudio", "jack", "alsa", "file").
    const std::string& AudioDriverName() const;

private:
    struct DriverDeleter {
        void operator()(fluid_audio_driver_t* driver) const;
    };

    // Loads, starts the audio and then plays the messages kept meanwhile.
    void StartSynthesizer();
    bool LoadSynthesizer(std::string& failure);
    bool StartAudio(std::string& failure);
    void WaitUntilStarted() const;
    void ReportLostAudio();

    std::ostream& errors_;
    const Start start_;
    const MidiOutputSettings settings_;
    std::unique_ptr<FluidSynthEngine> engine_;
    // Declared after the engine: the driver must stop rendering before the synth goes.
    std::unique_ptr<fluid_audio_driver_t, DriverDeleter> driver_;
    std::string driverName_;
    unsigned fluidErrorsAtStart_ = 0;
    unsigned jackErrorsAtStart_ = 0;
    bool lostAudioReported_ = false;

    // Set once the start is over; from then on messages go straight to the synthesizer.
    std::atomic<bool> started_ { false };
    mutable std::mutex startMutex_;
    mutable std::condition_variable startFinished_;
    std::vector<std::uint32_t> keptMessages_; // guarded by startMutex_ until started_
    std::thread starter_;
};
