#pragma once

#include <QFont>
#include <QWidget>

#include <cstdint>
#include <memory>

#include "core/AppState.h"
#include "core/KeyStateSource.h"
#include "core/RandomSource.h"
#include "core/ViewSurface.h"
#include "timer/PeriodicTimerService.h"
#include "timer/TickTimer.h"

class KeyPressWaker;
class TickRest;

// The client window the user plays on: draws the 24 keys, the instrument's name and,
// while recording or playing, the two counters; turns left-button presses on the lower
// octave into notes; owns the tick timer's life and receives the ticks. Everything but
// PostTick runs on the UI thread.
class CKeyboardView final : public QWidget, public ViewSurface, public TickTarget {
public:
    // Names itself the tick target and starts the timer; when the timer cannot start,
    // "SetMMTimerError" is shown once the event loop runs, and the view runs without ticks.
    CKeyboardView(AppState& state, KeyStateSource& keys, RandomSource& random, PeriodicTimerService& timer,
        QWidget* parent = nullptr);
    // Stops the timer, then clears the tick target, which waits out a callback still
    // posting: no tick reaches the view once it is gone, even from a timer that would not
    // stop. A tick already queued goes with the view.
    ~CKeyboardView() override;
    CKeyboardView(const CKeyboardView&) = delete;
    CKeyboardView& operator=(const CKeyboardView&) = delete;

    void InvalidateRect(const Rect& area) override;
    void InvalidateAll() override;
    void ShowMessage(const char* text) override;

    // Timer thread: queues one tick event for the UI thread.
    bool PostTick() override;

    // Lets the timer sleep while nothing can change; `waker` tells of the next key event.
    void RestTicksWhenIdle(KeyPressWaker& waker);
    // Brings a sleeping timer back, for a command that needs ticks (recording, playing).
    void WakeTicks();

    // Large enough for the whole keyboard and the counters.
    QSize sizeHint() const override;

    // The font the name and counters are drawn in.
    const QFont& LabelFont() const { return labelFont_; }

protected:
    bool event(QEvent* event) override;
    // Tab and Shift+Tab move no focus: the view keeps the keys, and swallows them too.
    bool focusNextPrevChild(bool next) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void HandleTick();
    void OnLButtonDown(QMouseEvent* event);

    AppState& state_;
    KeyStateSource& keys_;
    RandomSource& random_;
    PeriodicTimerService& timer_;
    QFont labelFont_;
    std::unique_ptr<TickRest> rest_;
};
