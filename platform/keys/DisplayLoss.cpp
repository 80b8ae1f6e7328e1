#include "platform/keys/DisplayLoss.h"

#include <QGuiApplication>
#include <QThread>

#include <unistd.h>
#include <xcb/xcb.h>

#include <cstdio>

namespace {

std::function<void()> g_finish;
QtMessageHandler g_previousHandler = nullptr;
bool g_finishing = false;

// Qt's xcb platform exits from inside the event loop once its connection breaks, and the
// warning it prints just before is the only notice it gives: whatever Qt says on the UI
// thread over a broken connection is that end, whatever its words.
bool QtConnectionBroke()
{
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr && QThread::currentThread() == qGuiApp->thread()
        && xcb_connection_has_error(x11->connection()) != 0;
}

void FilterQtMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (!g_finishing && QtConnectionBroke()) {
        ExitOnDisplayLoss();
    }
    g_previousHandler(type, context, message);
}

}

DisplayLossExit::DisplayLossExit(std::function<void()> finish)
{
    g_finish = std::move(finish);
    g_previousHandler = qInstallMessageHandler(&FilterQtMessage);
}

DisplayLossExit::~DisplayLossExit()
{
    qInstallMessageHandler(g_previousHandler);
    g_finish = nullptr;
}

void ExitOnDisplayLoss()
{
    // A second break while finishing (another connection noticing) ends at once.
    if (!g_finishing) {
        g_finishing = true;
        if (g_finish) {
            g_finish();
        }
        std::fputs("tavo: the connection to the X server broke; the sounding notes were released\n", stderr);
        std::fflush(stderr);
    }
    _exit(1);
}
