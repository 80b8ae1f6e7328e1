#include "names/InstrumentNames.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

namespace {
constexpr char kPathSeparator = '/';
constexpr const char* kLineEnd = "\r\n";
constexpr std::size_t kLineEndLength = 2;
constexpr std::size_t kMaxLineLength = kLineBufferSize - 1;
}

bool SetWorkingDirToExe(std::string_view executablePath)
{
    const std::size_t lastSeparator = executablePath.rfind(kPathSeparator);
    if (lastSeparator == std::string_view::npos) {
        return false;
    }
    std::error_code ignored;
    std::filesystem::current_path(std::string(executablePath.substr(0, lastSeparator + 1)), ignored);
    return true;
}

bool ReadTextFile(const char* path, std::span<char> buffer)
{
    if (path == nullptr || buffer.empty()) {
        return false;
    }
    // Only a plain file is a list: opening a FIFO would wait for a writer forever, and a
    // directory or a device holds no names.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return false;
    }
    std::unique_ptr<std::FILE, decltype([](std::FILE* open) { std::fclose(open); })> file(std::fopen(path, "rb"));
    if (!file) {
        return false;
    }
    const std::size_t bytesRead = std::fread(buffer.data(), 1, buffer.size() - 1, file.get());
    buffer[bytesRead] = '\0';
    return std::fclose(file.release()) == 0;
}

bool GetTextLine(const char* text, std::int32_t index, std::span<char, kLineBufferSize> out)
{
    const char* lineStart = text;
    for (std::int32_t line = 0; line < index; ++line) {
        const char* lineEnd = std::strstr(lineStart, kLineEnd);
        if (lineEnd == nullptr) {
            return false;
        }
        lineStart = lineEnd + kLineEndLength;
    }
    std::size_t length = 0;
    while (length < kMaxLineLength && lineStart[length] != '\r' && lineStart[length] != '\0') {
        out[length] = lineStart[length];
        ++length;
    }
    out[length] = '\0';
    if (length == 0) {
        std::strcpy(out.data(), kNoData);
    }
    return true;
}
