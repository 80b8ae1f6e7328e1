#include "ui/KeyboardApp.h"

#include <QApplication>

#include <filesystem>
#include <ostream>
#include <string>

#include "names/InstrumentNames.h"
#include "platform/files/ExecutablePath.h"
#include "ui/AboutBox.h"
#include "ui/KeyboardView.h"
#include "ui/MainFrame.h"
#include "ui/Resources.h"
#include "ui/WaysOut.h"

CKeyboardApp::CKeyboardApp(KeyboardReaders readers, std::function<QString()> synthesizerVersion)
    : state_(nullptr)
    , readers_(std::move(readers))
    , synthesizerVersion_(std::move(synthesizerVersion))
{
}

CKeyboardApp::~CKeyboardApp()
{
    CloseOutput();
}

void CKeyboardApp::InitInstance(std::ostream& notices)
{
    SetWorkingDirToExe(ExecutablePath());
    if (!ReadTextFile(kNameListFile, state_.nameText)) {
        std::error_code ignored;
        notices << "tavo: no instrument names: cannot read " << kNameListFile << " in "
                << std::filesystem::current_path(ignored).string() << "; the instrument box shows \"" << kNoData
                << "\"\n";
    }
    ResetAppState(state_);

    frame_ = std::make_unique<CMainFrame>(state_, *readers_.keys, random_, timer_, *readers_.locks);
    QObject::connect(frame_->CommandAction(ID_APP_ABOUT), &QAction::triggered, frame_.get(), [this] {
        CAboutBox about(synthesizerVersion_(), frame_.get());
        about.exec();
    });
}

void CKeyboardApp::ShowWindow(std::unique_ptr<MidiDevice> device)
{
    state_.midiOut = MidiOutPort(std::move(device));
    frame_->show();
    frame_->View().setFocus();
    state_.midiOut.OnWindowShown();
}

int CKeyboardApp::Run()
{
    const int loopResult = QApplication::exec();
    // The frame goes first, and the timer with it, so no tick plays a note once the
    // keys are released.
    frame_.reset();
    ReleaseSoundingKeys(state_);
    return loopResult;
}

void CKeyboardApp::ReleaseAndCloseOutput()
{
    ReleaseSoundingKeys(state_);
    CloseOutput();
}

void CKeyboardApp::CloseOutput()
{
    RunWithin(kOutputCloseAllowance,
        "tavo: the MIDI output did not close within " + std::to_string(kOutputCloseAllowance.count())
            + " s; exiting without it",
        [this] { state_.midiOut.Close(); });
}
