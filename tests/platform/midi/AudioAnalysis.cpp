#include "AudioAnalysis.h"

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <numbers>
#include <numeric>
#include <string>

namespace {
constexpr double kLowestHz = 40.0;
constexpr double kHighestHz = 2000.0;
constexpr double kYinThreshold = 0.15;
}

std::optional<double> EstimateFundamentalHz(std::span<const float> samples, int sampleRate)
{
    const auto minLag = static_cast<std::size_t>(sampleRate / kHighestHz);
    const auto maxLag = static_cast<std::size_t>(sampleRate / kLowestHz);
    if (samples.size() < 2 * maxLag) {
        return std::nullopt;
    }
    // The largest lag tried is maxLag + 1, which must still fall inside the samples.
    const std::size_t window = samples.size() - maxLag - 1;
    std::vector<double> normalised(maxLag + 2, 1.0);
    double runningSum = 0.0;
    for (std::size_t lag = 1; lag <= maxLag + 1; ++lag) {
        double difference = 0.0;
        for (std::size_t i = 0; i < window; ++i) {
            const double delta = samples[i] - samples[i + lag];
            difference += delta * delta;
        }
        runningSum += difference;
        normalised[lag] = runningSum > 0.0 ? difference * static_cast<double>(lag) / runningSum : 1.0;
    }
    for (std::size_t lag = minLag; lag <= maxLag; ++lag) {
        if (normalised[lag] < kYinThreshold) {
            while (lag + 1 <= maxLag && normalised[lag + 1] < normalised[lag]) {
                ++lag;
            }
            // A parabola through the dip and its neighbours places it between samples.
            const double before = normalised[lag - 1];
            const double at = normalised[lag];
            const double after = normalised[lag + 1];
            const double curvature = before - 2.0 * at + after;
            const double shift = curvature != 0.0 ? 0.5 * (before - after) / curvature : 0.0;
            return sampleRate / (static_cast<double>(lag) + shift);
        }
    }
    return std::nullopt;
}

double CentsBetween(double frequency, double reference)
{
    return 1200.0 * std::log2(frequency / reference);
}

std::vector<double> HarmonicProfile(std::span<const float> samples, int sampleRate, double fundamentalHz, int count)
{
    std::vector<double> strengths;
    for (int harmonic = 1; harmonic <= count; ++harmonic) {
        // One bin of a Hann-windowed DFT at the harmonic's own frequency.
        const double omega = 2.0 * std::numbers::pi * fundamentalHz * harmonic / sampleRate;
        double real = 0.0;
        double imaginary = 0.0;
        for (std::size_t i = 0; i < samples.size(); ++i) {
            const double hann = 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * i / (samples.size() - 1));
            real += samples[i] * hann * std::cos(omega * i);
            imaginary -= samples[i] * hann * std::sin(omega * i);
        }
        strengths.push_back(std::hypot(real, imaginary));
    }
    const double total = std::accumulate(strengths.begin(), strengths.end(), 0.0);
    for (auto& strength : strengths) {
        strength = total > 0.0 ? strength / total : 0.0;
    }
    return strengths;
}

double Rms(std::span<const float> samples)
{
    if (samples.empty()) {
        return 0.0;
    }
    const double sum = std::accumulate(samples.begin(), samples.end(), 0.0,
        [](double total, float sample) { return total + static_cast<double>(sample) * sample; });
    return std::sqrt(sum / static_cast<double>(samples.size()));
}

namespace {

std::uint32_t ReadLe32(const std::string& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

std::uint16_t ReadLe16(const std::string& bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(
        static_cast<unsigned char>(bytes[at]) | (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

} // namespace

std::optional<WavAudio> ReadPcmWav(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    const std::string bytes { std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>() };
    constexpr std::size_t kRiffHeader = 12;
    constexpr std::size_t kChunkHeader = 8;
    if (bytes.size() < kRiffHeader || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0
        || ReadLe32(bytes, 4) != bytes.size() - kChunkHeader) {
        return std::nullopt;
    }
    WavAudio audio;
    int bitsPerSample = 0;
    for (std::size_t at = kRiffHeader; at + kChunkHeader <= bytes.size();) {
        const std::string id = bytes.substr(at, 4);
        const std::size_t size = ReadLe32(bytes, at + 4);
        const std::size_t body = at + kChunkHeader;
        if (body + size > bytes.size()) {
            return std::nullopt;
        }
        if (id == "fmt " && size >= 16) {
            constexpr std::uint16_t kPcmFormat = 1;
            if (ReadLe16(bytes, body) != kPcmFormat) {
                return std::nullopt;
            }
            audio.channels = ReadLe16(bytes, body + 2);
            audio.sampleRate = static_cast<int>(ReadLe32(bytes, body + 4));
            bitsPerSample = ReadLe16(bytes, body + 14);
        } else if (id == "data" && bitsPerSample == 16 && audio.channels > 0) {
            const std::size_t frameBytes = 2 * static_cast<std::size_t>(audio.channels);
            for (std::size_t frame = body; frame + frameBytes <= body + size; frame += frameBytes) {
                audio.firstChannel.push_back(static_cast<std::int16_t>(ReadLe16(bytes, frame)) / 32768.0f);
            }
            return audio;
        }
        at = body + size + (size & 1);
    }
    return std::nullopt;
}
