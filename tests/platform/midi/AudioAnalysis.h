#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// Measurements on rendered audio that the sound tests judge by.

// The fundamental frequency of `samples` in Hz by the YIN method (cumulative mean
// normalised difference), searched between 40 Hz and 2 kHz. Unlike the strongest FFT
// bin it is not fooled by a second harmonic louder than the fundamental.
std::optional<double> EstimateFundamentalHz(std::span<const float> samples, int sampleRate);

// The distance in cents from `reference` to `frequency`.
double CentsBetween(double frequency, double reference);

// The relative strengths of the first `count` harmonics of `fundamentalHz`, summing to 1.
std::vector<double> HarmonicProfile(std::span<const float> samples, int sampleRate, double fundamentalHz, int count);

// Root mean square level.
double Rms(std::span<const float> samples);

// A 16-bit PCM WAV file, read back: its channels, rate and the first channel's samples.
struct WavAudio {
    int channels = 0;
    int sampleRate = 0;
    std::vector<float> firstChannel;
};
// Nothing unless the file is a well-formed RIFF/WAVE file with 16-bit PCM data whose
// chunk sizes agree with the file's length.
std::optional<WavAudio> ReadPcmWav(const std::string& path);
