// The window on Qt's offscreen platform, looked at as the player sees it on the screen.
#include <QtTest>
#include <QtWidgets>

#include <csignal>

#include <fcntl.h>
#include <unistd.h>

#include "support/FreshInstrument.h"
#include "ui/KeyboardApp.h"
#include "ui/KeyboardPainter.h"
#include "ui/KeyboardView.h"
#include "ui/MainFrame.h"
#include "ui/Resources.h"
#include "ui/WaysOut.h"

namespace {

struct FakeLockKeys final : LockKeySource {
    LockKeys ReadLockKeys() override { return locks; }
    void WatchChanges(std::function<void()> changed) override { tell = std::move(changed); }
    LockKeys locks {};
    std::function<void()> tell;
};

// A timer whose ticks the test gives by hand; it can refuse to start, as without a fine enough timer.
struct FakeTimer final : PeriodicTimerService {
    bool StartPeriodic(unsigned, Callback) override { return running = canStart; }
    bool StopPeriodic() override { return std::exchange(running, false); }
    bool canStart = true, running = false;
};

// Key events come down a pipe; the keys are at rest once the tick has read them.
struct PipeKeyboard final : FakeKeyboard {
    PipeKeyboard() { pipe2(ends, O_NONBLOCK); }
    ~PipeKeyboard() override { close(ends[0]), close(ends[1]); }
    int RestWakeDescriptor() const override { return ends[0]; }
    bool KeysAtRest() override { return read(ends[0], drained, sizeof drained), true; }
    void KeyEvent() { write(ends[1], "k", 1); }
    int ends[2];
    char drained[16];
};

template <typename Item> QStringList TextsOf(const QList<Item*>& items)
{
    QStringList texts;
    for (const Item* item : items)
        texts << item->text();
    return texts;
}

// The caption and texts of the dialog act opens, closed once act's events ran; none when none opened.
QStringList DialogOpenedBy(const std::function<void()>& act)
{
    QStringList seen;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&seen] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            seen = QStringList { dialog->windowTitle() } + TextsOf(dialog->findChildren<QLabel*>());
            seen.removeAll(QString()), dialog->accept();
        }
    });
    poll.start(0), act(), QCoreApplication::processEvents();
    return seen;
}

// What the screen shows of the view as last painted, so a change it does not repaint does not show.
QImage Shown(const CKeyboardView& view)
{
    QCoreApplication::processEvents();
    const QPoint at = view.mapTo(view.window(), QPoint());
    return view.screen()->grabWindow(view.window()->winId(), at.x(), at.y(), view.width(), view.height()).toImage();
}

// Whether the view shows these labels (at their boxes' corners): drawn again over it, they change no pixel.
bool ShowsLabels(const CKeyboardView& view, std::initializer_list<std::pair<QPoint, QString>> labels)
{
    QImage shown = Shown(view), expected = shown;
    QPainter painter(&expected);
    painter.setFont(FitLabelFont(view.font()));
    const QFontMetrics metrics = painter.fontMetrics();
    for (const auto& [at, text] : labels) {
        painter.fillRect(QRect(at, QSize(metrics.horizontalAdvance(text), metrics.height())), kTextBackground);
        painter.drawText(at + QPoint(0, metrics.ascent()), text);
    }
    return painter.end(), !shown.isNull() && expected == shown;
}

class WindowTest : public FreshInstrument {
protected:
    WindowTest()
    {
        frame.emplace(state, pipeKeyboard, random, timer, locks).show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&*frame));
    }
    CKeyboardView& View() const { return frame->View(); }
    // What is sent in periods of the clock: a tick in each while the timer runs, none while it rests.
    Messages Periods(int count)
    {
        sent->clear();
        for (int i = 0; i < count; ++i)
            timer.running ? View().PostTick() : false, QCoreApplication::processEvents();
        return *sent;
    }
    // The keys as the screen shows them against reference/NAME.png, which TAVO_UPDATE_REFERENCE=1
    // writes instead. The name's band is blanked: its text is the font's, no taller than a counter line.
    void ExpectKeysLookLike(const QString& name)
    {
        const QRect keyArea(0, 0, state.keys[kKeyCount - 1].rect.right, state.keys[0].rect.bottom);
        QImage keys = Shown(View()).copy(keyArea).convertToFormat(QImage::Format_RGB32);
        QPainter(&keys).fillRect(
            QRect(kNamePosition, QSize(keyArea.width(), kRecFramePosition.y() - kLogFramePosition.y())), Qt::gray);
        const QString path = QStringLiteral(TAVO_UI_REFERENCE "/%1.png").arg(name);
        if (qEnvironmentVariableIsSet("TAVO_UPDATE_REFERENCE"))
            keys.save(path);
        EXPECT_TRUE(keys == QImage(path).convertToFormat(QImage::Format_RGB32)) << name.toStdString();
    }

    PipeKeyboard pipeKeyboard;
    FakeLockKeys locks;
    FakeTimer timer;
    std::optional<CMainFrame> frame;
};

TEST_F(WindowTest, TheKeysAtRestAndPressedLookLikeTheirPictures)
{
    ExpectKeysLookLike("keys-at-rest");
    for (const std::uint8_t key : { 4, 6, 11, 12 }) // white, black, and both sides of the octave seam
        SetKeyState(state, View(), key, 1);
    ExpectKeysLookLike("keys-pressed");
}

TEST_F(WindowTest, TheLeftButtonPlaysTheKeyUnderItToItsEdgesAndALetGoAnywhereReleases)
{
    QTest::mouseClick(&View(), Qt::RightButton, {}, QPoint(25, 250));
    EXPECT_TRUE(sent->empty());
    // Key 1 covers columns 30 to 59 and rows 0 to 159, over keys 0 and 2.
    for (const auto& [x, y, note] : { std::tuple { 29, 100, 60 }, { 30, 100, 61 }, { 59, 100, 61 }, { 60, 100, 62 },
             { 45, 159, 61 }, { 45, 160, 60 }, { 55, 160, 62 } }) {
        QTest::mousePress(&View(), Qt::LeftButton, {}, QPoint(x, y));
        QTest::mouseRelease(&View(), Qt::LeftButton, {}, QPoint(-40, 900)); // outside the view
        EXPECT_EQ(Messages(sent->end() - 2, sent->end()), (Messages { NoteOn(note, 127), NoteOn(note, 0) }))
            << x << "," << y;
    }
    EXPECT_TRUE(ShowsLabels(View(), { { kNamePosition, "nodata" } })) << "the empty list has no line for it";
    // Through the window, where Qt turns a quick second press into a double-click.
    sent->clear();
    QTest::mouseDClick(frame->windowHandle(), Qt::LeftButton, {}, View().mapTo(&*frame, QPoint(25, 250)));
    EXPECT_EQ(std::count(sent->begin(), sent->end(), NoteOn(60, 0)), 2);
}

TEST_F(WindowTest, ExactlyTheCommandsWithAHandlerAreEnabledAndDoWhatTheirMenuItemsSay)
{
    QList<QAction*> actions = frame->findChildren<QAction*>(Qt::FindDirectChildrenOnly);
    actions.removeIf([](const QAction* action) { return !action->isEnabled(); });
    EXPECT_EQ(TextsOf(actions),
        (QStringList { "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)", "ﾂｰﾙ ﾊﾞｰ(&T)", "ｽﾃｰﾀｽ ﾊﾞｰ(&S)", "Tavo のﾊﾞｰｼﾞｮﾝ情報(&A)...", "PLAY",
            "REC", "STOP" }));
    frame->CommandAction(ID_VIEW_TOOLBAR)->trigger(), frame->CommandAction(ID_VIEW_STATUS_BAR)->trigger();
    EXPECT_FALSE(frame->findChild<QToolBar*>("toolBar")->isVisible() || frame->statusBar()->isVisible()
        || frame->CommandAction(ID_VIEW_STATUS_BAR)->isChecked());
    frame->CommandAction(ID_APP_EXIT)->trigger();
    EXPECT_FALSE(frame->isVisible());
}

// Chosen with the mouse, the channel list keeps no focus: space and Tab open no list over the keys.
TEST_F(WindowTest, AChannelChosenWithTheMouseLeavesSpaceAndTabToTheKeyboard)
{
    auto* channel = frame->findChild<QComboBox*>("channel");
    QTest::mouseClick(channel, Qt::LeftButton);
    QAbstractItemView* list = channel->view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(list->window())) << "the channel list did not open";
    QTest::qWait(2 * QApplication::doubleClickInterval()); // a release sooner ends the click that opened it
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(9, 0)).center());
    ASSERT_EQ(channel->currentIndex(), 9) << "the click chose no channel";
    for (const Qt::Key key : { Qt::Key_Space, Qt::Key_Tab, Qt::Key_Space, Qt::Key_Backtab, Qt::Key_Space })
        QTest::keyClick(frame->windowHandle(), key);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "a list is open over the keys";
}

// A key, a click, a take and its playback, each through a clock that rested before it.
TEST_F(WindowTest, TheRestingClockRunsForAKeyEventAClickRecAndPlayAndPlaybackGoesToItsEndUntouched)
{
    Periods(kFirstPollingTick - 2);
    EXPECT_TRUE(timer.running) << "the start-up flush is not over";
    Periods(1);
    ASSERT_FALSE(timer.running);
    pipeKeyboard.Press('A'), pipeKeyboard.KeyEvent();
    EXPECT_TRUE(QTest::qWaitFor([this] { return !sent->empty(); })) << "the key event's tick runs at once";
    EXPECT_TRUE(timer.running) << "a held key keeps the steady tick";
    pipeKeyboard.Release('A'), Periods(1);
    ASSERT_FALSE(timer.running);
    QTest::mousePress(&View(), Qt::LeftButton, {}, QPoint(25, 250));
    EXPECT_EQ(Periods(1), Messages { NoteOn(60, 0) }) << "the next tick's poll releases the clicked key";
    QTest::mouseRelease(&View(), Qt::LeftButton, {}, QPoint(25, 250));
    ASSERT_FALSE(timer.running);
    EXPECT_FALSE(ShowsLabels(View(), { { kLogFramePosition, "LOGFRAME:0" }, { kRecFramePosition, "RECFRAME:0" } }))
        << "no counters while stopped";
    frame->CommandAction(ID_MIDI_REC)->trigger();
    ASSERT_EQ(state.mode, ModeRec);
    Periods(2), pipeKeyboard.Press('A'), Periods(3), pipeKeyboard.Release('A'), Periods(1);
    ASSERT_TRUE(ShowsLabels(View(), { { kLogFramePosition, "LOGFRAME:2" }, { kRecFramePosition, "RECFRAME:6" } }));
    frame->CommandAction(ID_MIDI_STOP)->trigger(), Periods(1);
    ASSERT_FALSE(timer.running);
    frame->CommandAction(ID_MIDI_PLAY)->trigger();
    EXPECT_EQ(Periods(3), Messages { NoteOn(60, 127) });
    EXPECT_TRUE(ShowsLabels(View(), { { kLogFramePosition, "LOGFRAME:1" }, { kRecFramePosition, "RECFRAME:3" } }))
        << "the press, on its frame";
    EXPECT_EQ(Periods(3), Messages { NoteOn(60, 0) });
    EXPECT_EQ(DialogOpenedBy([this] { Periods(1); }), (QStringList { "Tavo", "PLAY END!" }));
    EXPECT_FALSE(timer.running);
}

TEST_F(WindowTest, KeypadOneShowsAAKeySentToTheFrameItselfNullAndATimerThatCannotStartSetMMTimerError)
{
    const auto typed = [](QWidget* to, auto... key) { return DialogOpenedBy([&] { QTest::keyClick(to, key...); }); };
    EXPECT_EQ(typed(&View(), Qt::Key_1, Qt::KeypadModifier), (QStringList { "Tavo", "a" }));
    EXPECT_EQ(typed(&View(), Qt::Key_1), QStringList {});
    View().clearFocus();
    EXPECT_EQ(typed(&*frame, Qt::Key_B), (QStringList { "Tavo", "NULL" }));
    frame.reset();
    timer.canStart = false;
    EXPECT_EQ(DialogOpenedBy([&] { frame.emplace(state, pipeKeyboard, random, timer, locks); }),
        (QStringList { "Tavo", "SetMMTimerError" }));
}

TEST_F(WindowTest, TheStatusBarShowsReadyTheLocksAndThePromptOfAHoveredMenuItemEvenADisabledOne)
{
    const auto texts = [this] { return TextsOf(frame->statusBar()->findChildren<QLabel*>()); };
    EXPECT_EQ(texts(), (QStringList { "ﾚﾃﾞｨ", "", "", "", "" }));
    locks.locks = { true, true, false, true }, locks.tell();
    EXPECT_EQ(texts(), (QStringList { "ﾚﾃﾞｨ", "ｶﾅ", "CAP", "", "SCRL" }));
    const auto paneShows = [&, ready = frame->statusBar()->findChild<QLabel*>("idleMessage")] {
        return ready->isVisible() ? ready->text() : frame->statusBar()->currentMessage().trimmed();
    };
    for (const QAction* title : frame->menuBar()->actions()) {
        QMenu* menu = title->menu();
        menu->popup(frame->mapToGlobal(QPoint()));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
        for (QAction* command : menu->actions()) {
            QTest::mouseMove(menu, menu->actionGeometry(command).center());
            EXPECT_TRUE(command->isSeparator()
                || paneShows() == LoadResourceString(command->data().toInt()).section('\n', 0, 0))
                << command->text().toStdString();
        }
        menu->hide();
        EXPECT_EQ(paneShows(), "ﾚﾃﾞｨ");
    }
}

class KeyboardAppTest : public FreshInstrument {
protected:
    KeyboardAppTest()
    {
        QDir::setCurrent("/"); // away from the test program, beside which the name list is
        app.InitInstance();
        app.ShowWindow(std::make_unique<RecordingMidiDevice>(sent));
    }

    CKeyboardApp app { KeyboardReaders { std::make_unique<FakeKeyboard>(), std::make_unique<FakeLockKeys>() },
        [] { return QStringLiteral("FluidSynth 9.9.9"); } };
};

TEST_F(KeyboardAppTest, StartUpReadsTheNameListBesideTheExecutableAndShowsTheWindowWithItsAboutBox)
{
    EXPECT_TRUE(ShowsLabels(app.Frame()->View(), { { kNamePosition, "Acoustic Grand Piano" } }));
    EXPECT_TRUE(sent->empty()); // no program change before the first space bar or click
    const QStringList about = DialogOpenedBy([&] { app.Frame()->CommandAction(ID_APP_ABOUT)->trigger(); });
    EXPECT_EQ(about.mid(0, 2), (QStringList { "Tavoのﾊﾞｰｼﾞｮﾝ情報", "Tavo Version 1.0" }));
    EXPECT_TRUE(about.join('\n').contains("FluidSynth 9.9.9")) << "the synthesizer's version";
}

TEST_F(KeyboardAppTest, CtrlCWhileADialogIsOpenEndsTheProgramAndReleasesTheSoundingKeyOnce)
{
    WaysOut quitter;
    SetKeyState(app.State(), app.Frame()->View(), 0, 1);
    QTimer::singleShot(0, [this] {
        QTimer::singleShot(0, [] { std::raise(SIGINT); }); // once the About box is open
        app.Frame()->CommandAction(ID_APP_ABOUT)->trigger();
    });
    EXPECT_EQ(app.Run(), 0);
    EXPECT_FALSE(TickTimerRuns()) << "the timer stops with the window";
    EXPECT_EQ(*sent, (Messages { NoteOn(60, 127), NoteOn(60, 0) }));
}

}

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
