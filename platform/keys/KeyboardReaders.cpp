#include "platform/keys/KeyboardReaders.h"

#include <cstdlib>
#include <optional>
#include <ostream>

#include <QGuiApplication>

#include "platform/keys/QtKeyEventState.h"
#include "platform/keys/X11Display.h"
#include "platform/keys/X11KeyState.h"
#include "platform/keys/X11LockKeys.h"
#include "platform/keys/XWaylandCheck.h"

namespace {

// What is left when no back end opens: every key reads up, so nothing ever sounds stuck.
class SilentKeyboard final : public KeyStateSource {
public:
    void Refresh() override { }
    std::uint16_t GetAsyncKeyState(int) override { return 0; }
};

// For a keyboard whose lock toggles cannot be read: everything is off.
class UnknownLockKeys final : public LockKeySource {
public:
    LockKeys ReadLockKeys() override { return {}; }
};

// The name of the X server Qt reached, which "-display" may have chosen over $DISPLAY;
// nothing when Qt does not run on X11. On Wayland an X server may still answer
// (XWayland), but it sees keys only while one of its own windows has the focus: only a
// program that Qt runs on X11 reads X11.
std::optional<std::string> QtX11Display(std::string& whyNot)
{
    const QString platform = QGuiApplication::platformName();
    if (platform != QLatin1String("xcb")) {
        whyNot = "the Qt platform is " + (platform.isEmpty() ? std::string("unknown") : platform.toStdString())
            + ", not X11";
        return std::nullopt;
    }
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 != nullptr && x11->display() != nullptr) {
        return DisplayNameOf(x11->display());
    }
    const char* environment = std::getenv("DISPLAY");
    return environment != nullptr ? environment : "";
}

// Reads on `connection`, the display check's, while it reaches the server Qt reached;
// else on one opened here. A back end that fails leaves the connection to the next.
template <X11PressEvents events> KeyboardReaders OpenX11(X11Display& connection, std::string& whyNot)
{
    const std::optional<std::string> display = QtX11Display(whyNot);
    if (!display) {
        return {};
    }
    if (connection && DisplayNameOf(connection.get()) != *display) {
        connection.reset();
    }
    if (!connection) {
        connection = OpenX11Display(display->c_str());
    }
    if (!connection) {
        whyNot = display->empty() ? "no X display is set" : "no X server answers on " + *display;
        return {};
    }
    std::unique_ptr<X11KeyState> keys = X11KeyState::Open(connection, events, whyNot);
    if (!keys) {
        return {};
    }
    auto locks = std::make_unique<X11LockKeySource>(*keys);
    return { std::move(keys), std::move(locks) };
}

// The program's own Qt key events, read through an event filter on the application
// object; fails only when no QCoreApplication exists.
KeyboardReaders OpenQtKeyEvents(X11Display& /*connection*/, std::string& whyNot)
{
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr) {
        whyNot = "no Qt application exists";
        return {};
    }
    return { std::make_unique<QtKeyEventState>(*application), std::make_unique<UnknownLockKeys>() };
}

// One way of reading the keyboard: how keys are read and what the user loses with it,
// said when it is a fallback, and how it opens (readers with `keys` set, or empty ones
// with the reason in `whyNot`).
struct KeyboardBackEnd {
    const char* how;
    const char* limits;
    KeyboardReaders (*open)(X11Display& connection, std::string& whyNot);
};

// Most preferred first.
constexpr KeyboardBackEnd kBackEnds[] = {
    { "from XInput2 raw events", "", OpenX11<X11PressEvents::RawXInput2> },
    { "by polling XQueryKeymap", "a key tapped between two ticks can be lost", OpenX11<X11PressEvents::None> },
    { "from Tavo's own key events", "they count only while a Tavo window has the focus", OpenQtKeyEvents },
};

}

KeyboardReaders CreateKeyboardReaders(std::ostream& notices, X11Display checkedConnection)
{
    std::string firstWhyNot;
    for (const KeyboardBackEnd& backEnd : kBackEnds) {
        std::string whyNot;
        KeyboardReaders readers = backEnd.open(checkedConnection, whyNot);
        if (readers.keys) {
            if (&backEnd != &kBackEnds[0]) {
                notices << "tavo: " << firstWhyNot << ", so keys are read " << backEnd.how << ": " << backEnd.limits
                        << "\n";
            }
            if (const auto* x11 = dynamic_cast<const X11KeyState*>(readers.keys.get());
                x11 && IsXWayland(x11->Connection())) {
                notices
                    << "tavo: this X server is XWayland, which shows Tavo the keyboard only while a Tavo window has "
                       "the focus; log in to an X11 session to play from any window\n";
            }
            return readers;
        }
        if (firstWhyNot.empty()) {
            firstWhyNot = whyNot;
        }
    }
    notices << "tavo: " << firstWhyNot << ", and no other way to read the keyboard works: the keys stay silent\n";
    return { std::make_unique<SilentKeyboard>(), std::make_unique<UnknownLockKeys>() };
}
