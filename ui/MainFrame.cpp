#include "ui/MainFrame.h"

#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include <array>

#include "core/Transport.h"
#include "ui/KeyboardView.h"
#include "ui/MenuStyle.h"
#include "ui/Resources.h"

namespace {

struct MenuItem {
    int id = 0; // 0 for a separator
    const char* text = nullptr;
};

struct Menu {
    const char* caption = nullptr;
    std::initializer_list<MenuItem> items;
};

// The menu bar, in order. The "\t" part of an item is the accelerator it shows.
const std::array<Menu, 5> kMenus = { {
    { "ﾌｧｲﾙ(&F)", { { ID_APP_EXIT, "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)" } } },
    { "編集(&E)",
        { { ID_EDIT_UNDO, "元に戻す(&U)\tCtrl+Z" }, { 0, "" }, { ID_EDIT_CUT, "切り取り(&T)\tCtrl+X" },
            { ID_EDIT_COPY, "ｺﾋﾟｰ(&C)\tCtrl+C" }, { ID_EDIT_PASTE, "貼り付け(&P)\tCtrl+V" } } },
    { "表示(&V)", { { ID_VIEW_TOOLBAR, "ﾂｰﾙ ﾊﾞｰ(&T)" }, { ID_VIEW_STATUS_BAR, "ｽﾃｰﾀｽ ﾊﾞｰ(&S)" } } },
    { "ﾍﾙﾌﾟ(&H)", { { ID_APP_ABOUT, "Tavo のﾊﾞｰｼﾞｮﾝ情報(&A)..." } } },
    { "MIDI", { { ID_MIDI_PLAY, "PLAY" }, { ID_MIDI_REC, "REC" }, { ID_MIDI_STOP, "STOP" } } },
} };

struct Accelerator {
    QKeyCombination keys;
    int id = 0;
};

// In the order of the accelerator table. None of their commands has a handler, so all
// of them stay disabled along with their items.
const std::array<Accelerator, 10> kAccelerators = { {
    { Qt::CTRL | Qt::Key_C, ID_EDIT_COPY },
    { Qt::CTRL | Qt::Key_V, ID_EDIT_PASTE },
    { Qt::ALT | Qt::Key_Backspace, ID_EDIT_UNDO },
    { Qt::SHIFT | Qt::Key_Delete, ID_EDIT_CUT },
    { QKeyCombination(Qt::Key_F6), ID_NEXT_PANE },
    { Qt::SHIFT | Qt::Key_F6, ID_PREV_PANE },
    { Qt::CTRL | Qt::Key_Insert, ID_EDIT_COPY },
    { Qt::SHIFT | Qt::Key_Insert, ID_EDIT_PASTE },
    { Qt::CTRL | Qt::Key_X, ID_EDIT_CUT },
    { Qt::CTRL | Qt::Key_Z, ID_EDIT_UNDO },
} };

struct ToolButton {
    int id = 0; // 0 for a separator
    const char* image = nullptr;
};

const std::array<ToolButton, 7> kToolButtons = { {
    { ID_EDIT_CUT, ":/toolbar/cut.png" },
    { ID_EDIT_COPY, ":/toolbar/copy.png" },
    { ID_EDIT_PASTE, ":/toolbar/paste.png" },
    { 0, nullptr },
    { ID_FILE_PRINT, ":/toolbar/print.png" },
    { 0, nullptr },
    { ID_APP_ABOUT, ":/toolbar/about.png" },
} };

struct IndicatorPane {
    int textId;
    const char* objectName;
};

// In LockKeys order.
constexpr std::array<IndicatorPane, kLockKeyCount> kIndicatorPanes = { {
    { ID_INDICATOR_KANA, "indicatorKana" },
    { ID_INDICATOR_CAPS, "indicatorCaps" },
    { ID_INDICATOR_NUM, "indicatorNum" },
    { ID_INDICATOR_SCRL, "indicatorScrl" },
} };
constexpr int kIndicatorPadding = 8;

constexpr QSize kToolButtonImage { 16, 15 };
constexpr int kChannelCount = 16;
// The channel list is 112 dialog units wide; a dialog unit is a quarter of the font's
// average character width.
constexpr int kChannelListDialogUnits = 112;
constexpr int kDialogUnitsPerCharacter = 4;
// Qt takes an empty status tip for none and leaves the idle text up, so a command whose
// prompt is empty blanks the message pane with a prompt of one space instead.
const QString kBlankPrompt = QStringLiteral(" ");

}

CMainFrame::CMainFrame(AppState& state, KeyStateSource& keys, RandomSource& random, PeriodicTimerService& timer,
    LockKeySource& locks, QWidget* parent)
    : QMainWindow(parent)
    , view_(new CKeyboardView(state, keys, random, timer, this))
{
    CreateStatusBar(locks);
    setWindowTitle(LoadResourceString(IDR_MAINFRAME));
    setCentralWidget(view_);
    setFocusProxy(view_);
    setContextMenuPolicy(Qt::PreventContextMenu);
    CreateMenus();
    CreateAccelerators();
    CreateBars();
    ConnectCommands(state);
    // Qt would cap the first size at two thirds of the screen; the whole keyboard and
    // its bars must show.
    resize(sizeHint());
}

QAction* CMainFrame::AddCommand(int id, const QString& text)
{
    if (QAction* existing = CommandAction(id)) {
        return existing;
    }
    auto* action = new QAction(text, this);
    action->setData(id);
    const QString resource = LoadResourceString(id);
    const QString prompt = resource.section(u'\n', 0, 0);
    action->setStatusTip(prompt.isEmpty() ? kBlankPrompt : prompt);
    action->setToolTip(resource.section(u'\n', 1));
    // Enabled only once a handler is connected, as commands without one are shown disabled.
    action->setEnabled(false);
    commands_.insert(id, action);
    return action;
}

void CMainFrame::CreateMenus()
{
    auto* menuStyle = new MenuStyle;
    menuStyle->setParent(this);
    for (const Menu& menu : kMenus) {
        QMenu* popup = menuBar()->addMenu(QString::fromUtf8(menu.caption));
        popup->setStyle(menuStyle);
        for (const MenuItem& item : menu.items) {
            if (item.id == 0) {
                popup->addSeparator();
            } else {
                popup->addAction(AddCommand(item.id, QString::fromUtf8(item.text)));
            }
        }
    }
}

void CMainFrame::CreateAccelerators()
{
    for (const Accelerator& accelerator : kAccelerators) {
        QAction* action = AddCommand(accelerator.id, QString());
        action->setShortcuts(action->shortcuts() << QKeySequence(accelerator.keys));
        // Commands without a menu item (next and previous pane) still need a widget for
        // their shortcuts.
        addAction(action);
    }
}

void CMainFrame::CreateBars()
{
    // Both bars stay side by side in the top row: they may be reordered there, but never
    // torn off or docked at another edge.
    const auto fixInTopRow = [](QToolBar* bar) {
        bar->setFloatable(false);
        bar->setAllowedAreas(Qt::TopToolBarArea);
    };
    toolBar_ = addToolBar(QString());
    fixInTopRow(toolBar_);
    toolBar_->setObjectName("toolBar");
    toolBar_->setIconSize(kToolButtonImage);
    for (const ToolButton& button : kToolButtons) {
        if (button.id == 0) {
            toolBar_->addSeparator();
            continue;
        }
        QAction* action = AddCommand(button.id, QString());
        action->setIcon(QIcon(QString::fromLatin1(button.image)));
        toolBar_->addAction(action);
    }

    QToolBar* channelBar = addToolBar(QString());
    fixInTopRow(channelBar);
    channelBar->setObjectName("channelBar");
    auto* channel = new QComboBox(channelBar);
    channel->setObjectName("channel");
    // The keys belong to the keyboard: a click or Tab never leaves the list focused, where
    // the space bar would open it over the upper keys. The mouse still chooses, the wheel
    // still turns it.
    channel->setFocusPolicy(Qt::NoFocus);
    for (int number = 1; number <= kChannelCount; ++number) {
        channel->addItem(QString::number(number));
    }
    // Nothing is selected, and a choice changes nothing: every note stays on channel 0.
    channel->setCurrentIndex(-1);
    channel->setMinimumWidth(
        channel->fontMetrics().averageCharWidth() * kChannelListDialogUnits / kDialogUnitsPerCharacter);
    channelBar->addWidget(channel);
}

void CMainFrame::CreateStatusBar(LockKeySource& locks)
{
    QStatusBar* bar = statusBar();
    bar->setObjectName("statusBar");
    // A normal widget is hidden while a prompt is shown, so this is the idle text.
    auto* idle = new QLabel(LoadResourceString(AFX_IDS_IDLEMESSAGE), bar);
    idle->setObjectName("idleMessage");
    bar->addWidget(idle, 1);
    std::array<QLabel*, kLockKeyCount> panes {};
    for (int i = 0; i < kLockKeyCount; ++i) {
        auto* pane = new QLabel(bar);
        pane->setObjectName(kIndicatorPanes[i].objectName);
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        pane->setAlignment(Qt::AlignCenter);
        // Sized for its text, so the panes stay put while the locks come and go.
        pane->setMinimumWidth(
            pane->fontMetrics().horizontalAdvance(LoadResourceString(kIndicatorPanes[i].textId)) + kIndicatorPadding);
        bar->addPermanentWidget(pane);
        panes[i] = pane;
    }
    const auto refresh = [&locks, panes] {
        const LockKeys on = locks.ReadLockKeys();
        for (int i = 0; i < kLockKeyCount; ++i) {
            panes[i]->setText(on[i] ? LoadResourceString(kIndicatorPanes[i].textId) : QString());
        }
    };
    refresh();
    locks.WatchChanges(refresh);
}

void CMainFrame::ConnectCommands(AppState& state)
{
    const auto handle = [this](int id, auto handler) {
        QAction* action = CommandAction(id);
        action->setEnabled(true);
        connect(action, &QAction::triggered, this, handler);
    };
    handle(ID_APP_EXIT, [this] { close(); });
    handle(ID_MIDI_PLAY, [&state] { OnPlay(state); });
    handle(ID_MIDI_REC, [&state] { OnRec(state); });
    // Recording and playing run on the tick, so a resting clock runs again for them.
    for (const int id : { ID_MIDI_PLAY, ID_MIDI_REC }) {
        connect(CommandAction(id), &QAction::triggered, this, [this] { view_->Clock().Run(); });
    }
    handle(ID_MIDI_STOP, [&state] { OnStop(state); });

    QAction* toggleToolBar = CommandAction(ID_VIEW_TOOLBAR);
    QAction* toggleStatusBar = CommandAction(ID_VIEW_STATUS_BAR);
    for (QAction* toggle : { toggleToolBar, toggleStatusBar }) {
        toggle->setCheckable(true);
        toggle->setChecked(true);
        toggle->setEnabled(true);
    }
    connect(toggleToolBar, &QAction::toggled, toolBar_, &QToolBar::setVisible);
    connect(toggleStatusBar, &QAction::toggled, statusBar(), &QStatusBar::setVisible);
    // The About command belongs to the application, which connects it; it is always there.
    CommandAction(ID_APP_ABOUT)->setEnabled(true);
}

void CMainFrame::keyPressEvent(QKeyEvent* event)
{
    // Keys a focused child left unhandled travel up to the frame in Qt; only a key sent
    // to the frame itself shows the box.
    if (focusWidget() == nullptr || focusWidget() == this) {
        view_->ShowMessage("NULL");
    }
    QMainWindow::keyPressEvent(event);
}
