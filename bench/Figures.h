#pragma once

#include <string>
#include <string_view>

// One row of the table `make bench` prints at the end: what was measured, the value
// with its unit, and the target it is held against ("" when there is none).
void PrintFigure(std::string_view figure, std::string_view value, std::string_view target);

// A value with a fixed number of decimals and its unit, e.g. FormatValue(31.46, 1, "ns").
std::string FormatValue(double value, int decimals, std::string_view unit);

// For Google Benchmark programs: the figure a benchmark's mean real time per iteration
// stands for. The shared main prints it in the table after the benchmarks have run.
void DescribeBenchmark(std::string benchmarkName, std::string figure, std::string target);
