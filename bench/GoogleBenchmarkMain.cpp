#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <unistd.h>
#include <utility>

#include "Figures.h"

namespace {

struct Description {
    std::string figure;
    std::string target;
};

std::map<std::string, Description>& Descriptions()
{
    static std::map<std::string, Description> descriptions;
    return descriptions;
}

// Prints the usual console output and keeps each run's time for the figure table.
class FigureReporter final : public benchmark::ConsoleReporter {
public:
    // Colour only on a terminal: into a pipe, the escape code that ends the last coloured
    // line would stand in front of the first FIGURE row and hide it from the table.
    FigureReporter()
        : ConsoleReporter(isatty(STDOUT_FILENO) != 0 ? OO_Defaults : OO_Tabular)
    {
    }

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const auto description = Descriptions().find(run.benchmark_name());
            if (description != Descriptions().end() && run.run_type == Run::RT_Iteration) {
                const double nanoseconds
                    = run.GetAdjustedRealTime() * 1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit);
                measured_.emplace_back(description->second, nanoseconds);
            }
        }
    }

    void PrintTable() const
    {
        for (const auto& [description, nanoseconds] : measured_) {
            const std::string value = nanoseconds >= 1000.0 ? FormatValue(nanoseconds / 1000.0, 2, "µs")
                                                            : FormatValue(nanoseconds, 1, "ns");
            PrintFigure(description.figure, value, description.target);
        }
    }

private:
    std::vector<std::pair<Description, double>> measured_;
};

}

void DescribeBenchmark(std::string benchmarkName, std::string figure, std::string target)
{
    Descriptions()[std::move(benchmarkName)] = { std::move(figure), std::move(target) };
}

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    FigureReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    reporter.PrintTable();
    return 0;
}
