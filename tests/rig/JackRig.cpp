#include "JackRig.h"

#include <atomic>
#include <cctype>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace {

std::string UniqueName(const std::string& prefix)
{
    static std::atomic<int> counter = 0;
    return prefix + std::to_string(getpid()) + "-" + std::to_string(counter++);
}

// The rig's own JACK clients never start a server, so one that went away stays away.
const std::vector<std::string> kNoStartServer { "JACK_NO_START_SERVER=1" };

// jack_midi_dump prints one line per message, " <frame>: 90 3c 7f note on ...": the
// bytes are the two-digit words after the colon. A line still being written is left out.
std::vector<std::vector<std::uint8_t>> ParseDump(const std::string& dump)
{
    std::vector<std::vector<std::uint8_t>> messages;
    std::istringstream lines(dump);
    for (std::string line; std::getline(lines, line) && !lines.eof();) {
        std::istringstream words(line.substr(line.find(':') + 1));
        auto& bytes = messages.emplace_back();
        for (std::string word; words >> word && word.size() == 2 && std::isxdigit(word[0]) && std::isxdigit(word[1]);) {
            bytes.push_back(static_cast<std::uint8_t>(std::stoi(word, nullptr, 16)));
        }
    }
    return messages;
}

}

// JACK has eight server slots and gives a dead server's slot back only to a server of the same name, so the rig takes
// its names from a few of its own: a server that was killed (a test that timed out) leaves a slot that the next of its
// name takes, and no other program's server is touched. A jackd whose name is taken exits at once.
JackServer::JackServer(int periodFrames)
{
    for (int number = 0; number < 8 && !ready_; ++number) {
        name_ = "tavo-test-" + std::to_string(number);
        jackd_ = std::make_unique<ChildProcess>("jackd",
            std::vector<std::string> { "-n", name_, "-d", "dummy", "-r", "48000", "-p", std::to_string(periodFrames) });
        const std::vector<std::string> ours { "JACK_DEFAULT_SERVER=" + name_, "JACK_NO_START_SERVER=1" };
        ready_ = ToolOutput("jack_wait", { "-w", "-t", "10" }, ours)
            && !jackd_->WaitForExit(std::chrono::milliseconds(100));
    }
    // Clients in this process and every child started from now on find the server by its name.
    // JACK_NO_START_SERVER is left to each program under test, which must set it itself.
    setenv("JACK_DEFAULT_SERVER", name_.c_str(), 1);
}

MidiDump::MidiDump(std::string client)
    : client_(client.empty() ? UniqueName("tavo-dump-") : std::move(client))
    , dump_(std::make_unique<ChildProcess>(
          "stdbuf", std::vector<std::string> { "-oL", "jack_midi_dump", client_ }, kNoStartServer))
{
    const auto listed = [this] { return ToolOutput("jack_lsp", {}, kNoStartServer).value_or(""); };
    if (!Eventually([&] { return listed().find(client_ + ":input\n") != std::string::npos; })) {
        throw std::runtime_error("no port " + client_ + ":input: " + dump_->Stderr());
    }
}

bool MidiDump::Connect(const std::string& sourcePort)
{
    return Eventually([&] {
        return ToolOutput("jack_connect", { sourcePort, client_ + ":input" }, kNoStartServer).has_value();
    });
}

std::vector<std::vector<std::uint8_t>> MidiDump::WaitForMessages(std::size_t count, std::chrono::milliseconds allowance)
{
    std::vector<std::vector<std::uint8_t>> messages;
    Eventually([&] { return (messages = ParseDump(dump_->Stdout())).size() >= count; }, allowance);
    return messages;
}
