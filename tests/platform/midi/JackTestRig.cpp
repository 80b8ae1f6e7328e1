#include "JackTestRig.h"

#include <jack/midiport.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "platform/midi/LibraryErrorLog.h"

extern char** environ;

namespace {

using namespace std::chrono_literals;

// Starting a server takes well under a second; the allowance covers a loaded machine.
constexpr auto kStartAllowance = 10s;
constexpr auto kDeliveryAllowance = 5s;

bool ServerAnswers()
{
    jack_status_t status {};
    jack_client_t* probe = jack_client_open("tavo-test-probe", JackNoStartServer, &status);
    if (probe == nullptr) {
        return false;
    }
    jack_client_close(probe);
    return true;
}

} // namespace

JackTestServer::JackTestServer(int periodFrames)
    : name_("tavo-test-" + std::to_string(getpid()))
{
    // Tavo's own routing keeps libjack quiet, and lets its devices hear the server go.
    PrepareSoundLibraries();
    setenv("JACK_DEFAULT_SERVER", name_.c_str(), 1);
    setenv("JACK_NO_START_SERVER", "1", 1);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<std::string> arguments { "jackd", "-n", name_, "-d", "dummy", "-r", "48000", "-p",
        std::to_string(periodFrames) };
    std::vector<char*> argv;
    for (auto& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    const int spawned = posix_spawnp(&pid_, "jackd", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        pid_ = -1;
        return;
    }
    const auto giveUp = std::chrono::steady_clock::now() + kStartAllowance;
    while (!ServerAnswers() && std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(50ms);
    }
    ready_ = ServerAnswers();
}

// Clients of a server that went away leave their semaphores in /dev/shm; the server
// only removes what its clients closed while it ran.
JackTestServer::~JackTestServer()
{
    Stop();
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/shm", error)) {
        if (entry.path().filename().string().find("_" + name_ + "_") != std::string::npos) {
            std::filesystem::remove(entry.path(), error);
        }
    }
}

void JackTestServer::Stop()
{
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
    ready_ = false;
}

JackMidiReceiver::JackMidiReceiver()
{
    jack_status_t status {};
    client_ = jack_client_open("tavo-receiver", JackNoStartServer, &status);
    if (client_ == nullptr) {
        return;
    }
    port_ = jack_port_register(client_, "in", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
    jack_set_process_callback(client_, &JackMidiReceiver::Process, this);
    if (port_ == nullptr || jack_activate(client_) != 0) {
        jack_client_close(client_);
        client_ = nullptr;
    }
}

JackMidiReceiver::~JackMidiReceiver()
{
    if (client_ != nullptr) {
        jack_client_close(client_);
    }
}

// Runs on JACK's process thread. A lock has no place there in a real program; in this
// test it only ever meets a waiting test thread.
int JackMidiReceiver::Process(jack_nframes_t frames, void* receiver)
{
    const auto now = std::chrono::steady_clock::now();
    auto& self = *static_cast<JackMidiReceiver*>(receiver);
    void* buffer = jack_port_get_buffer(self.port_, frames);
    const jack_nframes_t count = jack_midi_get_event_count(buffer);
    if (count == 0) {
        return 0;
    }
    std::lock_guard lock(self.mutex_);
    for (jack_nframes_t index = 0; index < count; ++index) {
        jack_midi_event_t event {};
        if (jack_midi_event_get(&event, buffer, index) == 0) {
            self.messages_.emplace_back(event.buffer, event.buffer + event.size);
            self.receivedTimes_.push_back(now);
        }
    }
    self.arrived_.notify_all();
    return 0;
}

std::vector<JackMidiReceiver::Message> JackMidiReceiver::WaitForMessages(std::size_t count)
{
    std::unique_lock lock(mutex_);
    arrived_.wait_for(lock, kDeliveryAllowance, [&] { return messages_.size() >= count; });
    return messages_;
}

std::vector<JackMidiReceiver::TimedMessage> JackMidiReceiver::TimedMessages()
{
    std::lock_guard lock(mutex_);
    std::vector<TimedMessage> timed;
    timed.reserve(messages_.size());
    for (std::size_t index = 0; index < messages_.size(); ++index) {
        timed.push_back({ messages_[index], receivedTimes_[index] });
    }
    return timed;
}
