#include <QImage>
#include <QKeyEvent>
#include <QTest>

#include <cstring>

#include "UiFixture.h"
#include "support/ModalCloser.h"
#include "timer/TickTimer.h"
#include "ui/KeyboardPainter.h"
#include "ui/KeyboardView.h"

namespace {

const QColor kWhite(255, 255, 255);
const QColor kBlack(0, 0, 0);

class KeyboardViewFixture : public UiFixture {
protected:
    KeyboardViewFixture() { view.resize(view.sizeHint()); }

    QImage Render() { return view.grab().toImage(); }
    static QColor Pixel(const QImage& image, int x, int y) { return image.pixelColor(x, y); }

    void SetNameText(const char* text) { std::strcpy(state.nameText.data(), text); }

    CKeyboardView view { state, keyboard, random, timer };
};

using KeyboardViewPaintTest = KeyboardViewFixture;

TEST_F(KeyboardViewPaintTest, UnpressedWhiteKeyIsWhiteInsideWithABlackOutline)
{
    const QImage image = Render();
    EXPECT_EQ(Pixel(image, 25, 250), kWhite);
    EXPECT_EQ(Pixel(image, 0, 250), kBlack); // left column
    EXPECT_EQ(Pixel(image, 25, 299), kBlack); // bottom row is bottom - 1
    EXPECT_EQ(Pixel(image, 1, 298), kWhite);
    EXPECT_NE(Pixel(image, 25, 300), kBlack); // below the key: background
}

TEST_F(KeyboardViewPaintTest, KeysZeroAndTwoShareTheBorderColumnAtFifty)
{
    const QImage image = Render();
    EXPECT_EQ(Pixel(image, 49, 250), kWhite);
    EXPECT_EQ(Pixel(image, 50, 250), kBlack);
    EXPECT_EQ(Pixel(image, 51, 250), kWhite);
    // Key 23, the last white key, ends on column 700.
    EXPECT_EQ(Pixel(image, 700, 250), kBlack);
    EXPECT_EQ(Pixel(image, 699, 250), kWhite);
}

TEST_F(KeyboardViewPaintTest, BlackKeysAreDrawnOverTheWhiteOnes)
{
    const QImage image = Render();
    // Key 1 spans 30..59 and 0..159, over keys 0 and 2 and their shared column.
    EXPECT_EQ(Pixel(image, 45, 100), kBlack);
    EXPECT_EQ(Pixel(image, 35, 150), kBlack);
    EXPECT_EQ(Pixel(image, 55, 158), kBlack);
    EXPECT_EQ(Pixel(image, 45, 170), kWhite); // below it, key 0 again
    EXPECT_EQ(Pixel(image, 45, 160), kWhite);
}

TEST_F(KeyboardViewPaintTest, PressedKeysTakeThePressedColourInsideTheirOutline)
{
    state.keys[0].down = 1;
    state.keys[1].down = 1;
    state.keys[23].down = 1;
    const QImage image = Render();
    EXPECT_EQ(Pixel(image, 25, 250), kPressedColour);
    EXPECT_EQ(Pixel(image, 0, 250), kBlack);
    EXPECT_EQ(Pixel(image, 45, 100), kPressedColour);
    EXPECT_EQ(Pixel(image, 30, 100), kBlack); // the black key's own outline
    EXPECT_EQ(Pixel(image, 690, 250), kPressedColour);
    // Key 2, not pressed, stays white between the pressed keys.
    EXPECT_EQ(Pixel(image, 75, 250), kWhite);
    // A pressed white key does not show through an unpressed black key.
    state.keys[1].down = 0;
    EXPECT_EQ(Pixel(Render(), 45, 100), kBlack);
}

TEST_F(KeyboardViewPaintTest, NameBoxIsCyanFromItsTopLeftCorner)
{
    const QImage image = Render();
    EXPECT_EQ(Pixel(image, 400, 10), kTextBackground);
    EXPECT_NE(Pixel(image, 399, 10), kTextBackground);
    EXPECT_NE(Pixel(image, 400, 9), kTextBackground);
    const QFontMetrics metrics(view.LabelFont());
    const int boxWidth = metrics.horizontalAdvance(QStringLiteral("nodata"));
    EXPECT_EQ(Pixel(image, 400 + boxWidth - 1, 10 + metrics.height() - 1), kTextBackground);
    EXPECT_NE(Pixel(image, 400 + boxWidth, 10), kTextBackground);
    EXPECT_NE(Pixel(image, 400, 10 + metrics.height()), kTextBackground);
}

TEST_F(KeyboardViewPaintTest, CountersAreDrawnOnlyWhileRecordingOrPlaying)
{
    const auto cyanPixelsLeftOfTheName = [](const QImage& image) {
        int inside = 0;
        int outside = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < 400; ++x) {
                if (image.pixelColor(x, y) == kTextBackground) {
                    (kCounterArea.Contains(x, y) ? inside : outside) += 1;
                }
            }
        }
        return std::pair(inside, outside);
    };
    EXPECT_EQ(cyanPixelsLeftOfTheName(Render()), std::pair(0, 0));

    for (const TransportMode mode : { TransportMode::ModeRec, TransportMode::ModePlay }) {
        state.mode = mode;
        // The widest values the counters can take must still fit their area.
        state.logFrame = INT32_MAX;
        state.recFrame = INT32_MAX;
        const QImage image = Render();
        EXPECT_EQ(Pixel(image, 3, 300), kTextBackground);
        EXPECT_EQ(Pixel(image, 3, 340), kTextBackground);
        const auto [inside, outside] = cyanPixelsLeftOfTheName(image);
        EXPECT_GT(inside, 0);
        EXPECT_EQ(outside, 0);
    }
}

TEST_F(KeyboardViewPaintTest, LabelIsTheProgramsLineDecodedOrNodata)
{
    SetNameText("Acoustic Grand Piano\r\n\xB1\xBA\xB0\xBD\r\n\r\nLast\r\n");
    EXPECT_EQ(InstrumentLabel(state), "Acoustic Grand Piano");
    state.program = 1;
    EXPECT_EQ(InstrumentLabel(state), "ｱｺｰｽ");
    state.program = 2;
    EXPECT_EQ(InstrumentLabel(state), "nodata"); // an empty line
    state.program = 4;
    EXPECT_EQ(InstrumentLabel(state), "nodata"); // the empty tail after the last CR LF
    state.program = 5;
    EXPECT_EQ(InstrumentLabel(state), "nodata"); // no line at all
}

using KeyboardViewMouseTest = KeyboardViewFixture;

TEST_F(KeyboardViewMouseTest, PressOnTheSharedColumnPlaysKeyZero)
{
    QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(50, 200));
    EXPECT_EQ(NotesSent(), std::vector { NoteOn(60, 127) });
    EXPECT_EQ(ProgramChangesSent(), 1);
    EXPECT_EQ(state.keys[0].down, 1);
    EXPECT_EQ(Pixel(Render(), 25, 250), kPressedColour);
}

TEST_F(KeyboardViewMouseTest, UpperPartOfKeyOnePlaysTheBlackKey)
{
    QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(45, 100));
    EXPECT_EQ(NotesSent(), std::vector { NoteOn(61, 127) });
}

TEST_F(KeyboardViewMouseTest, PressesPastTheLowerOctaveOrBelowTheKeysOnlyChangeTheInstrument)
{
    QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(350, 200));
    EXPECT_EQ(NotesSent(), std::vector { NoteOn(71, 127) }); // x = 350 is still key 11
    QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(350, 200));
    sent->clear();

    for (const QPoint point : { QPoint(351, 200), QPoint(500, 100), QPoint(100, 300), QPoint(10, 379) }) {
        QTest::mousePress(&view, Qt::LeftButton, {}, point);
        QTest::mouseRelease(&view, Qt::LeftButton, {}, point);
    }
    EXPECT_TRUE(NotesSent().empty());
    EXPECT_EQ(ProgramChangesSent(), 4);
}

TEST_F(KeyboardViewMouseTest, ReleaseAnywhereReleasesTheLowerOctaveOnly)
{
    state.keys[14].down = 1; // held by a letter, above the mouse's reach
    QTest::mousePress(&view, Qt::LeftButton, {}, QPoint(120, 250));
    QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(-40, 900)); // let go outside the view
    EXPECT_EQ(NotesSent(), (std::vector { NoteOn(64, 127), NoteOn(64, 0) }));
    EXPECT_EQ(state.keys[4].down, 0);
    EXPECT_EQ(state.keys[14].down, 1);
    EXPECT_EQ(Pixel(Render(), 125, 250), kWhite);
}

TEST_F(KeyboardViewMouseTest, RightButtonDoesNothing)
{
    QTest::mousePress(&view, Qt::RightButton, {}, QPoint(25, 250));
    QTest::mouseRelease(&view, Qt::RightButton, {}, QPoint(25, 250));
    EXPECT_TRUE(sent->empty());
}

TEST_F(KeyboardViewMouseTest, QuickSecondClickPlaysOnceMore)
{
    // Through the window system, so Qt turns the second press into a double-click.
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    QTest::mouseDClick(view.windowHandle(), Qt::LeftButton, {}, QPoint(25, 250));
    EXPECT_EQ(NotesSent(), (std::vector { NoteOn(60, 127), NoteOn(60, 0), NoteOn(60, 127), NoteOn(60, 0) }));
    EXPECT_EQ(ProgramChangesSent(), 2);
}

using KeyboardViewKeyTest = KeyboardViewFixture;

TEST_F(KeyboardViewKeyTest, KeypadOneShowsTheLetterA)
{
    ModalCloser closer;
    QTest::keyClick(&view, Qt::Key_1, Qt::KeypadModifier);
    EXPECT_TRUE(closer.closed);
    EXPECT_EQ(closer.caption, "Tavo");
    EXPECT_EQ(closer.text, "a");
    EXPECT_EQ(closer.buttons, 1);
}

TEST_F(KeyboardViewKeyTest, OtherKeysShowNothingAndGoNoFurther)
{
    for (const Qt::Key key : { Qt::Key_1, Qt::Key_A, Qt::Key_Space, Qt::Key_F1 }) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(&view, &press);
        EXPECT_TRUE(press.isAccepted());
    }
    EXPECT_TRUE(sent->empty());
}

using KeyboardViewTickTest = KeyboardViewFixture;

TEST_F(KeyboardViewTickTest, TimerRunsForTheViewsLifeAndTicksReachTheTickProcedure)
{
    EXPECT_TRUE(timer.running);
    EXPECT_EQ(g_tickTarget.load(), &view);

    // The tick that polls: a held A sounds key 0 and the pending flag is cleared.
    g_tickCount = kFirstPollingTick - 1;
    keyboard.Press('A');
    SetTickPending(1);
    ASSERT_TRUE(g_tickTarget.load()->PostTick());
    QCoreApplication::processEvents();
    EXPECT_EQ(g_tickCount, kFirstPollingTick);
    EXPECT_EQ(g_tickPending.load(), 0);
    EXPECT_EQ(NotesSent(), std::vector { NoteOn(60, 127) });
    EXPECT_EQ(Pixel(Render(), 25, 250), kPressedColour);
}

TEST(KeyboardViewLifeTest, DestroyingTheViewStopsTheTimerAndDropsQueuedTicks)
{
    AppState state(std::make_unique<NullMidiDevice>());
    ResetAppState(state);
    FakeKeyboard keyboard;
    CrtRandom random;
    FakePeriodicTimer timer;
    auto view = std::make_unique<CKeyboardView>(state, keyboard, random, timer);
    EXPECT_TRUE(timer.running);
    EXPECT_NE(g_timerId.load(), 0u);

    view->PostTick();
    const std::int32_t ticksBefore = g_tickCount;
    view.reset();
    EXPECT_FALSE(timer.running);
    EXPECT_EQ(g_timerId.load(), 0u);
    EXPECT_EQ(g_tickTarget.load(), nullptr);
    QCoreApplication::processEvents();
    EXPECT_EQ(g_tickCount, ticksBefore);
}

TEST(KeyboardViewLifeTest, ATimerThatCannotStartIsReported)
{
    AppState state(std::make_unique<NullMidiDevice>());
    ResetAppState(state);
    FakeKeyboard keyboard;
    CrtRandom random;
    FakePeriodicTimer timer;
    timer.canStart = false;
    ModalCloser closer;
    CKeyboardView view(state, keyboard, random, timer);
    EXPECT_FALSE(closer.closed); // not from inside the constructor
    QCoreApplication::processEvents();
    EXPECT_TRUE(closer.closed);
    EXPECT_EQ(closer.text, "SetMMTimerError");
}

}
