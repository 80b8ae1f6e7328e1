#include "TestXClients.h"

#include <stdexcept>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace {

X11Display Connect(const std::string& displayName)
{
    X11Display display = OpenX11Display(displayName.c_str());
    if (!display) {
        throw std::runtime_error("cannot connect to " + displayName);
    }
    return display;
}

}

XTestTypist::XTestTypist(const std::string& displayName)
    : display_(Connect(displayName))
{
}

int XTestTypist::KeycodeOf(unsigned long keysym) const
{
    return XKeysymToKeycode(display_.get(), keysym);
}

void XTestTypist::Press(int keycode)
{
    XTestFakeKeyEvent(display_.get(), static_cast<unsigned>(keycode), True, CurrentTime);
    XSync(display_.get(), False);
}

void XTestTypist::Release(int keycode)
{
    XTestFakeKeyEvent(display_.get(), static_cast<unsigned>(keycode), False, CurrentTime);
    XSync(display_.get(), False);
}

void XTestTypist::Tap(int keycode)
{
    Press(keycode);
    Release(keycode);
}

OtherProgramWindow::OtherProgramWindow(const std::string& displayName)
    : display_(Connect(displayName))
{
    Display* display = display_.get();
    window_ = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 100, 100, 0, 0, 0);
    XSelectInput(display, window_, KeyPressMask | KeyReleaseMask);
    XMapRaised(display, window_);
    XSync(display, False);
}

void OtherProgramWindow::TakeFocus()
{
    XSetInputFocus(display_.get(), window_, RevertToParent, CurrentTime);
    XSync(display_.get(), False);
}

bool OtherProgramWindow::GrabKeyboard()
{
    const int result = XGrabKeyboard(display_.get(), window_, False, GrabModeAsync, GrabModeAsync, CurrentTime);
    XSync(display_.get(), False);
    return result == GrabSuccess;
}
