#pragma once

#include <QApplication>
#include <QPoint>
#include <QString>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "StampingMidiDevice.h"
#include "XvfbServer.h"
#include "ui/KeyboardApp.h"

// Tavo's application object in this process, as the program runs it: a private Xvfb,
// Qt on its xcb platform, the real keyboard readers and the real event loop, with a
// time-stamping MIDI device in place of a synthesizer. Message boxes are closed as soon
// as they open, and their texts kept. A second thread (the bench's injector) drives it
// through the X server and OnUiThread.
class InProcessTavo {
public:
    // Main thread, once. Starts the server, the QApplication and InitInstance.
    InProcessTavo(int& argc, char** argv);
    ~InProcessTavo();
    InProcessTavo(const InProcessTavo&) = delete;
    InProcessTavo& operator=(const InProcessTavo&) = delete;

    const std::string& DisplayName() const { return xvfb_.DisplayName(); }
    // What CreateKeyboardReaders said when it had to fall back; empty for X11 with XInput2.
    const std::string& KeyboardNotices() const { return keyboardNotices_; }
    StampingMidiDevice& Device() { return *device_; }

    // Main thread: the event loop, until Quit.
    void Run();
    // Any thread.
    void Quit();

    // Injector thread: runs `work` on the UI thread and returns once it has run.
    void OnUiThread(const std::function<void(CKeyboardApp&)>& work);
    // Injector thread: waits until the main window is exposed on the server.
    bool WaitForWindow(std::chrono::milliseconds allowance);
    // Injector thread: where a point of the keyboard view lies on the screen.
    QPoint ViewPointOnScreen(QPoint viewPoint);
    // Any thread: the texts of the message boxes closed so far.
    std::vector<QString> ClosedBoxes() const;

private:
    void CloseOpenBox();

    XvfbServer xvfb_;
    std::unique_ptr<QApplication> application_;
    std::string keyboardNotices_;
    StampingMidiDevice* device_ = nullptr;
    std::unique_ptr<CKeyboardApp> app_;
    std::unique_ptr<QTimer> boxCloser_;
    mutable std::mutex boxesMutex_;
    std::vector<QString> closedBoxes_;
};
