#pragma once

#include <memory>
#include <string>

#include "Keysyms.h"
#include "platform/keys/X11Display.h"

// Other X clients of the test's server, on connections of their own, so that what the
// code under test sees comes through the server as it would from another program.

// Types on the server's keyboard through XTest. Each call returns once the server has
// processed it.
class XTestTypist {
public:
    explicit XTestTypist(const std::string& displayName);

    // The keycode that types `keysym` under the server's layout as of now, 0 if none.
    int KeycodeOf(unsigned long keysym) const;
    void Press(int keycode);
    void Release(int keycode);
    void Tap(int keycode);

private:
    X11Display display_;
};

// A window of another program that takes the input focus, and can grab the keyboard.
class OtherProgramWindow {
public:
    explicit OtherProgramWindow(const std::string& displayName);

    void TakeFocus();
    // True when the server granted the grab.
    bool GrabKeyboard();

private:
    X11Display display_;
    unsigned long window_ = 0;
};
