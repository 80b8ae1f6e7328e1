#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include "UiFixture.h"
#include "support/ModalCloser.h"
#include "ui/FrameStatusBar.h"
#include "ui/KeyboardView.h"
#include "ui/MainFrame.h"
#include "ui/Resources.h"

namespace {

struct ItemSeen {
    QString text;
    bool enabled;
    friend bool operator==(const ItemSeen&, const ItemSeen&) = default;
    friend std::ostream& operator<<(std::ostream& out, const ItemSeen& item)
    {
        return out << '"' << item.text.toStdString() << '"' << (item.enabled ? "" : " (disabled)");
    }
};

class MainFrameTest : public UiFixture {
protected:
    QList<QMenu*> Menus() const
    {
        QList<QMenu*> menus;
        for (QAction* action : frame.menuBar()->actions()) {
            menus << action->menu();
        }
        return menus;
    }
    static std::vector<ItemSeen> Items(const QList<QAction*>& actions)
    {
        std::vector<ItemSeen> items;
        for (const QAction* action : actions) {
            items.push_back({ action->isSeparator() ? QStringLiteral("-") : action->text(), action->isEnabled() });
        }
        return items;
    }
    QToolBar* Bar(const char* name) const { return frame.findChild<QToolBar*>(name); }
    QString IndicatorText(const char* name) const { return frame.findChild<QLabel*>(name)->text(); }

    CMainFrame frame { state, keyboard, random, timer, locks };
};

TEST_F(MainFrameTest, MenusCarryTheirCaptionsItemsAndMnemonics)
{
    const QList<QMenu*> menus = Menus();
    ASSERT_EQ(menus.size(), 5);
    QStringList titles;
    for (const QMenu* menu : menus) {
        titles << menu->title();
    }
    EXPECT_EQ(titles, (QStringList { "ﾌｧｲﾙ(&F)", "編集(&E)", "表示(&V)", "ﾍﾙﾌﾟ(&H)", "MIDI" }));

    EXPECT_EQ(Items(menus[0]->actions()), (std::vector<ItemSeen> { { "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)", true } }));
    EXPECT_EQ(Items(menus[1]->actions()),
        (std::vector<ItemSeen> { { "元に戻す(&U)\tCtrl+Z", false }, { "-", true }, { "切り取り(&T)\tCtrl+X", false },
            { "ｺﾋﾟｰ(&C)\tCtrl+C", false }, { "貼り付け(&P)\tCtrl+V", false } }));
    EXPECT_EQ(
        Items(menus[2]->actions()), (std::vector<ItemSeen> { { "ﾂｰﾙ ﾊﾞｰ(&T)", true }, { "ｽﾃｰﾀｽ ﾊﾞｰ(&S)", true } }));
    EXPECT_EQ(Items(menus[3]->actions()), (std::vector<ItemSeen> { { "Tavo のﾊﾞｰｼﾞｮﾝ情報(&A)...", true } }));
    EXPECT_EQ(
        Items(menus[4]->actions()), (std::vector<ItemSeen> { { "PLAY", true }, { "REC", true }, { "STOP", true } }));
}

TEST_F(MainFrameTest, AcceleratorsBelongToTheirDisabledCommands)
{
    const auto shortcutsOf = [this](int id) { return frame.CommandAction(id)->shortcuts(); };
    EXPECT_EQ(shortcutsOf(ID_EDIT_COPY), (QList<QKeySequence> { QKeySequence("Ctrl+C"), QKeySequence("Ctrl+Ins") }));
    EXPECT_EQ(shortcutsOf(ID_EDIT_PASTE), (QList<QKeySequence> { QKeySequence("Ctrl+V"), QKeySequence("Shift+Ins") }));
    EXPECT_EQ(
        shortcutsOf(ID_EDIT_UNDO), (QList<QKeySequence> { QKeySequence("Alt+Backspace"), QKeySequence("Ctrl+Z") }));
    EXPECT_EQ(shortcutsOf(ID_EDIT_CUT), (QList<QKeySequence> { QKeySequence("Shift+Del"), QKeySequence("Ctrl+X") }));
    EXPECT_EQ(shortcutsOf(ID_NEXT_PANE), (QList<QKeySequence> { QKeySequence("F6") }));
    EXPECT_EQ(shortcutsOf(ID_PREV_PANE), (QList<QKeySequence> { QKeySequence("Shift+F6") }));
    for (const int id : { ID_EDIT_COPY, ID_EDIT_PASTE, ID_EDIT_UNDO, ID_EDIT_CUT, ID_NEXT_PANE, ID_PREV_PANE }) {
        EXPECT_FALSE(frame.CommandAction(id)->isEnabled()) << id;
    }
    // Commands with a handler carry no accelerator.
    for (const int id : { ID_MIDI_PLAY, ID_MIDI_REC, ID_MIDI_STOP, ID_APP_EXIT, ID_APP_ABOUT }) {
        EXPECT_TRUE(frame.CommandAction(id)->shortcuts().isEmpty()) << id;
    }
}

TEST_F(MainFrameTest, ToolbarHasItsButtonsWithOnlyAboutEnabled)
{
    QToolBar* toolBar = Bar("toolBar");
    ASSERT_NE(toolBar, nullptr);
    EXPECT_EQ(toolBar->iconSize(), QSize(16, 15));
    std::vector<ItemSeen> buttons;
    for (QAction* action : toolBar->actions()) {
        if (action->isSeparator()) {
            buttons.push_back({ "-", true });
            continue;
        }
        EXPECT_FALSE(action->icon().pixmap(16, 15).isNull());
        buttons.push_back({ toolBar->widgetForAction(action)->toolTip(), action->isEnabled() });
    }
    // Print has no string, so no tool tip.
    EXPECT_EQ(buttons,
        (std::vector<ItemSeen> { { "切り取り", false }, { "ｺﾋﾟｰ", false }, { "貼り付け", false }, { "-", true },
            { "", false }, { "-", true }, { "ﾊﾞｰｼﾞｮﾝ情報", true } }));
}

TEST_F(MainFrameTest, ChannelBarSitsBesideTheToolbarWithSixteenChannelsAndNoSelection)
{
    QToolBar* toolBar = Bar("toolBar");
    QToolBar* channelBar = Bar("channelBar");
    ASSERT_NE(channelBar, nullptr);
    EXPECT_EQ(frame.toolBarArea(toolBar), Qt::TopToolBarArea);
    EXPECT_EQ(frame.toolBarArea(channelBar), Qt::TopToolBarArea);
    EXPECT_FALSE(frame.toolBarBreak(channelBar));
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    EXPECT_EQ(channelBar->y(), toolBar->y());
    EXPECT_GT(channelBar->x(), toolBar->x());

    auto* channel = frame.findChild<QComboBox*>("channel");
    ASSERT_NE(channel, nullptr);
    QStringList items;
    for (int i = 0; i < channel->count(); ++i) {
        items << channel->itemText(i);
    }
    EXPECT_EQ(
        items, (QStringList { "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "15", "16" }));
    EXPECT_EQ(channel->currentIndex(), -1);
    // Choosing a channel changes nothing: notes stay on channel 0.
    channel->setCurrentIndex(4);
    QTest::mousePress(&frame.View(), Qt::LeftButton, {}, QPoint(25, 250));
    EXPECT_EQ(NotesSent(), std::vector { NoteOn(60, 127) });
}

TEST_F(MainFrameTest, WindowIsTitledAndShowsTheWholeKeyboard)
{
    EXPECT_EQ(frame.windowTitle(), "Tavo");
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    EXPECT_GE(frame.View().width(), 701);
    EXPECT_GE(frame.View().height(), 380);
}

TEST_F(MainFrameTest, StatusBarIsIdleAndShowsACommandsPromptWhileItIsHighlighted)
{
    EXPECT_EQ(frame.findChild<QLabel*>("idleMessage")->text(), "ﾚﾃﾞｨ");
    QAction* cut = frame.CommandAction(ID_EDIT_CUT);
    EXPECT_EQ(cut->statusTip(), "選択範囲を切り取ってｸﾘｯﾌﾟﾎﾞｰﾄﾞに保存");
    cut->showStatusText(&frame);
    EXPECT_EQ(frame.statusBar()->currentMessage(), "選択範囲を切り取ってｸﾘｯﾌﾟﾎﾞｰﾄﾞに保存");
    EXPECT_EQ(frame.CommandAction(ID_APP_EXIT)->statusTip(), "ｱﾌﾟﾘｹｰｼｮﾝを終了し、ﾌｧｲﾙの保存を指示");
    EXPECT_EQ(frame.CommandAction(ID_VIEW_TOOLBAR)->statusTip(), "ﾂｰﾙ ﾊﾞｰの 表示/非表示");
}

TEST_F(MainFrameTest, IndicatorPanesShowTheirTextWhileTheirLockIsOn)
{
    const char* names[] = { "indicatorKana", "indicatorCaps", "indicatorNum", "indicatorScrl" };
    for (const char* name : names) {
        EXPECT_EQ(IndicatorText(name), "") << name;
    }
    locks.locks = { true, true, true, true };
    static_cast<FrameStatusBar*>(frame.statusBar())->RefreshIndicators();
    EXPECT_EQ(IndicatorText("indicatorKana"), "ｶﾅ");
    EXPECT_EQ(IndicatorText("indicatorCaps"), "CAP");
    EXPECT_EQ(IndicatorText("indicatorNum"), "NUM");
    EXPECT_EQ(IndicatorText("indicatorScrl"), "SCRL");
    locks.locks = { false, true, false, false };
    static_cast<FrameStatusBar*>(frame.statusBar())->RefreshIndicators();
    EXPECT_EQ(IndicatorText("indicatorKana"), "");
    EXPECT_EQ(IndicatorText("indicatorCaps"), "CAP");
    EXPECT_EQ(IndicatorText("indicatorNum"), "");
}

TEST_F(MainFrameTest, MidiMenuDrivesTheTransport)
{
    state.logFrame = 5;
    frame.CommandAction(ID_MIDI_REC)->trigger();
    EXPECT_EQ(state.mode, TransportMode::ModeRec);
    EXPECT_EQ(state.logFrame, 0);
    frame.CommandAction(ID_MIDI_STOP)->trigger();
    EXPECT_EQ(state.mode, TransportMode::ModeStop);
    frame.CommandAction(ID_MIDI_PLAY)->trigger();
    EXPECT_EQ(state.mode, TransportMode::ModePlay);
    frame.CommandAction(ID_MIDI_PLAY)->trigger(); // accepted in any mode
    EXPECT_EQ(state.mode, TransportMode::ModePlay);
}

TEST_F(MainFrameTest, BarTogglesHideAndShowTheirBarsWithACheckMark)
{
    frame.show();
    QAction* toggleToolBar = frame.CommandAction(ID_VIEW_TOOLBAR);
    QAction* toggleStatusBar = frame.CommandAction(ID_VIEW_STATUS_BAR);
    EXPECT_TRUE(toggleToolBar->isChecked());
    EXPECT_TRUE(toggleStatusBar->isChecked());
    toggleToolBar->trigger();
    EXPECT_FALSE(toggleToolBar->isChecked());
    EXPECT_TRUE(Bar("toolBar")->isHidden());
    EXPECT_FALSE(Bar("channelBar")->isHidden());
    toggleStatusBar->trigger();
    EXPECT_TRUE(frame.statusBar()->isHidden());
    toggleToolBar->trigger();
    toggleStatusBar->trigger();
    EXPECT_FALSE(Bar("toolBar")->isHidden());
    EXPECT_FALSE(frame.statusBar()->isHidden());
    EXPECT_TRUE(toggleToolBar->isChecked());
}

TEST_F(MainFrameTest, ExitClosesTheWindow)
{
    frame.show();
    ASSERT_TRUE(frame.isVisible());
    frame.CommandAction(ID_APP_EXIT)->trigger();
    EXPECT_FALSE(frame.isVisible());
}

TEST_F(MainFrameTest, KeyToTheFrameItselfShowsNull)
{
    ModalCloser closer;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier);
    QCoreApplication::sendEvent(&frame, &press);
    EXPECT_TRUE(closer.closed);
    EXPECT_EQ(closer.caption, "Tavo");
    EXPECT_EQ(closer.text, "NULL");
}

TEST_F(MainFrameTest, KeysLeftOverByAFocusedChildDoNotShowNull)
{
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    frame.findChild<QComboBox*>("channel")->setFocus();
    ModalCloser closer;
    QTest::keyClick(frame.findChild<QComboBox*>("channel"), Qt::Key_F7);
    QCoreApplication::processEvents();
    EXPECT_FALSE(closer.closed);
}

TEST_F(MainFrameTest, ChannelListChosenWithTheMouseLeavesTheKeysWithTheView)
{
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    auto* channel = frame.findChild<QComboBox*>("channel");
    QTest::mouseClick(channel, Qt::LeftButton);
    ASSERT_NE(QApplication::activePopupWidget(), nullptr);
    QAbstractItemView* list = channel->view();
    const QPoint ten = list->visualRect(channel->model()->index(9, 0)).center();
    QTest::mouseMove(list->viewport(), ten);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, ten);
    EXPECT_EQ(channel->currentText(), "10");
    for (const Qt::Key key : { Qt::Key_Space, Qt::Key_Tab, Qt::Key_Backtab, Qt::Key_Space }) {
        EXPECT_EQ(QApplication::focusWidget(), &frame.View()) << "before key " << key;
        QTest::keyClick(QApplication::focusWidget(), key);
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "after key " << key;
    }
}

TEST_F(MainFrameTest, BarsCanNeitherFloatNorDockAtAnotherEdge)
{
    for (const char* name : { "toolBar", "channelBar" }) {
        EXPECT_FALSE(Bar(name)->isFloatable()) << name;
        for (const Qt::ToolBarArea edge : { Qt::LeftToolBarArea, Qt::RightToolBarArea, Qt::BottomToolBarArea }) {
            EXPECT_FALSE(Bar(name)->isAreaAllowed(edge)) << name << " at " << edge;
        }
    }
}

TEST_F(MainFrameTest, MessagePaneIsBlankOverCommandsWithoutAPromptAndIdleOtherwise)
{
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    const QLabel* idle = frame.findChild<QLabel*>("idleMessage");
    const auto paneIsBlank
        = [&] { return !idle->isVisible() && frame.statusBar()->currentMessage().trimmed().isEmpty(); };
    QMenu* midi = frame.menuBar()->actions().last()->menu();
    midi->popup(frame.mapToGlobal(QPoint(0, 0)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(midi));
    for (QAction* command : midi->actions()) {
        QTest::mouseMove(midi, midi->actionGeometry(command).center());
        EXPECT_TRUE(paneIsBlank()) << command->text().toStdString();
    }
    midi->hide();
    EXPECT_TRUE(idle->isVisible());
    QToolBar* toolBar = Bar("toolBar");
    QTest::mouseMove(toolBar->widgetForAction(frame.CommandAction(ID_FILE_PRINT)));
    EXPECT_TRUE(paneIsBlank());
    QTest::mouseMove(&frame.View());
    EXPECT_TRUE(idle->isVisible());
}

}
