#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QKeyEvent>

#include "platform/keys/KeyboardReaders.h"
#include "platform/keys/PressedSinceMemory.h"

// On a Qt platform other than X11 the program reads the keys from its own key events:
// here on the offscreen platform, whatever $DISPLAY says.
TEST(QtKeyEventStateTest, KeysCountUntilTheProgramLosesTheFocus)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "platform_tests", *argv[] = { name };
    QGuiApplication application(argc, argv);
    std::ostringstream notices;
    KeyboardReaders readers = CreateKeyboardReaders(notices);
    EXPECT_NE(notices.str().find("own key events"), std::string::npos) << notices.str();
    QObject window;
    for (const auto& [type, key] : { std::pair(QEvent::KeyPress, Qt::Key_A), { QEvent::KeyPress, Qt::Key_S },
             { QEvent::KeyRelease, Qt::Key_S } }) {
        QKeyEvent event(type, key, Qt::NoModifier);
        QGuiApplication::sendEvent(&window, &event);
    }
    readers.keys->Refresh();
    EXPECT_NE(readers.keys->GetAsyncKeyState('A') & kKeyDownNowBit, 0);
    EXPECT_EQ(readers.keys->GetAsyncKeyState('S'), kKeyPressedSinceBit) << "a tap between two ticks";
    // Another program took the focus: the releases that follow go to it, never to us.
    QApplicationStateChangeEvent lostFocus(Qt::ApplicationInactive);
    QGuiApplication::sendEvent(&application, &lostFocus);
    EXPECT_EQ(readers.keys->GetAsyncKeyState('A'), 0);
}
