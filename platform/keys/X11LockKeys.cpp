#include "platform/keys/X11LockKeys.h"

#include <QSocketNotifier>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>

namespace {

// XKB's names of the lock indicators, in LockKeys order.
constexpr std::array<const char*, kLockKeyCount> kIndicatorNames = { "Kana", "Caps Lock", "Num Lock", "Scroll Lock" };

}

std::unique_ptr<X11LockKeySource> X11LockKeySource::Open(const char* displayName)
{
    X11Display display = OpenX11Display(displayName);
    if (!display) {
        return nullptr;
    }
    return std::make_unique<X11LockKeySource>(std::move(display));
}

X11LockKeySource::X11LockKeySource(X11Display display)
    : display_(std::move(display))
{
    int opcode = 0;
    int errorBase = 0;
    int major = XkbMajorVersion;
    int minor = XkbMinorVersion;
    hasXkb_ = XkbQueryExtension(display_.get(), &opcode, &xkbEventBase_, &errorBase, &major, &minor);
    for (std::size_t i = 0; i < indicatorIndex_.size(); ++i) {
        indicatorIndex_[i] = kNoIndicator;
        int index = 0;
        const Atom name = XInternAtom(display_.get(), kIndicatorNames[i], True);
        if (hasXkb_ && name != 0 && XkbGetNamedIndicator(display_.get(), name, &index, nullptr, nullptr, nullptr)) {
            indicatorIndex_[i] = index;
        }
    }
}

X11LockKeySource::~X11LockKeySource() = default;

bool X11LockKeySource::WatchChanges(std::function<void()> changed)
{
    if (!hasXkb_) {
        return false;
    }
    changed_ = std::move(changed);
    XkbSelectEvents(display_.get(), XkbUseCoreKbd, XkbIndicatorStateNotifyMask, XkbIndicatorStateNotifyMask);
    XFlush(display_.get());
    notifier_ = std::make_unique<QSocketNotifier>(ConnectionNumber(display_.get()), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { TakeEvents(); });
    return true;
}

void X11LockKeySource::TakeEvents()
{
    Display* display = display_.get();
    bool indicatorChanged = false;
    while (XEventsQueued(display, QueuedAfterReading) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        indicatorChanged = indicatorChanged || event.type == xkbEventBase_;
    }
    if (indicatorChanged) {
        changed_();
    }
}

LockKeys X11LockKeySource::ReadLockKeys()
{
    unsigned int lit = 0;
    if (!hasXkb_ || XkbGetIndicatorState(display_.get(), XkbUseCoreKbd, &lit) != Success) {
        return {};
    }
    LockKeys locks {};
    for (std::size_t i = 0; i < locks.size(); ++i) {
        locks[i] = indicatorIndex_[i] != kNoIndicator && ((lit >> indicatorIndex_[i]) & 1U) != 0;
    }
    return locks;
}
