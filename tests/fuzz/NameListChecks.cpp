#include "fuzz/NameListChecks.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <string_view>

#include "core/AppState.h"
#include "names/InstrumentNames.h"
#include "platform/text/NameDecoding.h"

namespace {

constexpr std::int32_t kProgramsLookedUp = 128;
constexpr std::size_t kMaxLineBytes = kLineBufferSize - 1;
// Fills the line buffer before each lookup, so a failed lookup that writes is caught.
constexpr char kCanary = '\x5A';

// Strict UTF-8 by the table of well-formed byte sequences: each lead byte limits the
// range of the byte after it (no overlong forms, no surrogates, nothing past U+10FFFF).
bool WellFormedUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int continuations = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead <= 0x7F) {
            continuations = 0;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            continuations = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            continuations = 2;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            continuations = 3;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (text.size() - i - 1 < static_cast<std::size_t>(continuations)) {
            return false;
        }
        for (int k = 1; k <= continuations; ++k) {
            const auto byte = static_cast<unsigned char>(text[i + k]);
            const unsigned char min = k == 1 ? low : 0x80;
            const unsigned char max = k == 1 ? high : 0xBF;
            if (byte < min || byte > max) {
                return false;
            }
        }
        i += 1 + continuations;
    }
    return true;
}

// What the view draws for a line: always well-formed UTF-8, and a line that already is
// UTF-8 unchanged.
std::string CheckDisplayText(const std::string& line)
{
    const std::string shown = DecodeInstrumentName(line);
    if (!WellFormedUtf8(shown)) {
        return "display text is not well-formed UTF-8";
    }
    if (WellFormedUtf8(line) && shown != line) {
        return "a UTF-8 line changed on its way to the display";
    }
    if (!line.empty() && shown.empty()) {
        return "a line displays as nothing";
    }
    return {};
}

// The lookup's rule restated from the file format rather than from the code: line N
// starts after the N-th CR LF pair and runs to the next CR or the end of the text.
// Returns false when the text holds fewer pairs than the index asks for.
bool ExpectedLine(std::string_view text, std::int32_t index, std::string& line)
{
    std::size_t start = 0;
    for (std::int32_t pair = 0; pair < index; ++pair) {
        const std::size_t match = text.find("\r\n", start);
        if (match == std::string_view::npos) {
            return false;
        }
        start = match + 2;
    }
    const std::string_view rest = text.substr(start);
    line = std::string(rest.substr(0, std::min({ rest.find('\r'), rest.size(), kMaxLineBytes })));
    if (line.empty()) {
        line = kNoData;
    }
    return true;
}

std::string CheckLookup(const char* text, std::int32_t program)
{
    std::array<char, kLineBufferSize> out {};
    out.fill(kCanary);
    const bool found = GetTextLine(text, program, out);
    std::string expected;
    const bool expectedFound = ExpectedLine(text, program, expected);
    const std::string where = "program " + std::to_string(program) + ": ";
    if (found != expectedFound) {
        return where + (found ? "found a line past the last CR LF" : "missed a line that exists");
    }
    if (!found) {
        const bool untouched = std::all_of(out.begin(), out.end(), [](char c) { return c == kCanary; });
        return untouched ? std::string() : where + "a failed lookup wrote to the line buffer";
    }
    const auto terminator = std::find(out.begin(), out.end(), '\0');
    if (terminator == out.end()) {
        return where + "line is not NUL-terminated within 256 bytes";
    }
    const std::string line(out.begin(), terminator);
    if (line.empty()) {
        return where + "empty line instead of \"nodata\"";
    }
    if (line.size() > kMaxLineBytes) {
        return where + "line longer than 255 bytes";
    }
    if (line != expected) {
        return where + "line differs from the one its CR LF pairs delimit";
    }
    const std::string broken = CheckDisplayText(line);
    return broken.empty() ? broken : where + broken;
}

}

std::string CheckNameListFile(std::span<const std::uint8_t> bytes, const std::filesystem::path& listPath)
{
    {
        std::ofstream file(listPath, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!file) {
            return "could not write " + listPath.string();
        }
    }
    std::array<char, kNameTextSize> nameText {};
    nameText.fill(kCanary);
    nameText[0] = '\0';
    if (!ReadTextFile(listPath.c_str(), nameText)) {
        return "a readable list was reported as unreadable";
    }
    const auto terminator = std::find(nameText.begin(), nameText.end(), '\0');
    if (terminator == nameText.end()) {
        return "name text is not NUL-terminated within its 4096 bytes";
    }
    // The text is the file's start: up to its first NUL, and never more than fits
    // beside the terminating NUL.
    const auto firstNul = static_cast<std::size_t>(std::find(bytes.begin(), bytes.end(), 0) - bytes.begin());
    const std::size_t fileTextLength = std::min(firstNul, kNameTextSize - 1);
    const auto textLength = static_cast<std::size_t>(terminator - nameText.begin());
    if (textLength != fileTextLength
        || (textLength != 0 && std::memcmp(nameText.data(), bytes.data(), textLength) != 0)) {
        return "name text is not the start of the file";
    }
    for (std::int32_t program = 0; program < kProgramsLookedUp; ++program) {
        std::string broken = CheckLookup(nameText.data(), program);
        if (!broken.empty()) {
            return broken;
        }
    }
    return {};
}
