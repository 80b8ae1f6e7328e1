#include "Figures.h"

#include <cstdio>
#include <string>

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
    return std::string(number) + " " + std::string(unit);
}
