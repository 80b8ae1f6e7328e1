// The window on Qt's offscreen platform: the view, the frame, the About box, the application.
#include <QtTest>
#include <QtWidgets>

#include <csignal>
#include <filesystem>

#include <fcntl.h>
#include <unistd.h>

#include "platform/keys/KeyboardReaders.h"
#include "support/FreshInstrument.h"
#include "ui/KeyboardApp.h"
#include "ui/KeyboardPainter.h"
#include "ui/KeyboardView.h"
#include "ui/MainFrame.h"
#include "ui/Resources.h"
#include "ui/WaysOut.h"

namespace {

// Lock toggles a test sets by hand, telling of each change.
struct FakeLockKeys final : LockKeySource {
    LockKeys ReadLockKeys() override { return locks; }
    void WatchChanges(std::function<void()> changed) override { tell = std::move(changed); }
    void Set(LockKeys set) { locks = set, tell(); }
    LockKeys locks;
    std::function<void()> tell;
};

// A timer that never ticks; it can refuse to start, as without a fine enough timer.
struct FakeTimer final : PeriodicTimerService {
    bool StartPeriodic(unsigned, Callback) override { return running = canStart; }
    bool StopPeriodic() override { return std::exchange(running, false); }
    bool canStart = true, running = false;
};

template <typename Item> QStringList TextsOf(const QList<Item*>& items)
{
    QStringList texts;
    for (const Item* item : items)
        texts << item->text();
    return texts;
}

// Runs act and closes the modal dialog it opens, once the events act queued have run:
// the dialog's caption and the texts of its labels; empty when none opened.
QStringList DialogOpenedBy(const std::function<void()>& act)
{
    QStringList seen;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&seen] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            seen = QStringList { dialog->windowTitle() } + TextsOf(dialog->findChildren<QLabel*>());
            seen.removeAll(QString());
            dialog->accept();
        }
    });
    poll.start(0);
    act();
    QCoreApplication::processEvents();
    return seen;
}

// A freshly started instrument for the window's tests, with fakes around it.
class UiFixture : public FreshInstrument {
protected:
    FakeLockKeys locks;
    FakeTimer timer;
};

struct PaintCounter : QObject {
    bool eventFilter(QObject*, QEvent* event) override { return (paints += event->type() == QEvent::Paint, false); }
    int paints = 0;
};

class KeyboardViewTest : public UiFixture {
protected:
    KeyboardViewTest() { view.emplace(state, keyboard, random, timer).resize(view->sizeHint()); }
    QColor Pixel(int x, int y) { return view->grab().toImage().pixelColor(x, y); }

    std::optional<CKeyboardView> view;
};

TEST_F(KeyboardViewTest, DrawsTheKeysThePressedOnesTheNameAndTheCountersWhileRecordingOrPlaying)
{
    state.keys[1].down = 1;
    EXPECT_EQ(Pixel(50, 250), Qt::black); // the column keys 0 and 2 share
    EXPECT_EQ(Pixel(45, 100), kPressedColour); // key 1, over keys 0 and 2
    EXPECT_EQ(Pixel(45, 160), Qt::white); // key 0 below key 1
    EXPECT_EQ(Pixel(700, 250), Qt::black); // the right edge of key 23
    EXPECT_EQ(Pixel(400, 10), kTextBackground); // the name's box
    EXPECT_NE(Pixel(3, 340), kTextBackground);
    state.mode = TransportMode::ModePlay;
    state.recFrame = 7;
    // The counter's box and text, drawn again over the view's own, change no pixel.
    const QImage shown = view->grab().toImage();
    QImage expected = shown;
    QPainter painter(&expected);
    painter.setFont(FitLabelFont(view->font()));
    const QString counter = "RECFRAME:7";
    painter.fillRect(QRect(kRecFramePosition, painter.fontMetrics().size(0, counter)), kTextBackground);
    painter.drawText(kRecFramePosition + QPoint(0, painter.fontMetrics().ascent()), counter);
    EXPECT_EQ(shown, expected);
}

TEST_F(KeyboardViewTest, TheLeftButtonPlaysAndShowsItAtOnceAndALetGoAnywhereReleases)
{
    view->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&*view));
    QTest::mouseClick(&*view, Qt::RightButton, {}, QPoint(25, 250));
    EXPECT_TRUE(sent->empty());
    PaintCounter counter;
    view->installEventFilter(&counter);
    QTest::mousePress(&*view, Qt::LeftButton, {}, QPoint(25, 250));
    EXPECT_EQ(*sent, (std::vector { ProgramChange(41), NoteOn(60, 127) })); // the first instrument drawn
    EXPECT_EQ(std::exchange(counter.paints, 0), 1); // before the event loop runs again
    QTest::mouseRelease(&*view, Qt::LeftButton, {}, QPoint(-40, 900)); // outside the view
    EXPECT_EQ(sent->back(), NoteOn(60, 0));
    EXPECT_EQ(counter.paints, 1);
    // Through the window, where Qt turns a quick second press into a double-click.
    QTest::mouseDClick(view->windowHandle(), Qt::LeftButton, {}, QPoint(25, 250));
    EXPECT_EQ(std::count(sent->begin(), sent->end(), NoteOn(60, 0)), 3);
}

TEST_F(KeyboardViewTest, TheTimerStopsWithTheViewAndATimerThatCannotStartIsReported)
{
    view.reset();
    EXPECT_FALSE(timer.running);
    timer.canStart = false;
    EXPECT_EQ(DialogOpenedBy([&] { view.emplace(state, keyboard, random, timer); }),
        (QStringList { "Tavo", "SetMMTimerError" }));
}

// The fake keyboard, with its key events coming down a pipe: the keys are at rest once
// the tick has read them.
struct PipeKeyboard final : FakeKeyboard {
    PipeKeyboard() { pipe2(ends, O_NONBLOCK); }
    ~PipeKeyboard() override { close(ends[0]), close(ends[1]); }
    int RestWakeDescriptor() const override { return ends[0]; }
    bool KeysAtRest() override { return read(ends[0], drained, sizeof drained), true; }
    void KeyEvent() { write(ends[1], "k", 1); }
    int ends[2];
    char drained[16];
};

class MainFrameTest : public UiFixture {
protected:
    // Found as the user finds it: by the text of its menu item.
    QAction* Command(const QString& text) const
    {
        for (QAction* action : frame.findChildren<QAction*>(Qt::FindDirectChildrenOnly))
            if (action->text() == text)
                return action;
        throw std::runtime_error("no command " + text.toStdString());
    }
    QStringList StatusBarTexts() const { return TextsOf(frame.statusBar()->findChildren<QLabel*>()); }

    PipeKeyboard pipeKeyboard;
    CMainFrame frame { state, pipeKeyboard, random, timer, locks };
};

TEST_F(MainFrameTest, ExactlyTheCommandsWithAHandlerAreEnabledAndDoWhatTheirMenuItemsSay)
{
    QList<QAction*> actions = frame.findChildren<QAction*>(Qt::FindDirectChildrenOnly);
    actions.removeIf([](const QAction* action) { return !action->isEnabled(); });
    QStringList enabled = TextsOf(actions);
    enabled.sort();
    EXPECT_EQ(enabled,
        (QStringList { "PLAY", "REC", "STOP", "Tavo のﾊﾞｰｼﾞｮﾝ情報(&A)...", "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)", "ｽﾃｰﾀｽ ﾊﾞｰ(&S)",
            "ﾂｰﾙ ﾊﾞｰ(&T)" }));
    frame.show();
    for (const auto& [command, mode] : { std::pair { "REC", ModeRec }, { "STOP", ModeStop }, { "PLAY", ModePlay } }) {
        Command(command)->trigger();
        EXPECT_EQ(state.mode, mode) << command;
    }
    for (const bool shown : { false, true }) {
        Command("ﾂｰﾙ ﾊﾞｰ(&T)")->trigger();
        EXPECT_EQ(frame.findChild<QToolBar*>("toolBar")->isVisible(), shown);
        Command("ｽﾃｰﾀｽ ﾊﾞｰ(&S)")->trigger();
        EXPECT_EQ(frame.statusBar()->isVisible(), shown);
        EXPECT_EQ(Command("ｽﾃｰﾀｽ ﾊﾞｰ(&S)")->isChecked(), shown);
    }
    for (const QToolBar* bar : frame.findChildren<QToolBar*>()) { // one fixed row at the top
        EXPECT_FALSE(bar->isFloatable());
        EXPECT_EQ(bar->allowedAreas(), Qt::TopToolBarArea);
    }
    Command("ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)")->trigger();
    EXPECT_FALSE(frame.isVisible());
}

TEST_F(MainFrameTest, TheTimerSleepsWhileNothingCanChangeAndAKeyEventAClickOrRecWakesIt)
{
    const auto tick = [this] { frame.View().PostTick(), QCoreApplication::processEvents(); };
    for (int flush = 0; flush < kFirstPollingTick; ++flush) {
        tick();
    }
    EXPECT_FALSE(timer.running);
    pipeKeyboard.Press('A');
    pipeKeyboard.KeyEvent();
    EXPECT_TRUE(QTest::qWaitFor([this] { return !sent->empty(); }));
    EXPECT_EQ(*sent, std::vector { NoteOn(60, 127) }) << "the key event's tick ran at once";
    EXPECT_TRUE(timer.running) << "a held key keeps the steady tick";
    pipeKeyboard.Release('A');
    tick();
    EXPECT_FALSE(timer.running);
    QTest::mousePress(&frame.View(), Qt::LeftButton, {}, QPoint(25, 250));
    EXPECT_TRUE(timer.running) << "the next tick's poll releases the clicked key";
    tick();
    EXPECT_FALSE(timer.running);
    Command("REC")->trigger();
    EXPECT_TRUE(timer.running) << "recording runs on the tick";
}

// Moved with the rule from the core: the clock rests only stopped after the flush with
// nothing sounding or held.
TEST_F(MainFrameTest, TheClockRestsOnlyStoppedAfterTheFlushWithNothingSoundingOrHeld)
{
    const auto rests = [this] { return frame.View().Clock().AfterTick(), !TickTimerRuns(); };
    for (int flush = 0; flush < kFirstPollingTick - 2; ++flush) {
        frame.View().PostTick(), QCoreApplication::processEvents();
    }
    EXPECT_FALSE(rests()) << "the flush is not over";
    frame.View().PostTick(), QCoreApplication::processEvents();
    EXPECT_TRUE(rests());
    state.keys[23].down = 1; // sounding from playback
    EXPECT_FALSE(rests());
    state.keys[23].down = 0;
    g_spaceLatch = 1;
    EXPECT_FALSE(rests());
    g_spaceLatch = 0;
    OnRec(state);
    EXPECT_FALSE(rests()) << "recording runs on the tick";
    OnStop(state);
    EXPECT_TRUE(rests());
}

TEST_F(MainFrameTest, TheStatusBarShowsReadyPromptsAndTheLocks)
{
    EXPECT_EQ(StatusBarTexts(), (QStringList { "ﾚﾃﾞｨ", "", "", "", "" }));
    Command("切り取り(&T)\tCtrl+X")->showStatusText(&frame); // as its highlighted menu item does
    EXPECT_EQ(frame.statusBar()->currentMessage(), "選択範囲を切り取ってｸﾘｯﾌﾟﾎﾞｰﾄﾞに保存");
    locks.Set({ true, true, false, true });
    const QStringList expected { "ﾚﾃﾞｨ", "ｶﾅ", "CAP", "", "SCRL" };
    EXPECT_TRUE(QTest::qWaitFor([&] { return StatusBarTexts() == expected; })) << StatusBarTexts().join('|').data();
}

TEST_F(MainFrameTest, KeypadOneOnTheViewShowsTheLetterAAndAKeySentToTheFrameItselfShowsNull)
{
    const auto typed = [](QWidget* to, auto... key) { return DialogOpenedBy([&] { QTest::keyClick(to, key...); }); };
    EXPECT_EQ(typed(&frame.View(), Qt::Key_1, Qt::KeypadModifier), (QStringList { "Tavo", "a" }));
    EXPECT_EQ(typed(&frame.View(), Qt::Key_1), QStringList {});
    EXPECT_EQ(typed(&frame, Qt::Key_B), (QStringList { "Tavo", "NULL" }));
}

TEST_F(MainFrameTest, TheMessagePaneIsBlankOverPlayRecStopAndPrintAndReadyOtherwise)
{
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    const QLabel* ready = frame.statusBar()->findChild<QLabel*>("idleMessage");
    const auto paneShows
        = [&] { return ready->isVisible() ? ready->text() : frame.statusBar()->currentMessage().trimmed(); };
    QMenu* midi = frame.menuBar()->actions().last()->menu();
    midi->popup(frame.mapToGlobal(QPoint()));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(midi));
    for (QAction* command : midi->actions()) {
        QTest::mouseMove(midi, midi->actionGeometry(command).center());
        EXPECT_EQ(paneShows(), "") << command->text().toStdString();
    }
    midi->hide();
    EXPECT_EQ(paneShows(), "ﾚﾃﾞｨ");
    QTest::mouseMove(frame.findChild<QToolBar*>("toolBar")->widgetForAction(frame.CommandAction(ID_FILE_PRINT)));
    EXPECT_EQ(paneShows(), "");
    QTest::mouseMove(&frame.View());
    EXPECT_EQ(paneShows(), "ﾚﾃﾞｨ");
}

// The whole application object, with its real timer thread.
class KeyboardAppTest : public UiFixture {
protected:
    CKeyboardApp& Start()
    {
        std::filesystem::current_path("/"); // away from the test program, beside which the name list is
        app.emplace(KeyboardReaders { std::make_unique<FakeKeyboard>(), std::make_unique<FakeLockKeys>() },
            [] { return QStringLiteral("FluidSynth 9.9.9"); });
        app->InitInstance();
        EXPECT_FALSE(app->Frame()->isVisible()) << "a window before the output opened";
        app->ShowWindow(std::make_unique<RecordingMidiDevice>(sent));
        return *app;
    }

    std::optional<CKeyboardApp> app;
};

TEST_F(KeyboardAppTest, StartUpReadsTheNameListBesideTheExecutableAndShowsTheWindowWithItsAboutBox)
{
    Start();
    EXPECT_GE(app->Frame()->View().width(), 701);
    EXPECT_GE(app->Frame()->View().height(), 380);
    EXPECT_EQ(InstrumentLabel(app->State()), "Acoustic Grand Piano");
    EXPECT_TRUE(sent->empty()); // no program change before the first space bar or click
    EXPECT_EQ(DialogOpenedBy([&] { app->Frame()->CommandAction(ID_APP_ABOUT)->trigger(); }),
        (QStringList {
            "Tavoのﾊﾞｰｼﾞｮﾝ情報", "Tavo Version 1.0", QStringLiteral("Qt %1, FluidSynth 9.9.9").arg(qVersion()) }));
}

// Playback of keys 0 and 4, cut short at awkward moments: the program ends, stops its
// timer and releases the two notes, once.
TEST_F(KeyboardAppTest, InterruptedPlaybackEndsAndReleasesItsNotes)
{
    struct Case {
        const char* name;
        bool playEnd; // the log ends after the two presses
        std::function<void()> act;
    } const cases[] = {
        { "interrupt while playing", false, [] { std::raise(SIGINT); } },
        { "terminate while PLAY END! is open", true, [] { std::raise(SIGTERM); } },
        { "window closed while PLAY END! is open", true,
            [this] {
                app->Frame()->close();
                QTimer::singleShot(20, [] { QApplication::activeModalWidget()->close(); });
            } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WaysOut quitter;
        AppState& state = Start().State();
        state.log[0] = { 0, 1, 1 };
        state.log[1] = { 4, 1, 1 };
        state.log[2] = c.playEnd ? LogEvent { LOG_END, 0, 0 } : LogEvent { 0, 0, 1'000'000 };
        app->Frame()->CommandAction(ID_MIDI_PLAY)->trigger();
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (state.keys[4].down == 1 && (!c.playEnd || QApplication::activeModalWidget())) {
                poll.stop();
                c.act();
            }
        });
        poll.start(2);
        sent->clear();
        EXPECT_EQ(app->Run(), 0);
        EXPECT_FALSE(TickTimerRuns());
        app.reset();
        EXPECT_EQ(*sent, (std::vector { NoteOn(60, 127), NoteOn(64, 127), NoteOn(60, 0), NoteOn(64, 0) }));
    }
}

}

// Replaces GoogleTest's main: the window needs a QApplication.
int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
