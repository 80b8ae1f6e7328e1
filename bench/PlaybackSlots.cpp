#include "PlaybackSlots.h"

#include <algorithm>

std::vector<std::int32_t> ExpectedPlaySlots(const std::vector<LogEvent>& recorded)
{
    std::vector<std::int32_t> slots;
    std::int32_t previous = 0;
    for (const LogEvent& entry : recorded) {
        previous = std::max(entry.frame, previous + 1);
        slots.push_back(previous);
    }
    return slots;
}
