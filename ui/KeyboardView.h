#pragma once

#include <QFont>
#include <QWidget>

#include "core/AppState.h"
#include "core/KeyStateSource.h"
#include "core/RandomSource.h"
#include "core/ViewSurface.h"
#include "timer/TickTimer.h"
#include "ui/TickClock.h"

// The client window the user plays on: draws the 24 keys, the instrument's name and,
// while recording or playing, the two counters; turns left-button presses on the lower
// octave into notes; owns the tick clock and receives its ticks. Everything but
// PostTick runs on the UI thread.
class CKeyboardView final : public QWidget, public ViewSurface, public TickTarget {
public:
    // Starts the clock, whose ticks come here; when the timer cannot start,
    // "SetMMTimerError" is shown once the event loop runs, and the view runs without ticks.
    // Once the view is gone no tick reaches it; a tick already queued goes with it.
    CKeyboardView(AppState& state, KeyStateSource& keys, RandomSource& random, PeriodicTimerService& timer,
        QWidget* parent = nullptr);

    void InvalidateRect(const Rect& area) override;
    void InvalidateAll() override;
    void ShowMessage(const char* text) override;

    // Timer thread: queues one tick event for the UI thread.
    bool PostTick() override;

    TickClock& Clock() { return clock_; }

    QSize sizeHint() const override;

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

    AppState& state_;
    KeyStateSource& keys_;
    RandomSource& random_;
    QFont labelFont_;
    TickClock clock_;
};
