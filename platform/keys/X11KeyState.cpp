#include "platform/keys/X11KeyState.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/keysym.h>

#include <cstring>
#include <string_view>

namespace {

// Raw events arrive on the root window whatever has the focus or a grab only since 2.1.
constexpr int kRawEventsMajor = 2;
constexpr int kRawEventsMinor = 1;

// Where a US layout has each letter, A to Z, by XKB's names of the physical keys: row
// (AB bottom, AC home, AD top) and place in the row. The names hold for every keycode set.
constexpr std::array<const char*, 26> kUsLetterKeys
    = { "AC01", "AB05", "AB03", "AC03", "AD03", "AC04", "AC05", "AC06", "AD08", "AC07", "AC08", "AC09", "AB07", "AB06",
          "AD09", "AD10", "AD01", "AD04", "AC02", "AD05", "AD07", "AB04", "AD02", "AB02", "AD06", "AB01" };

using XkbKeyNames
    = std::unique_ptr<XkbDescRec, decltype([](XkbDescPtr keyboard) { XkbFreeKeyboard(keyboard, 0, True); })>;

// The names of the keyboard's keys; null without XKB.
XkbKeyNames ReadKeyNames(Display* display)
{
    XkbKeyNames keyboard(XkbGetMap(display, 0, XkbUseCoreKbd));
    if (!keyboard || XkbGetNames(display, XkbKeyNamesMask, keyboard.get()) != Success || keyboard->names == nullptr
        || keyboard->names->keys == nullptr) {
        return nullptr;
    }
    return keyboard;
}

// The keycode of the key XKB names `name`, 0 when the keyboard has none.
KeyCode KeycodeNamed(const XkbDescRec& keyboard, std::string_view name)
{
    for (int keycode = keyboard.min_key_code; keycode <= keyboard.max_key_code; ++keycode) {
        const char* keyName = keyboard.names->keys[keycode].name;
        if (std::string_view(keyName, strnlen(keyName, XkbKeyNameLength)) == name) {
            return static_cast<KeyCode>(keycode);
        }
    }
    return 0;
}

int QueryXInputOpcode(Display* display, std::string& whyNot)
{
    int opcode = 0;
    int firstEvent = 0;
    int firstError = 0;
    if (!XQueryExtension(display, "XInputExtension", &opcode, &firstEvent, &firstError)) {
        whyNot = "the X server has no XInput extension";
        return -1;
    }
    int major = kRawEventsMajor;
    int minor = kRawEventsMinor;
    if (XIQueryVersion(display, &major, &minor) != Success
        || major * 100 + minor < kRawEventsMajor * 100 + kRawEventsMinor) {
        whyNot = "the X server has no XInput2 >= 2.1";
        return -1;
    }
    return opcode;
}

void SelectRawKeyPresses(Display* display)
{
    // Only presses: the down-now state comes from the keymap snapshot, so releases
    // would be read and thrown away on every tick.
    std::array<unsigned char, XIMaskLen(XI_LASTEVENT)> bits {};
    XISetMask(bits.data(), XI_RawKeyPress);
    XIEventMask mask { XIAllMasterDevices, static_cast<int>(bits.size()), bits.data() };
    XISelectEvents(display, DefaultRootWindow(display), &mask, 1);
}

int SelectLayoutChanges(Display* display)
{
    int opcode = 0;
    int eventBase = 0;
    int errorBase = 0;
    int major = XkbMajorVersion;
    int minor = XkbMinorVersion;
    if (!XkbQueryExtension(display, &opcode, &eventBase, &errorBase, &major, &minor)) {
        return -1;
    }
    const unsigned long changes = XkbNewKeyboardNotifyMask | XkbMapNotifyMask;
    XkbSelectEvents(display, XkbUseCoreKbd, changes, changes);
    return eventBase;
}

}

std::unique_ptr<X11KeyState> X11KeyState::Open(X11Display& connection, X11PressEvents events, std::string& whyNot)
{
    Display* display = connection.get();
    int xinputOpcode = -1;
    if (events == X11PressEvents::RawXInput2) {
        xinputOpcode = QueryXInputOpcode(display, whyNot);
        if (xinputOpcode < 0) {
            return nullptr;
        }
        SelectRawKeyPresses(display);
    }
    const int xkbEventBase = SelectLayoutChanges(display);
    // Presses made from here on count; nothing made before the selection reached the server.
    XSync(display, False);
    return std::unique_ptr<X11KeyState>(new X11KeyState(std::move(connection), xinputOpcode, xkbEventBase));
}

X11KeyState::X11KeyState(X11Display display, int xinputOpcode, int xkbEventBase)
    : display_(std::move(display))
    , xinputOpcode_(xinputOpcode)
    , xkbEventBase_(xkbEventBase)
{
    MapVirtualKeys();
}

void X11KeyState::WatchIndicators(std::function<void()> changed)
{
    indicatorsChanged_ = std::move(changed);
    XkbSelectEvents(display_.get(), XkbUseCoreKbd, XkbIndicatorStateNotifyMask, XkbIndicatorStateNotifyMask);
    XFlush(display_.get());
}

void X11KeyState::MapVirtualKeys()
{
    constexpr int kLetters = 'Z' - 'A' + 1;
    keycodeOf_.fill(0);
    XkbKeyNames keyNames;
    for (int letter = 0; letter < kLetters; ++letter) {
        KeyCode keycode = XKeysymToKeycode(display_.get(), XK_a + letter);
        // A layout without Latin letters (Cyrillic, Greek) still plays: each letter it
        // lacks stays on the key where a US layout has it.
        if (keycode == 0 && !keyNames) {
            keyNames = ReadKeyNames(display_.get());
        }
        if (keycode == 0 && keyNames) {
            keycode = KeycodeNamed(*keyNames, kUsLetterKeys[letter]);
        }
        keycodeOf_['A' + letter] = keycode;
    }
    keycodeOf_[kVkSpace] = XKeysymToKeycode(display_.get(), XK_space);
    // The keypad's 1 is KP_1 with Num Lock on and KP_End with it off, on the same key.
    const KeyCode keypad1 = XKeysymToKeycode(display_.get(), XK_KP_1);
    keycodeOf_[kVkNumpad1] = keypad1 != 0 ? keypad1 : XKeysymToKeycode(display_.get(), XK_KP_End);
}

void X11KeyState::Refresh()
{
    // With raw presses tracked, an idle keyboard needs no round trip: while no watched key
    // was down at the last snapshot and no press or layout change has come in since, every
    // watched key is still up. That keeps the server and this thread asleep between ticks.
    const bool keyboardChanged = TakePendingEvents();
    if (xinputOpcode_ >= 0 && !keyboardChanged && !snapshotStale_ && !AnyWatchedKeyDown()) {
        return;
    }
    // The snapshot's round trip also brings in every event the server sent before it.
    XQueryKeymap(display_.get(), keymap_.data());
    snapshotStale_ = false;
    if (TakePendingEvents()) {
        snapshotStale_ = true;
    }
}

bool X11KeyState::KeysAtRest()
{
    // Reading the socket here leaves nothing behind in Xlib's queue unseen: whatever
    // arrives later makes the socket readable.
    return xinputOpcode_ >= 0 && !snapshotStale_ && XEventsQueued(display_.get(), QueuedAfterReading) == 0
        && !AnyWatchedKeyDown();
}

int X11KeyState::RestWakeDescriptor() const
{
    return xinputOpcode_ >= 0 ? ConnectionNumber(display_.get()) : -1;
}

bool X11KeyState::AnyWatchedKeyDown() const
{
    for (const std::uint8_t keycode : keycodeOf_) {
        if (keycode != 0 && IsDownInSnapshot(keycode)) {
            return true;
        }
    }
    return false;
}

bool X11KeyState::TakePendingEvents()
{
    Display* display = display_.get();
    bool pressed = false;
    bool layoutChanged = false;
    bool indicatorsChanged = false;
    while (XEventsQueued(display, QueuedAfterReading) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        XGenericEventCookie& cookie = event.xcookie;
        if (cookie.type == GenericEvent && cookie.extension == xinputOpcode_ && XGetEventData(display, &cookie)) {
            if (cookie.evtype == XI_RawKeyPress) {
                pressedSince_.MarkPressed(static_cast<const XIRawEvent*>(cookie.data)->detail);
                pressed = true;
            }
            XFreeEventData(display, &cookie);
        } else if (event.type == MappingNotify) {
            XRefreshKeyboardMapping(&event.xmapping);
            layoutChanged = true;
        } else if (xkbEventBase_ >= 0 && event.type == xkbEventBase_) {
            auto& xkbEvent = reinterpret_cast<XkbEvent&>(event);
            if (xkbEvent.any.xkb_type == XkbMapNotify) {
                XkbRefreshKeyboardMapping(&xkbEvent.map);
            }
            indicatorsChanged = indicatorsChanged || xkbEvent.any.xkb_type == XkbIndicatorStateNotify;
            layoutChanged = layoutChanged || xkbEvent.any.xkb_type != XkbIndicatorStateNotify;
        }
    }
    if (layoutChanged) {
        MapVirtualKeys();
    }
    if (indicatorsChanged && indicatorsChanged_) {
        indicatorsChanged_();
    }
    return pressed || layoutChanged;
}

bool X11KeyState::IsDownInSnapshot(int keycode) const
{
    return (keymap_[static_cast<std::size_t>(keycode) / 8] >> (keycode % 8)) & 1;
}

int X11KeyState::KeycodeOf(int virtualKey) const
{
    return virtualKey >= 0 && virtualKey < kVirtualKeys ? keycodeOf_[static_cast<std::size_t>(virtualKey)] : 0;
}

std::uint16_t X11KeyState::GetAsyncKeyState(int virtualKey)
{
    const int keycode = KeycodeOf(virtualKey);
    if (keycode == 0) {
        return 0;
    }
    return KeyStateWord(IsDownInSnapshot(keycode), pressedSince_.Take(keycode));
}
