#pragma once

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "midi/MidiDevice.h"
#include "platform/midi/FluidSynthEngine.h"
#include "platform/midi/MidiOutputSettings.h"

// The built-in synthesizer: FluidSynth with a General MIDI soundfont, playing through
// the first audio driver that starts, or into a WAV, FLAC or Ogg Vorbis file. When no
// soundfont loads or no driver starts it says so once on `errors` and drops every
// message. Constructed, used and destroyed on the UI thread; the audio driver renders on
// a thread of its own.
class FluidSynthDevice final : public MidiDevice {
public:
    static constexpr int kSampleRate = 48000;
    static constexpr int kPeriodSize = 256;
    static constexpr int kPeriods = 2;

    // `errors` receives the failure lines, also later ones, so it outlives the device.
    FluidSynthDevice(const MidiOutputSettings& settings, std::ostream& errors);
    ~FluidSynthDevice() override;
    FluidSynthDevice(const FluidSynthDevice&) = delete;
    FluidSynthDevice& operator=(const FluidSynthDevice&) = delete;

    void SendShortMessage(std::uint32_t message) override;

    // The soundfonts tried, in order: the one asked for, or else the system's defaults.
    static std::vector<std::string> SoundfontCandidates(const std::string& requested);

    // True while a soundfont is loaded and an audio driver runs.
    bool IsPlaying() const { return driver_ != nullptr; }
    // The audio driver that started ("pulseaudio", "jack", "alsa", "file").
    const std::string& AudioDriverName() const { return driverName_; }

private:
    struct DriverDeleter {
        void operator()(fluid_audio_driver_t* driver) const;
    };

    bool LoadSoundfont(const std::string& requested);
    bool StartAudio(const MidiOutputSettings& settings);
    void ReportLostAudio();

    std::ostream& errors_;
    std::unique_ptr<FluidSynthEngine> engine_;
    // Declared after the engine: the driver must stop rendering before the synth goes.
    std::unique_ptr<fluid_audio_driver_t, DriverDeleter> driver_;
    std::string driverName_;
    unsigned fluidErrorsAtStart_ = 0;
    unsigned jackErrorsAtStart_ = 0;
    bool lostAudioReported_ = false;
};
