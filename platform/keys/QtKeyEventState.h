#pragma once

#include <array>
#include <cstdint>

#include <QObject>

#include "core/KeyStateSource.h"
#include "platform/keys/PressedSinceMemory.h"

// The keyboard as this program's own key events tell it, for sessions without X11
// (Wayland, Qt's offscreen platform): keys count only while one of the program's windows
// has the focus. When the program loses the focus every key reads as released, since
// the releases that follow go to another program and would never reach this one.
class QtKeyEventState final : public QObject, public KeyStateSource {
public:
    // UI thread. Watches every event of `application` (the QCoreApplication) for as long
    // as this object lives.
    explicit QtKeyEventState(QObject& application);

    // The events arrive through the event loop between ticks; nothing to fetch.
    void Refresh() override { }
    std::uint16_t GetAsyncKeyState(int virtualKey) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static constexpr int kVirtualKeys = 256;

    std::array<bool, kVirtualKeys> down_ {};
    PressedSinceMemory pressedSince_ { kVirtualKeys };
};
