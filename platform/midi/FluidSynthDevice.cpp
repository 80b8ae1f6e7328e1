#include "platform/midi/FluidSynthDevice.h"

#include <algorithm>
#include <array>
#include <ostream>
#include <string_view>
#include <vector>

#include "platform/midi/AudioFileFormats.h"
#include "platform/midi/LibraryErrorLog.h"
#include "platform/midi/PlainText.h"

namespace {

// Tried in this order when no soundfont is asked for: the small General MIDI set that
// loads in a blink, then whatever the system names its default.
constexpr std::array<std::string_view, 2> kDefaultSoundfonts {
    "/usr/share/sounds/sf2/TimGM6mb.sf2",
    "/usr/share/sounds/sf2/default-GM.sf2",
};

// Tried in this order when no audio driver is asked for. PulseAudio first, since it
// also serves PipeWire desktops; JACK only when a server already runs.
constexpr std::array<std::string_view, 3> kDefaultAudioDrivers { "pulseaudio", "jack", "alsa" };

std::vector<std::string> AvailableAudioDrivers(fluid_settings_t* settings)
{
    std::vector<std::string> drivers;
    FluidSynth().fluid_settings_foreach_option(
        settings, "audio.driver", &drivers, [](void* data, const char*, const char* option) {
            static_cast<std::vector<std::string>*>(data)->emplace_back(option);
        });
    return drivers;
}

} // namespace

FluidSynthDevice::FluidSynthDevice(const MidiOutputSettings& settings, std::ostream& errors)
    : errors_(errors)
    , settings_(settings)
{
}

void FluidSynthDevice::OnWindowShown()
{
    if (!start_.valid()) {
        start_ = std::async(std::launch::async, &FluidSynthDevice::StartSynthesizer, this);
    }
}

std::vector<std::string> FluidSynthDevice::SoundfontCandidates(const std::string& requested)
{
    return requested.empty() ? std::vector<std::string>(kDefaultSoundfonts.begin(), kDefaultSoundfonts.end())
                             : std::vector { requested };
}

void FluidSynthDevice::StartSynthesizer()
{
    std::string failure;
    if (LoadSynthesizer(failure) && StartAudio(failure)) {
        fluidErrorsAtStart_ = FluidSynthErrors().Count();
        jackErrorsAtStart_ = JackErrors().Count();
    } else {
        engine_.reset();
        // One write, so the line stays whole beside what the UI thread prints meanwhile.
        errors_ << failure;
    }
    const std::lock_guard lock(keptMutex_);
    if (engine_) {
        for (const std::uint32_t message : *kept_) {
            engine_->Play(message);
        }
    }
    kept_.reset();
}

bool FluidSynthDevice::IsPlaying() const
{
    start_.wait();
    return driver_ != nullptr;
}

bool FluidSynthDevice::LoadSynthesizer(std::string& failure)
{
    std::string whyNot;
    if (LoadFluidSynth(whyNot) == nullptr) {
        failure = "tavo: the built-in synthesizer cannot load FluidSynth (" + whyNot + "); it stays silent\n";
        return false;
    }
    engine_ = std::make_unique<FluidSynthEngine>(kSampleRate);
    std::vector<std::string> tried;
    for (const auto& path : SoundfontCandidates(settings_.soundfont)) {
        const std::string why = engine_->LoadSoundfont(path);
        if (why.empty()) {
            return true;
        }
        tried.push_back(path + ": " + why);
    }
    failure = "tavo: the built-in synthesizer has no soundfont (tried " + Joined(tried, "; ") + "); it stays silent\n";
    return false;
}

bool FluidSynthDevice::StartAudio(std::string& failure)
{
    fluid_settings_t* fluidSettings = engine_->Settings();
    FluidSynth().fluid_settings_setint(fluidSettings, "audio.period-size", kPeriodSize);
    FluidSynth().fluid_settings_setint(fluidSettings, "audio.periods", kPeriods);

    std::vector<std::string> candidates;
    if (!settings_.audioFile.empty()) {
        // The command line accepts only a take whose extension names a format.
        FluidSynth().fluid_settings_setstr(fluidSettings, "audio.file.name", settings_.audioFile.c_str());
        FluidSynth().fluid_settings_setstr(
            fluidSettings, "audio.file.type", AudioFileFormatOf(settings_.audioFile)->fluidSynthType);
        candidates.emplace_back("file");
    } else if (!settings_.audioDriver.empty()) {
        const auto available = AvailableAudioDrivers(fluidSettings);
        if (std::find(available.begin(), available.end(), settings_.audioDriver) == available.end()) {
            failure = "tavo: no audio driver \"" + settings_.audioDriver + "\" (there are: " + Joined(available, ", ")
                + "); the built-in synthesizer stays silent\n";
            return false;
        }
        candidates.push_back(settings_.audioDriver);
    } else {
        candidates.assign(kDefaultAudioDrivers.begin(), kDefaultAudioDrivers.end());
    }

    std::vector<std::string> tried;
    for (const auto& name : candidates) {
        FluidSynth().fluid_settings_setstr(fluidSettings, "audio.driver", name.c_str());
        const unsigned errorsBefore = FluidSynthErrors().Count();
        driver_ = AudioDriver(FluidSynth().new_fluid_audio_driver(fluidSettings, engine_->Synth()),
            FluidSynth().delete_fluid_audio_driver);
        if (driver_) {
            driverName_ = name;
            return true;
        }
        const std::string why
            = FluidSynthErrors().Count() != errorsBefore ? FluidSynthErrors().Last() : "did not start";
        tried.push_back(name + ": " + why);
    }
    if (!settings_.audioFile.empty()) {
        failure = "tavo: cannot write audio to " + settings_.audioFile + " (" + Joined(tried, "; ")
            + "); the built-in synthesizer stays silent\n";
    } else {
        failure = "tavo: no audio output could start (tried " + Joined(tried, "; ")
            + "); the built-in synthesizer stays silent\n";
    }
    return false;
}

void FluidSynthDevice::SendShortMessage(std::uint32_t message)
{
    {
        const std::lock_guard lock(keptMutex_);
        if (kept_) {
            kept_->push_back(message);
            return;
        }
    }
    if (!engine_) {
        return;
    }
    ReportLostAudio();
    engine_->Play(message);
}

// An error from FluidSynth, or from JACK under the jack driver, after the start means
// the audio has gone (the usual case: the JACK server was stopped). The synthesizer
// keeps taking messages, so nothing else changes for the program.
void FluidSynthDevice::ReportLostAudio()
{
    if (lostAudioReported_) {
        return;
    }
    const bool fluidFailed = FluidSynthErrors().Count() != fluidErrorsAtStart_;
    const bool jackFailed = driverName_ == "jack" && JackErrors().Count() != jackErrorsAtStart_;
    if (!fluidFailed && !jackFailed) {
        return;
    }
    lostAudioReported_ = true;
    const std::string why = fluidFailed ? FluidSynthErrors().Last() : JackErrors().Last();
    errors_ << "tavo: the built-in synthesizer lost its " << driverName_ << " audio output (" << why
            << "); it runs on silently\n";
}
