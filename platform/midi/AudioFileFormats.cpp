#include "platform/midi/AudioFileFormats.h"

#include <algorithm>
#include <array>

#include "platform/midi/PlainText.h"

namespace {

// Named outright: FluidSynth's "auto" type reads ".ogg" as nothing it knows (its Ogg type
// is "oga") and ignores upper-case extensions, writing WAV under the name either way.
constexpr std::array kFormats {
    AudioFileFormat { ".wav", "wav" },
    AudioFileFormat { ".flac", "flac" },
    AudioFileFormat { ".ogg", "oga" },
};

}

std::span<const AudioFileFormat> AudioFileFormats()
{
    return kFormats;
}

const AudioFileFormat* AudioFileFormatOf(std::string_view path)
{
    const auto found = std::find_if(kFormats.begin(), kFormats.end(), [path](const AudioFileFormat& format) {
        const std::string_view end = format.extension;
        return path.size() >= end.size()
            && std::equal(
                end.begin(), end.end(), path.end() - static_cast<std::ptrdiff_t>(end.size()), SameIgnoringCase);
    });
    return found == kFormats.end() ? nullptr : &*found;
}
