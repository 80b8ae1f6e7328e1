#include "ui/KeyboardApp.h"

#include <QApplication>

#include "names/InstrumentNames.h"
#include "platform/files/ExecutablePath.h"
#include "ui/AboutBox.h"
#include "ui/KeyboardView.h"
#include "ui/MainFrame.h"
#include "ui/Resources.h"

CKeyboardApp::CKeyboardApp(std::unique_ptr<MidiDevice> device, KeyboardReaders readers, QString synthesizerVersion)
    : state_(std::move(device))
    , readers_(std::move(readers))
    , synthesizerVersion_(std::move(synthesizerVersion))
{
}

CKeyboardApp::~CKeyboardApp()
{
    ExitInstance();
}

bool CKeyboardApp::InitInstance()
{
    SetWorkingDirToExe(ExecutablePath());
    state_.nameText.fill('\0');
    ReadTextFile(kNameListFile, state_.nameText);
    ResetAppState(state_);

    frame_ = std::make_unique<CMainFrame>(state_, *readers_.keys, random_, timer_, *readers_.locks);
    QObject::connect(frame_->CommandAction(ID_APP_ABOUT), &QAction::triggered, frame_.get(), [this] { OnAppAbout(); });
    frame_->setWindowIcon(ApplicationIcon());
    frame_->show();
    frame_->View().setFocus();
    return true;
}

int CKeyboardApp::Run()
{
    const int loopResult = QApplication::exec();
    const int exitResult = ExitInstance();
    return loopResult != 0 ? loopResult : exitResult;
}

int CKeyboardApp::ExitInstance()
{
    frame_.reset();
    ReleaseSoundingKeys(state_);
    return 0;
}

void CKeyboardApp::OnAppAbout()
{
    CAboutBox about(LibraryVersionsLine(synthesizerVersion_), frame_.get());
    about.exec();
}
