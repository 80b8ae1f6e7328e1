#include "Figures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

void PrintFigure(std::string_view figure, std::string_view value, std::string_view target)
{
    std::printf("FIGURE\t%.*s\t%.*s\t%.*s\n", static_cast<int>(figure.size()), figure.data(),
        static_cast<int>(value.size()), value.data(), static_cast<int>(target.size()), target.data());
    std::fflush(stdout);
}

std::string FormatValue(double value, int decimals, std::string_view unit)
{
    char number[64];
    std::snprintf(number, sizeof number, "%.*f", decimals, value);
    return unit.empty() ? std::string(number) : std::string(number) + " " + std::string(unit);
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

std::string FormatSpread(const std::vector<double>& values, int decimals, std::string_view unit)
{
    const auto [lowest, highest] = std::minmax_element(values.begin(), values.end());
    if (lowest == values.end()) {
        return "not measured";
    }
    return FormatValue(Percentile(values, 0.5), decimals, unit) + " [" + FormatValue(*lowest, decimals, "") + "–"
        + FormatValue(*highest, decimals, "") + "]";
}

std::vector<double> Latencies(const std::vector<std::chrono::steady_clock::time_point>& presses,
    const std::vector<std::chrono::steady_clock::time_point>& answers)
{
    std::vector<double> latencies;
    for (std::size_t i = 0; i < presses.size(); ++i) {
        const auto answer = std::lower_bound(answers.begin(), answers.end(), presses[i]);
        if (answer != answers.end() && (i + 1 == presses.size() || *answer < presses[i + 1])) {
            latencies.push_back(std::chrono::duration<double, std::milli>(*answer - presses[i]).count());
        }
    }
    return latencies;
}
