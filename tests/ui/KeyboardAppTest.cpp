#include <QAction>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <csignal>
#include <filesystem>

#include "UiFixture.h"
#include "support/ModalCloser.h"
#include "timer/TickTimer.h"
#include "ui/AboutBox.h"
#include "ui/KeyboardApp.h"
#include "ui/KeyboardPainter.h"
#include "ui/KeyboardView.h"
#include "ui/MainFrame.h"
#include "ui/Resources.h"
#include "ui/SignalQuitter.h"

namespace {

class KeyboardAppTest : public UiFixture {
protected:
    KeyboardAppTest()
    {
        KeyboardReaders readers { std::make_unique<FakeKeyboard>(), std::make_unique<FakeLockKeys>() };
        app = std::make_unique<CKeyboardApp>(
            std::make_unique<RecordingMidiDevice>(sent), std::move(readers), QStringLiteral("FluidSynth 9.9.9"));
    }
    ~KeyboardAppTest() override { std::filesystem::current_path(startDirectory); }

    std::filesystem::path startDirectory = std::filesystem::current_path();
    std::unique_ptr<CKeyboardApp> app;
};

TEST_F(KeyboardAppTest, StartUpReadsTheListBesideTheExecutableAndShowsTheFrame)
{
    // The list was copied beside the test program, which is run from elsewhere.
    std::filesystem::current_path("/");
    ASSERT_TRUE(app->InitInstance());
    EXPECT_EQ(InstrumentLabel(app->State()), "Acoustic Grand Piano");
    app->State().program = 127;
    EXPECT_EQ(InstrumentLabel(app->State()), "Gunshot");
    ASSERT_NE(app->Frame(), nullptr);
    EXPECT_TRUE(app->Frame()->isVisible());
    EXPECT_EQ(app->State().keys[23].note, 83); // the state was reset
    EXPECT_NE(g_timerId.load(), 0u);
    // No program change before the first space bar or click.
    EXPECT_TRUE(sent->empty());
}

TEST_F(KeyboardAppTest, ShutDownStopsTheTimerWithTheViewThenReleasesSoundingKeys)
{
    app->InitInstance();
    SetKeyState(app->State(), app->Frame()->View(), 0, 1);
    SetKeyState(app->State(), app->Frame()->View(), 15, 1);
    sent->clear();
    app->ExitInstance();
    EXPECT_EQ(app->Frame(), nullptr);
    EXPECT_EQ(g_timerId.load(), 0u);
    EXPECT_EQ(g_tickTarget.load(), nullptr);
    EXPECT_EQ(*sent, (std::vector { NoteOn(60, 0), NoteOn(75, 0) }));
    // A second shut-down, as the destructor runs one, sends nothing more.
    app.reset();
    EXPECT_EQ(sent->size(), 2u);
}

TEST_F(KeyboardAppTest, RunEndsWhenTheLoopQuitsAndShutsDown)
{
    app->InitInstance();
    SetKeyState(app->State(), app->Frame()->View(), 4, 1);
    QTimer::singleShot(0, [] { QCoreApplication::quit(); });
    EXPECT_EQ(app->Run(), 0);
    EXPECT_EQ(app->Frame(), nullptr);
    EXPECT_EQ(sent->back(), NoteOn(64, 0));
}

TEST_F(KeyboardAppTest, AboutCommandShowsTheAboutBox)
{
    app->InitInstance();
    ModalCloser closer;
    app->Frame()->CommandAction(ID_APP_ABOUT)->trigger();
    EXPECT_TRUE(closer.closed);
    EXPECT_EQ(closer.caption, "Tavoのﾊﾞｰｼﾞｮﾝ情報");
}

TEST(AboutBoxTest, ShowsIconVersionLibrariesAndOk)
{
    CAboutBox about(LibraryVersionsLine("FluidSynth 2.3.1"));
    EXPECT_EQ(about.windowTitle(), "Tavoのﾊﾞｰｼﾞｮﾝ情報");
    EXPECT_FALSE(about.findChild<QLabel*>("icon")->pixmap().isNull());
    EXPECT_EQ(about.findChild<QLabel*>("version")->text(), "Tavo Version 1.0");
    EXPECT_EQ(about.findChild<QLabel*>("libraries")->text(),
        QStringLiteral("Qt %1, FluidSynth 2.3.1").arg(QString::fromLatin1(qVersion())));
    const auto buttons = about.findChild<QDialogButtonBox*>()->buttons();
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_EQ(buttons[0]->text(), "OK");
    EXPECT_EQ(LibraryVersionsLine(""), QStringLiteral("Qt %1").arg(QString::fromLatin1(qVersion())));
}

TEST(SignalQuitterTest, TerminateAndInterruptQuitTheEventLoop)
{
    // Without the quitter either signal would end the test program.
    for (const int signal : { SIGTERM, SIGINT }) {
        SignalQuitter quitter;
        ASSERT_TRUE(quitter.IsActive());
        QTimer::singleShot(0, [signal] { std::raise(signal); });
        EXPECT_EQ(QCoreApplication::exec(), 0) << signal;
    }
}

TEST(SignalQuitterTest, PreviousHandlingComesBack)
{
    struct sigaction before { };
    sigaction(SIGTERM, nullptr, &before);
    {
        SignalQuitter quitter;
        struct sigaction during { };
        sigaction(SIGTERM, nullptr, &during);
        EXPECT_NE(during.sa_handler, before.sa_handler);
    }
    struct sigaction after { };
    sigaction(SIGTERM, nullptr, &after);
    EXPECT_EQ(after.sa_handler, before.sa_handler);
}

}
