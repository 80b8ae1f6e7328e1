#pragma once

#include <span>
#include <string>

#include "platform/keys/KeyboardReaders.h"

// One way of reading the keyboard, as a row of the table CreateKeyboardReaders tries.
struct KeyboardBackEnd {
    // How keys are read, said when this back end is a fallback ("by polling XQueryKeymap").
    const char* how;
    // What the user loses with it, said along with `how`.
    const char* limits;
    // UI thread. Readers with `keys` set, or empty ones with the reason in `whyNot`.
    KeyboardReaders (*open)(std::string& whyNot);
};

// The back ends, most preferred first.
std::span<const KeyboardBackEnd> KeyboardBackEnds();

// UI thread. The program's own Qt key events, read through an event filter on the
// application object; fails only when no QCoreApplication exists.
KeyboardReaders OpenQtKeyEvents(std::string& whyNot);

// For a keyboard whose lock toggles cannot be read: everything is off.
class UnknownLockKeys final : public LockKeySource {
public:
    LockKeys ReadLockKeys() override { return {}; }
};
