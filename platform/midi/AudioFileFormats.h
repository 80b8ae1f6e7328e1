#pragma once

#include <span>
#include <string_view>

// The audio file formats the built-in synthesizer writes (FluidSynth through libsndfile),
// known by the file's extension.
struct AudioFileFormat {
    std::string_view extension; // ".wav"
    const char* fluidSynthType; // FluidSynth's "audio.file.type" for it
};

// Every format, in the order a message lists them. Any thread.
std::span<const AudioFileFormat> AudioFileFormats();

// The format `path`'s extension names, its case ignored; null when none does. Any thread.
const AudioFileFormat* AudioFileFormatOf(std::string_view path);
