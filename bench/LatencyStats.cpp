#include "LatencyStats.h"

#include <algorithm>
#include <cmath>

#include "Figures.h"

std::vector<double> MatchLatencies(
    const std::vector<BenchClock::time_point>& stimuli, const std::vector<BenchClock::time_point>& responses)
{
    std::vector<double> latencies;
    auto response = responses.begin();
    for (const BenchClock::time_point stimulus : stimuli) {
        response = std::lower_bound(response, responses.end(), stimulus);
        if (response == responses.end()) {
            break;
        }
        latencies.push_back(MillisecondsBetween(stimulus, *response));
        ++response;
    }
    return latencies;
}

double Percentile(std::vector<double> values, double fraction)
{
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<std::size_t>(std::ceil(fraction * static_cast<double>(values.size())));
    return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

void PrintLatencyFigures(const std::string& what, const std::vector<double>& latenciesMs, const std::string& p50Target,
    const std::string& p99Target)
{
    const std::string count = " (" + std::to_string(latenciesMs.size()) + ")";
    PrintFigure(what + ", p50" + count, FormatValue(Percentile(latenciesMs, 0.5), 2, "ms"), p50Target);
    PrintFigure(what + ", p99", FormatValue(Percentile(latenciesMs, 0.99), 2, "ms"), p99Target);
    PrintFigure(what + ", max", FormatValue(Percentile(latenciesMs, 1.0), 2, "ms"), "");
}

double MillisecondsBetween(BenchClock::time_point from, BenchClock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}
