#include "InProcessTavo.h"

#include <QMessageBox>
#include <QWindow>

#include <cstdlib>
#include <sstream>
#include <thread>

#include "platform/keys/KeyboardReaders.h"
#include "ui/KeyboardView.h"
#include "ui/MainFrame.h"

namespace {

using namespace std::chrono_literals;

// Room for the whole window, which is wider than Xvfb's default screen.
constexpr const char* kScreen = "1024x768x24";
// Boxes are looked for this often; a box open a few milliseconds longer only delays
// the tick that opened it, which no figure counts.
constexpr auto kBoxLookInterval = 5ms;

}

InProcessTavo::InProcessTavo(int& argc, char** argv)
    : xvfb_(kScreen)
{
    setenv("DISPLAY", xvfb_.DisplayName().c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    application_ = std::make_unique<QApplication>(argc, argv);
    auto device = std::make_unique<StampingMidiDevice>();
    device_ = device.get();
    std::ostringstream notices;
    KeyboardReaders readers = CreateKeyboardReaders(notices);
    keyboardNotices_ = notices.str();
    app_ = std::make_unique<CKeyboardApp>(std::move(device), std::move(readers), QString());
    device_->WatchRecFrame(app_->State().recFrame);
    app_->InitInstance();
    boxCloser_ = std::make_unique<QTimer>();
    QObject::connect(boxCloser_.get(), &QTimer::timeout, [this] { CloseOpenBox(); });
    boxCloser_->start(kBoxLookInterval);
}

InProcessTavo::~InProcessTavo()
{
    boxCloser_.reset();
    app_.reset();
}

void InProcessTavo::Run()
{
    QApplication::exec();
}

void InProcessTavo::Quit()
{
    QMetaObject::invokeMethod(application_.get(), &QCoreApplication::quit, Qt::QueuedConnection);
}

void InProcessTavo::OnUiThread(const std::function<void(CKeyboardApp&)>& work)
{
    QMetaObject::invokeMethod(
        application_.get(), [&] { work(*app_); }, Qt::BlockingQueuedConnection);
}

bool InProcessTavo::WaitForWindow(std::chrono::milliseconds allowance)
{
    const auto giveUp = BenchClock::now() + allowance;
    for (;;) {
        bool exposed = false;
        OnUiThread([&](CKeyboardApp& app) {
            const QWindow* window = app.Frame()->windowHandle();
            exposed = window != nullptr && window->isExposed();
        });
        if (exposed) {
            return true;
        }
        if (BenchClock::now() >= giveUp) {
            return false;
        }
        std::this_thread::sleep_for(20ms);
    }
}

QPoint InProcessTavo::ViewPointOnScreen(QPoint viewPoint)
{
    QPoint onScreen;
    OnUiThread([&](CKeyboardApp& app) { onScreen = app.Frame()->View().mapToGlobal(viewPoint); });
    return onScreen;
}

std::vector<QString> InProcessTavo::ClosedBoxes() const
{
    std::lock_guard lock(boxesMutex_);
    return closedBoxes_;
}

// Runs in the box's own event loop, so the tick that opened it goes on at once.
void InProcessTavo::CloseOpenBox()
{
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) {
        return;
    }
    {
        std::lock_guard lock(boxesMutex_);
        closedBoxes_.push_back(box->text());
    }
    box->accept();
}
