#include "platform/keys/DisplayLoss.h"

#include <QString>
#include <QtGlobal>

#include <unistd.h>

#include <cstdio>

namespace {

std::function<void()> g_finish;
QtMessageHandler g_previousHandler = nullptr;
bool g_finishing = false;

// Qt's xcb platform says this, and nothing else, just before it exits on a broken
// connection; it is the only notice Qt gives.
bool SaysTheConnectionBroke(QtMsgType type, const QString& message)
{
    return type == QtWarningMsg && message.startsWith(QLatin1String("The X11 connection broke"));
}

void FilterQtMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (!g_finishing && SaysTheConnectionBroke(type, message)) {
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
