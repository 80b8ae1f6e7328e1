#include "platform/keys/X11LockKeys.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>

namespace {

// XKB's names of the lock indicators, in LockKeys order.
constexpr std::array<const char*, kLockKeyCount> kIndicatorNames = { "Kana", "Caps Lock", "Num Lock", "Scroll Lock" };

}

X11LockKeySource::X11LockKeySource(X11KeyState& keys)
    : keys_(keys)
{
    Display* display = keys_.Connection();
    for (std::size_t i = 0; i < indicatorIndex_.size(); ++i) {
        indicatorIndex_[i] = kNoIndicator;
        int index = 0;
        const Atom name = XInternAtom(display, kIndicatorNames[i], True);
        if (keys_.HasXkb() && name != 0 && XkbGetNamedIndicator(display, name, &index, nullptr, nullptr, nullptr)) {
            indicatorIndex_[i] = index;
        }
    }
}

void X11LockKeySource::WatchChanges(std::function<void()> changed)
{
    if (keys_.HasXkb()) {
        keys_.WatchIndicators(std::move(changed));
    }
}

LockKeys X11LockKeySource::ReadLockKeys()
{
    unsigned int lit = 0;
    if (!keys_.HasXkb() || XkbGetIndicatorState(keys_.Connection(), XkbUseCoreKbd, &lit) != Success) {
        return {};
    }
    LockKeys locks {};
    for (std::size_t i = 0; i < locks.size(); ++i) {
        locks[i] = indicatorIndex_[i] != kNoIndicator && ((lit >> indicatorIndex_[i]) & 1U) != 0;
    }
    return locks;
}
