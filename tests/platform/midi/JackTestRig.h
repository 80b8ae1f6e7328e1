#pragma once

#include <jack/jack.h>

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
    JackTestServer();
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
// receives in order.
class JackMidiReceiver {
public:
    using Message = std::vector<std::uint8_t>;
    static constexpr const char* kPortName = "tavo-receiver:in";

    JackMidiReceiver();
    ~JackMidiReceiver();
    JackMidiReceiver(const JackMidiReceiver&) = delete;
    JackMidiReceiver& operator=(const JackMidiReceiver&) = delete;

    bool IsRunning() const { return client_ != nullptr; }
    // Waits until `count` messages arrived or a generous allowance ran out, and returns
    // what arrived.
    std::vector<Message> WaitForMessages(std::size_t count);

private:
    static int Process(jack_nframes_t frames, void* receiver);

    jack_client_t* client_ = nullptr;
    jack_port_t* port_ = nullptr;
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<Message> messages_;
};
