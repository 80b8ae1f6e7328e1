// The tick clock as the program runs it: the timer thread posting tick events through
// the one-in-flight handshake to a Qt event loop, whose handler finishes each tick at
// once. Measures the spacing of handled ticks and their drift from wall time.
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "Figures.h"
#include "platform/timer/ThreadPeriodicTimer.h"
#include "timer/TickTimer.h"

namespace {

using Clock = std::chrono::steady_clock;

class TickReceiver final : public QObject, public TickTarget {
public:
    // Timer thread; `posted` is read only after the timer thread has been joined.
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

double Percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(std::ceil(fraction * static_cast<double>(values.size()))) - 1;
    return values[std::min(index, values.size() - 1)];
}

// How far each interval between successive times lies from the tick period, in ms.
std::vector<double> DeviationsFromPeriod(const std::vector<Clock::time_point>& times)
{
    std::vector<double> deviations;
    for (std::size_t i = 1; i < times.size(); ++i) {
        const double interval = std::chrono::duration<double, std::milli>(times[i] - times[i - 1]).count();
        deviations.push_back(std::abs(interval - kTickPeriodMs));
    }
    return deviations;
}

}

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    TickReceiver receiver;
    ThreadPeriodicTimer timer;
    SetTickTarget(&receiver);
    if (!StartTickTimer(timer)) {
        return 1;
    }
    const Clock::time_point start = Clock::now();
    QTimer::singleShot(seconds * 1000, &app, &QCoreApplication::quit);
    app.exec();
    StopTickTimer(timer);
    SetTickTarget(nullptr);
    std::vector<double> intervalsMs;
    for (std::size_t i = 1; i < receiver.handled.size(); ++i) {
        intervalsMs.push_back(
            std::chrono::duration<double, std::milli>(receiver.handled[i] - receiver.handled[i - 1]).count());
    }
    if (intervalsMs.empty()) {
        return 1;
    }
    double sum = 0;
    std::vector<double> deviations;
    for (const double interval : intervalsMs) {
        sum += interval;
        deviations.push_back(std::abs(interval - kTickPeriodMs));
    }
    const double mean = sum / static_cast<double>(intervalsMs.size());
    // Ticks due by the time the last one was handled: measuring to the end of the run
    // instead would count the unfinished period after it as a lost tick.
    const double elapsedMs = std::chrono::duration<double, std::milli>(receiver.handled.back() - start).count();
    const double expectedTicks = elapsedMs / kTickPeriodMs;
    const double driftTicks = static_cast<double>(receiver.handled.size()) - expectedTicks;

    PrintFigure(
        "tick interval, mean over " + std::to_string(seconds) + " s", FormatValue(mean, 4, "ms"), "10 ms ± 0.1 %");
    PrintFigure("tick interval, p50", FormatValue(Percentile(intervalsMs, 0.5), 3, "ms"), "");
    PrintFigure(
        "tick interval deviation from 10 ms, p99", FormatValue(Percentile(deviations, 0.99), 3, "ms"), "< 1 ms");
    PrintFigure("tick interval deviation from 10 ms, max", FormatValue(Percentile(deviations, 1.0), 3, "ms"), "");
    // The same for the moments the timer thread posted: what of the spread is the
    // timer's wake-up, and what the event loop's delivery adds.
    const std::vector<double> postDeviations = DeviationsFromPeriod(receiver.posted);
    PrintFigure("tick post interval (timer thread) deviation from 10 ms, p99",
        FormatValue(Percentile(postDeviations, 0.99), 3, "ms"), "");
    PrintFigure("tick post interval (timer thread) deviation from 10 ms, max",
        FormatValue(Percentile(postDeviations, 1.0), 3, "ms"), "");
    PrintFigure("tick drift, handled minus due ticks over " + std::to_string(seconds) + " s",
        FormatValue(driftTicks, 1, "ticks"), "within ±1 tick");
    return 0;
}
