#include "platform/keys/XWaylandCheck.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <memory>
#include <string_view>

namespace {

constexpr std::string_view kXWayland = "XWAYLAND";

bool HasXWaylandExtension(Display* display)
{
    int opcode = 0;
    int event = 0;
    int error = 0;
    return XQueryExtension(display, kXWayland.data(), &opcode, &event, &error) != False;
}

bool HasXWaylandOutput(Display* display)
{
    int event = 0;
    int error = 0;
    if (XRRQueryExtension(display, &event, &error) == False) {
        return false;
    }
    const std::unique_ptr<XRRScreenResources, decltype(&XRRFreeScreenResources)> resources(
        XRRGetScreenResourcesCurrent(display, DefaultRootWindow(display)), XRRFreeScreenResources);
    for (int i = 0; resources && i < resources->noutput; ++i) {
        const std::unique_ptr<XRROutputInfo, decltype(&XRRFreeOutputInfo)> output(
            XRRGetOutputInfo(display, resources.get(), resources->outputs[i]), XRRFreeOutputInfo);
        if (output && std::string_view(output->name, output->nameLen).starts_with(kXWayland)) {
            return true;
        }
    }
    return false;
}

}

bool IsXWayland(_XDisplay* display)
{
    return HasXWaylandExtension(display) || HasXWaylandOutput(display);
}
