#include <QAction>
#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <csignal>
#include <map>
#include <memory>
#include <vector>

#include "core/TickProcedure.h"
#include "support/FakeKeyboard.h"
#include "support/FakeLockKeys.h"
#include "support/RecordingMidiDevice.h"
#include "timer/TickTimer.h"
#include "ui/KeyboardApp.h"
#include "ui/MainFrame.h"
#include "ui/Resources.h"
#include "ui/SignalQuitter.h"

namespace {

using namespace std::chrono_literals;

// The whole application object with its real timer thread, interrupted at awkward
// moments of playback; the keyboard is a fake nobody touches.
class ShutdownFaultTest : public testing::Test {
protected:
    ShutdownFaultTest()
    {
        g_tickCount = 0;
        g_spaceLatch = 0;
        KeyboardReaders readers { std::make_unique<FakeKeyboard>(), std::make_unique<FakeLockKeys>() };
        app = std::make_unique<CKeyboardApp>(
            std::make_unique<RecordingMidiDevice>(sent), std::move(readers), QStringLiteral("FluidSynth"));
        app->InitInstance();
    }

    // Runs `act` on the UI thread once `ready` holds, checking every few milliseconds.
    void When(std::function<bool()> ready, std::function<void()> act)
    {
        auto* poll = new QTimer(app->Frame());
        QObject::connect(poll, &QTimer::timeout, poll, [poll, ready = std::move(ready), act = std::move(act)] {
            if (ready()) {
                poll->stop();
                act();
            }
        });
        poll->start(2);
    }

    // Notes whose last message was a note-on with a velocity above 0.
    std::vector<int> NotesLeftSounding() const
    {
        std::map<int, bool> sounding;
        for (const std::uint32_t message : *sent) {
            if ((message & 0xF0) == 0x90) {
                sounding[(message >> 8) & 0x7F] = ((message >> 16) & 0x7F) != 0;
            }
        }
        std::vector<int> notes;
        for (const auto& [note, on] : sounding) {
            if (on) {
                notes.push_back(note);
            }
        }
        return notes;
    }

    void TriggerPlay() { app->Frame()->CommandAction(ID_MIDI_PLAY)->trigger(); }

    std::shared_ptr<std::vector<std::uint32_t>> sent = std::make_shared<std::vector<std::uint32_t>>();
    std::unique_ptr<CKeyboardApp> app;
    SignalQuitter quitter;
};

TEST_F(ShutdownFaultTest, TerminateSignalDuringPlaybackReleasesThePlayedNotes)
{
    AppState& state = app->State();
    state.log[0] = { 0, 1, 1 };
    state.log[1] = { 4, 1, 1 };
    state.log[2] = { 0, 0, 1'000'000 };
    TriggerPlay();
    When([&state] { return state.keys[0].down == 1 && state.keys[4].down == 1; }, [] { std::raise(SIGTERM); });
    EXPECT_EQ(app->Run(), 0);
    EXPECT_EQ(state.mode, TransportMode::ModePlay);
    EXPECT_TRUE(NotesLeftSounding().empty());
    EXPECT_EQ(g_timerId.load(), 0u);
}

TEST_F(ShutdownFaultTest, WindowClosedWhilePlayEndIsOpenShutsDownOnceTheBoxCloses)
{
    // An empty log: the first tick of playback ends it with the modal "PLAY END!" box.
    TriggerPlay();
    When([] { return QApplication::activeModalWidget() != nullptr; },
        [this] {
            app->Frame()->close();
            QTimer::singleShot(20ms, [] {
                if (QWidget* box = QApplication::activeModalWidget()) {
                    box->close();
                }
            });
        });
    EXPECT_EQ(app->Run(), 0);
    EXPECT_EQ(app->Frame(), nullptr);
    EXPECT_EQ(g_timerId.load(), 0u);
    EXPECT_EQ(g_tickPending.load(), 0);
}

TEST_F(ShutdownFaultTest, TerminateSignalWhilePlayEndIsOpenEndsTheProgram)
{
    TriggerPlay();
    When([] { return QApplication::activeModalWidget() != nullptr; }, [] { std::raise(SIGTERM); });
    EXPECT_EQ(app->Run(), 0);
    EXPECT_EQ(app->Frame(), nullptr);
    EXPECT_EQ(g_timerId.load(), 0u);
}

}
