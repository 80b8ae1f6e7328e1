#include "JackPortWatch.h"

#include <jack/jack.h>

#include <stdexcept>

JackPortWatch::JackPortWatch(std::string prefix)
    : prefix_(std::move(prefix))
    , client_(jack_client_open("tavo-bench-watch", JackNoStartServer, nullptr))
{
    if (client_ == nullptr) {
        throw std::runtime_error("no JACK server to watch");
    }
    jack_set_port_registration_callback(client_, &JackPortWatch::PortRegistered, this);
    jack_activate(client_);
}

JackPortWatch::~JackPortWatch()
{
    jack_client_close(client_);
}

// JACK's notification thread.
void JackPortWatch::PortRegistered(unsigned port, int registered, void* watch)
{
    auto& self = *static_cast<JackPortWatch*>(watch);
    const auto now = std::chrono::steady_clock::now();
    const char* name = registered != 0 ? jack_port_name(jack_port_by_id(self.client_, port)) : nullptr;
    if (name == nullptr || std::string(name).rfind(self.prefix_, 0) != 0) {
        return;
    }
    std::lock_guard lock(self.mutex_);
    if (!self.when_) {
        self.when_ = now;
        self.appeared_.notify_all();
    }
}

std::optional<std::chrono::steady_clock::time_point> JackPortWatch::WaitForPort(std::chrono::milliseconds allowance)
{
    std::unique_lock lock(mutex_);
    appeared_.wait_for(lock, allowance, [this] { return when_.has_value(); });
    return when_;
}
