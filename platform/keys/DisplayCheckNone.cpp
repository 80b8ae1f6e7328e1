#include "platform/keys/DisplayCheck.h"

std::optional<std::string> WhyNoDisplay()
{
    // Without Xlib there is nothing to ask before Qt starts.
    return std::nullopt;
}
