#pragma once

#include <QMainWindow>

#include <QHash>

#include "core/AppState.h"
#include "core/KeyStateSource.h"
#include "core/RandomSource.h"
#include "platform/keys/KeyboardReaders.h"
#include "timer/PeriodicTimerService.h"

class CKeyboardView;
class QAction;
class QToolBar;

// The program's top-level window: the menu bar, the toolbar and the channel bar side
// by side in one row, the status bar, and the keyboard view as its client. Owns the
// transport commands of the "MIDI" menu. UI thread.
class CMainFrame final : public QMainWindow {
public:
    CMainFrame(AppState& state, KeyStateSource& keys, RandomSource& random, PeriodicTimerService& timer,
        LockKeySource& locks, QWidget* parent = nullptr);

    CKeyboardView& View() const { return *view_; }
    // The action of a command id (Resources.h), shared by its menu item, toolbar button
    // and accelerators; nullptr for an id the frame does not have.
    QAction* CommandAction(int id) const { return commands_.value(id); }

protected:
    // Runs only when the frame itself holds the focus, which it hands on to the view.
    void keyPressEvent(QKeyEvent* event) override;

private:
    QAction* AddCommand(int id, const QString& text);
    void CreateMenus();
    void CreateBars();
    // The message pane ("ﾚﾃﾞｨ" when idle, a command's prompt while it is highlighted) and
    // the indicator panes "ｶﾅ", "CAP", "NUM", "SCRL", each showing its text while its lock
    // is on, read now and whenever `locks` tells of a change.
    void CreateStatusBar(LockKeySource& locks);
    void CreateAccelerators();
    void ConnectCommands(AppState& state);

    CKeyboardView* view_;
    QToolBar* toolBar_ = nullptr;
    QHash<int, QAction*> commands_;
};
