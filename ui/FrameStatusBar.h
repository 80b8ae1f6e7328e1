#pragma once

#include <QStatusBar>

#include "platform/keys/KeyboardReaders.h"

// The frame's status bar: the message pane ("ﾚﾃﾞｨ" when idle, a command's prompt while
// it is highlighted) and the indicator panes "ｶﾅ", "CAP", "NUM", "SCRL", each showing
// its text while its lock is on. UI thread.
class FrameStatusBar final : public QStatusBar {
public:
    // Reads the locks now and then whenever `locks` tells of a change.
    FrameStatusBar(LockKeySource& locks, QWidget* parent);
};
