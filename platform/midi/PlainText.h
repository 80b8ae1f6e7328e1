#pragma once

#include <cctype>
#include <string>
#include <string_view>
#include <vector>

// The plain-text helpers the outputs' messages and the matching of names share. Any thread.

// The items in order with `separator` between each two: "a, b, c".
inline std::string Joined(const std::vector<std::string>& items, std::string_view separator)
{
    std::string joined;
    for (std::size_t index = 0; index < items.size(); ++index) {
        joined += (index == 0 ? "" : std::string(separator)) + items[index];
    }
    return joined;
}

// Each item after its number, the way --midi-out counts them: "0: a", "1: b".
inline std::vector<std::string> Numbered(const std::vector<std::string>& items)
{
    std::vector<std::string> numbered;
    for (std::size_t index = 0; index < items.size(); ++index) {
        numbered.push_back(std::to_string(index) + ": " + items[index]);
    }
    return numbered;
}

// Letters compared as ASCII without their case, as users type device names and extensions.
inline bool SameIgnoringCase(char a, char b)
{
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}
