#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

// One row of the table `make bench` prints at the end: what was measured, the value
// with its unit, and the target it is held against ("" when there is none).
void PrintFigure(std::string_view figure, std::string_view value, std::string_view target);

// A value with a fixed number of decimals and its unit, e.g. FormatValue(31.46, 1, "ms").
std::string FormatValue(double value, int decimals, std::string_view unit);

// The value below which `fraction` of `values` lie (nearest rank); 0 for no values.
double Percentile(std::vector<double> values, double fraction);

// The median of a few runs with their range, e.g. "412 ms [380–450]".
std::string FormatSpread(const std::vector<double>& values, int decimals, std::string_view unit);

// Milliseconds from each press to the first answer (a note-on, a sound's onset) after it and
// before the next press; a press that no answer followed in time gets none. Both lists in order.
std::vector<double> Latencies(const std::vector<std::chrono::steady_clock::time_point>& presses,
    const std::vector<std::chrono::steady_clock::time_point>& answers);
