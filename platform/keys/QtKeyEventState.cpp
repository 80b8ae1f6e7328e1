#include "platform/keys/QtKeyEventState.h"

#include <QKeyEvent>

namespace {

constexpr int kNotRead = -1;

// Letters come from the layout already: Qt names the key by the letter it types.
int VirtualKeyOf(const QKeyEvent& event)
{
    const int key = event.key();
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        return 'A' + (key - Qt::Key_A);
    }
    if (key == Qt::Key_Space) {
        return kVkSpace;
    }
    // The keypad's 1 types End while Num Lock is off.
    const bool onKeypad = event.modifiers().testFlag(Qt::KeypadModifier);
    if (onKeypad && (key == Qt::Key_1 || key == Qt::Key_End)) {
        return kVkNumpad1;
    }
    return kNotRead;
}

bool IsFocusLoss(const QEvent& event)
{
    return event.type() == QEvent::ApplicationDeactivate
        || (event.type() == QEvent::ApplicationStateChange
            && static_cast<const QApplicationStateChangeEvent&>(event).applicationState() != Qt::ApplicationActive);
}

}

QtKeyEventState::QtKeyEventState(QObject& application)
{
    application.installEventFilter(this);
}

bool QtKeyEventState::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
        // A key event passes here once for the window and once more for each widget it
        // propagates to; setting the same state again is harmless.
        const auto& keyEvent = static_cast<const QKeyEvent&>(*event);
        const int virtualKey = VirtualKeyOf(keyEvent);
        if (virtualKey != kNotRead && !keyEvent.isAutoRepeat()) {
            const bool pressed = type == QEvent::KeyPress;
            down_[static_cast<std::size_t>(virtualKey)] = pressed;
            if (pressed) {
                pressedSince_.MarkPressed(virtualKey);
            }
        }
    } else if (IsFocusLoss(*event)) {
        down_.fill(false);
    }
    return QObject::eventFilter(watched, event);
}

std::uint16_t QtKeyEventState::GetAsyncKeyState(int virtualKey)
{
    const bool known = virtualKey >= 0 && virtualKey < kVirtualKeys;
    return known ? KeyStateWord(down_[static_cast<std::size_t>(virtualKey)], pressedSince_.Take(virtualKey)) : 0;
}
