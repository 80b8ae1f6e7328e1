#pragma once

#include <jack/jack.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <sys/types.h>
#include <vector>

// A private JACK server for one test: `jackd -d dummy`, no sound card, under a server
// name of its own that this process then uses for every JACK client. Stopped with
// SIGTERM, so it cleans up /dev/shm.
class JackTestServer {
public:
    // `periodFrames` at 48 kHz: the default 256 is 5.3 ms, 64 is 1.3 ms.
    explicit JackTestServer(int periodFrames = 256);
    ~JackTestServer();
    JackTestServer(const JackTestServer&) = delete;
    JackTestServer& operator=(const JackTestServer&) = delete;

    // True once clients can connect.
    bool IsReady() const { return ready_; }
    void Stop();

private:
    std::string name_;
    pid_t pid_ = -1;
    bool ready_ = false;
};

// A JACK client with one MIDI input port, "tavo-receiver:in", keeping every event it
// receives in order, with the time its process callback took it.
class JackMidiReceiver {
public:
    using Message = std::vector<std::uint8_t>;
    struct TimedMessage {
        Message bytes;
        std::chrono::steady_clock::time_point received;
    };
    static constexpr const char* kPortName = "tavo-receiver:in";

    JackMidiReceiver();
    ~JackMidiReceiver();
    JackMidiReceiver(const JackMidiReceiver&) = delete;
    JackMidiReceiver& operator=(const JackMidiReceiver&) = delete;

    bool IsRunning() const { return client_ != nullptr; }
    // Waits until `count` messages arrived or a generous allowance ran out, and returns
    // what arrived.
    std::vector<Message> WaitForMessages(std::size_t count);
    // Everything received so far, each with the steady_clock time of the process cycle
    // that took it.
    std::vector<TimedMessage> TimedMessages();

private:
    static int Process(jack_nframes_t frames, void* receiver);

    jack_client_t* client_ = nullptr;
    jack_port_t* port_ = nullptr;
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<Message> messages_;
    std::vector<std::chrono::steady_clock::time_point> receivedTimes_;
};
