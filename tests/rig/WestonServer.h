#pragma once

#include "ChildProcess.h"

// A headless Wayland compositor with its sockets in `runtimeFolder`, and the XWayland display
// (":N") its log names. Throws std::runtime_error when Weston names none.
class WestonServer {
public:
    explicit WestonServer(const std::string& runtimeFolder);
    const std::string& XDisplayName() const { return displayName_; }

private:
    std::optional<ChildProcess> weston_;
    std::string displayName_;
};
