// The tick clock as the program runs it: the timer thread posting ticks through the
// one-in-flight handshake to a Qt event loop whose handler finishes each tick at once.
// The spacing of the posts is the timer thread's wake-up; the spacing of the handled
// ticks adds the event loop's delivery.
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

#include <chrono>
#include <cmath>
#include <string>
#include <vector>

#include "Figures.h"
#include "platform/timer/ThreadPeriodicTimer.h"
#include "timer/TickTimer.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kSeconds = 10;

class TickReceiver final : public QObject, public TickTarget {
public:
    // Timer thread; read only after the timer has stopped.
    bool PostTick() override
    {
        posted.push_back(Clock::now());
        QCoreApplication::postEvent(this, new QEvent(static_cast<QEvent::Type>(WM_TICK)));
        return true;
    }
    std::vector<Clock::time_point> posted;
    std::vector<Clock::time_point> handled;

protected:
    bool event(QEvent* event) override
    {
        if (event->type() != static_cast<QEvent::Type>(WM_TICK)) {
            return QObject::event(event);
        }
        handled.push_back(Clock::now());
        SetTickPending(0);
        return true;
    }
};

void PrintSpacing(const std::string& what, const std::vector<Clock::time_point>& times)
{
    std::vector<double> deviations;
    for (std::size_t i = 1; i < times.size(); ++i) {
        const double interval = std::chrono::duration<double, std::milli>(times[i] - times[i - 1]).count();
        deviations.push_back(std::abs(interval - kTickPeriodMs));
    }
    const double mean = times.size() < 2
        ? 0
        : std::chrono::duration<double, std::milli>(times.back() - times.front()).count()
            / static_cast<double>(times.size() - 1);
    const std::string over = " (" + std::to_string(times.size()) + " ticks in " + std::to_string(kSeconds) + " s)";
    PrintFigure(what + ", mean" + over, FormatValue(mean, 4, "ms"), "10 ms ± 0.1 %");
    PrintFigure(what + ", deviation from 10 ms, p99", FormatValue(Percentile(deviations, 0.99), 3, "ms"), "< 1 ms");
}

}

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    TickReceiver receiver;
    ThreadPeriodicTimer timer;
    g_tickTarget = &receiver;
    if (!StartTickTimer(timer)) {
        return 1;
    }
    QTimer::singleShot(kSeconds * 1000, &application, &QCoreApplication::quit);
    QCoreApplication::exec();
    StopTickTimer(timer);
    g_tickTarget = nullptr;
    PrintSpacing("tick spacing, posted by the timer thread", receiver.posted);
    PrintSpacing("tick spacing, handled by the event loop", receiver.handled);
    return 0;
}
