#include <sstream>

#include <QGuiApplication>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include "platform/keys/KeyboardReaders.h"

namespace {

// The program on Qt's offscreen platform, where no X server is read, with one window of
// its own that has the focus. The application outlives every test (see main below).
class QtKeyEventStateTest : public ::testing::Test {
protected:
    QtKeyEventStateTest()
    {
        readers = CreateKeyboardReaders(notices);
        window.show();
        window.requestActivate();
        QGuiApplication::processEvents();
    }

    std::uint16_t ReadOnNextTick(int virtualKey)
    {
        readers.keys->Refresh();
        return readers.keys->GetAsyncKeyState(virtualKey);
    }

    std::ostringstream notices;
    KeyboardReaders readers;
    QWindow window;
};

TEST_F(QtKeyEventStateTest, ProgramWithoutX11SaysItReadsItsOwnKeyEvents)
{
    const std::string notice = notices.str();
    EXPECT_EQ(notice.rfind("tavo: ", 0), 0U) << notice;
    EXPECT_NE(notice.find("offscreen"), std::string::npos) << notice;
    EXPECT_NE(notice.find("own key events"), std::string::npos) << notice;
    ASSERT_NE(readers.locks, nullptr);
    const LockKeys locks = readers.locks->ReadLockKeys();
    EXPECT_FALSE(locks.capsLock || locks.numLock || locks.scrollLock || locks.kana);
}

TEST_F(QtKeyEventStateTest, HeldKeyReadsDownOnEveryQueryAndUpAfterRelease)
{
    QTest::keyPress(&window, Qt::Key_A);
    EXPECT_NE(ReadOnNextTick('A'), 0);
    EXPECT_NE(ReadOnNextTick('A'), 0);
    QTest::keyRelease(&window, Qt::Key_A);
    EXPECT_EQ(ReadOnNextTick('A'), 0);
}

TEST_F(QtKeyEventStateTest, TapBetweenTwoTicksReadsDownOnceAndKeepsOtherKeysMemory)
{
    QTest::keyClick(&window, Qt::Key_A);
    QTest::keyClick(&window, Qt::Key_S);
    EXPECT_NE(ReadOnNextTick('A'), 0);
    EXPECT_EQ(readers.keys->GetAsyncKeyState('A'), 0);
    EXPECT_NE(readers.keys->GetAsyncKeyState('S'), 0);
    EXPECT_EQ(ReadOnNextTick('S'), 0);
}

TEST_F(QtKeyEventStateTest, AutoRepeatReleaseDoesNotLiftAHeldKey)
{
    QTest::keyPress(&window, Qt::Key_A);
    EXPECT_NE(ReadOnNextTick('A'), 0);
    QTest::simulateEvent(&window, false, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"), true);
    EXPECT_NE(ReadOnNextTick('A'), 0);
}

TEST_F(QtKeyEventStateTest, SpaceAndKeypadOneAreReadButTheDigitRowIsNot)
{
    QTest::keyPress(&window, Qt::Key_1);
    EXPECT_EQ(ReadOnNextTick(kVkNumpad1), 0);
    EXPECT_EQ(readers.keys->GetAsyncKeyState('1'), 0);
    QTest::keyPress(&window, Qt::Key_1, Qt::KeypadModifier);
    QTest::keyPress(&window, Qt::Key_Space);
    EXPECT_NE(ReadOnNextTick(kVkNumpad1), 0);
    EXPECT_NE(readers.keys->GetAsyncKeyState(kVkSpace), 0);
    QTest::keyRelease(&window, Qt::Key_1, Qt::KeypadModifier);
    EXPECT_EQ(ReadOnNextTick(kVkNumpad1), 0);
}

TEST_F(QtKeyEventStateTest, LosingTheFocusReleasesEveryKey)
{
    QTest::keyPress(&window, Qt::Key_A);
    QTest::keyPress(&window, Qt::Key_Space);
    EXPECT_NE(ReadOnNextTick('A'), 0);
    EXPECT_NE(readers.keys->GetAsyncKeyState(kVkSpace), 0);
    // What Qt tells the application when another program takes the focus (the offscreen
    // platform never does so by itself); the releases that follow go to that program.
    QApplicationStateChangeEvent lostFocus(Qt::ApplicationInactive);
    QCoreApplication::sendEvent(QCoreApplication::instance(), &lostFocus);
    EXPECT_EQ(ReadOnNextTick('A'), 0);
    EXPECT_EQ(readers.keys->GetAsyncKeyState(kVkSpace), 0);
    QApplicationStateChangeEvent regainedFocus(Qt::ApplicationActive);
    QCoreApplication::sendEvent(QCoreApplication::instance(), &regainedFocus);
    QTest::keyClick(&window, Qt::Key_A);
    EXPECT_NE(ReadOnNextTick('A'), 0);
}

}

// Qt's test input devices must go before the application does, which a static
// application would not guarantee.
int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
