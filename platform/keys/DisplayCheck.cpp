#include "platform/keys/DisplayCheck.h"

#include <cstdlib>
#include <string_view>

namespace {

std::string_view Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The platform Qt is about to start: QT_QPA_PLATFORM when set ("xcb", "wayland;xcb",
// ...), tried in its order; else X11, unless the session is Wayland with a compositor to
// reach.
bool QtWillStartOnX11()
{
    const std::string_view chosen = Environment("QT_QPA_PLATFORM");
    if (!chosen.empty()) {
        return chosen.starts_with("xcb");
    }
    return Environment("XDG_SESSION_TYPE") != "wayland" || Environment("WAYLAND_DISPLAY").empty();
}

}

std::optional<std::string> WhyNoDisplay(X11Display& connection)
{
    if (!QtWillStartOnX11()) {
        return std::nullopt;
    }
    const std::string display(Environment("DISPLAY"));
    if (display.empty()) {
        return "cannot open the display (DISPLAY is not set)";
    }
    connection = OpenX11Display(display.c_str());
    if (!connection) {
        return "cannot open the display \"" + display + "\" (no X server answers)";
    }
    return std::nullopt;
}
