#pragma once

#include <cstdint>
#include <memory>

#include "ChildProcess.h"

// A private JACK server for one test: `jackd -d dummy` at 48 kHz, no sound card, under a
// name no other running server has, which this process's $JACK_DEFAULT_SERVER then hands
// to every JACK client it opens or starts. Stopped with SIGTERM, so it cleans up /dev/shm.
class JackServer {
public:
    explicit JackServer(int periodFrames = 256); // 5.3 ms at 48 kHz

    // True once `jack_wait` found the server taking clients, until Stop.
    bool IsReady() const { return ready_; }
    void Stop() { jackd_.reset(), ready_ = false; }
    const std::string& Name() const { return name_; }

private:
    std::string name_;
    std::unique_ptr<ChildProcess> jackd_;
    bool ready_ = false;
};

// `jack_midi_dump` as the MIDI receiver: every message that reaches its input port.
class MidiDump {
public:
    // Returns once "<client>:input" exists, else throws; the client's name is unique unless given.
    explicit MidiDump(std::string client = "");

    // Connects `sourcePort` ("client:port") to the receiver, waiting for both ports to appear.
    bool Connect(const std::string& sourcePort);
    // Every message received so far, once `count` have arrived or the allowance ran out.
    std::vector<std::vector<std::uint8_t>> WaitForMessages(
        std::size_t count, std::chrono::milliseconds allowance = std::chrono::seconds(5));
    pid_t Pid() const { return dump_->Pid(); }

private:
    std::string client_;
    std::unique_ptr<ChildProcess> dump_;
};
