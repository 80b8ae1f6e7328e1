#include <QGuiApplication>

#include "platform/keys/KeyboardBackEnds.h"
#include "platform/keys/X11Display.h"
#include "platform/keys/X11KeyState.h"
#include "platform/keys/X11LockKeys.h"

namespace {

// On Wayland an X server may still answer (XWayland), but it sees keys only while one
// of its own windows has the focus: only a program that Qt runs on X11 reads X11.
bool QtRunsOnX11(std::string& whyNot)
{
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("xcb")) {
        return true;
    }
    whyNot
        = "the Qt platform is " + (platform.isEmpty() ? std::string("unknown") : platform.toStdString()) + ", not X11";
    return false;
}

// The server Qt reached, which "-display" may have chosen over $DISPLAY.
std::string QtDisplayName()
{
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr && x11->display() != nullptr ? DisplayNameOf(x11->display()) : std::string();
}

KeyboardReaders OpenX11(X11PressEvents events, std::string& whyNot)
{
    if (!QtRunsOnX11(whyNot)) {
        return {};
    }
    const std::string displayName = QtDisplayName();
    const char* display = displayName.empty() ? nullptr : displayName.c_str();
    std::unique_ptr<X11KeyState> keys = X11KeyState::Open(display, events, whyNot);
    if (!keys) {
        return {};
    }
    auto locks = std::make_unique<X11LockKeySource>(*keys);
    return { std::move(keys), std::move(locks) };
}

KeyboardReaders OpenX11RawEvents(std::string& whyNot)
{
    return OpenX11(X11PressEvents::RawXInput2, whyNot);
}

KeyboardReaders OpenX11Polling(std::string& whyNot)
{
    return OpenX11(X11PressEvents::None, whyNot);
}

constexpr KeyboardBackEnd kBackEnds[] = {
    { "from XInput2 raw events", "", OpenX11RawEvents },
    { "by polling XQueryKeymap", "a key tapped between two ticks can be lost", OpenX11Polling },
    { "from Tavo's own key events", "they count only while a Tavo window has the focus", OpenQtKeyEvents },
};

}

std::span<const KeyboardBackEnd> KeyboardBackEnds()
{
    return kBackEnds;
}
