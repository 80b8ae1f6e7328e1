#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>

// Watches a JACK server, on a client of its own, for the first port whose full name
// starts with a prefix: "fluidsynth:" is the built-in synthesizer's audio output, there
// once its soundfont is loaded and its audio runs.
class JackPortWatch {
public:
    // Watches from now on. Throws std::runtime_error when no JACK server answers.
    explicit JackPortWatch(std::string prefix);
    ~JackPortWatch();
    JackPortWatch(const JackPortWatch&) = delete;
    JackPortWatch& operator=(const JackPortWatch&) = delete;

    // When the first such port was registered since the watch began; nothing if none was
    // within `allowance`.
    std::optional<std::chrono::steady_clock::time_point> WaitForPort(std::chrono::milliseconds allowance);

private:
    static void PortRegistered(unsigned port, int registered, void* watch);

    const std::string prefix_;
    struct _jack_client* client_;
    std::mutex mutex_;
    std::condition_variable appeared_;
    std::optional<std::chrono::steady_clock::time_point> when_;
};
