// libFuzzer target: any bytes as the name list, read and looked up as start-up does. A broken
// rule aborts with its description, so libFuzzer keeps the input that broke it.
#include <algorithm>
#include <cstdio>

#include <unistd.h>

#include "core/AppState.h"
#include "names/InstrumentNames.h"

static void Require(bool rule, const char* what)
{
    if (!rule) {
        std::fprintf(stderr, "name list rule broken: %s\n", what), std::abort();
    }
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const int file = fileno(std::tmpfile()); // unlinked: no run leaves a file behind
    static const std::string path = "/proc/self/fd/" + std::to_string(file);
    Require(ftruncate(file, 0) == 0 && pwrite(file, data, size, 0) == static_cast<ssize_t>(size), "write failed");
    // What a buffer holds up to its first NUL, or all of it when it holds none.
    const auto held
        = [](std::span<const char> b) { return std::string(b.begin(), std::find(b.begin(), b.end(), '\0')); };
    std::array<char, kNameTextSize> text;
    text.fill('#');
    const std::string start = held({ reinterpret_cast<const char*>(data), std::min(size, kNameTextSize - 1) });
    Require(ReadTextFile(path.c_str(), text) && held(text) == start, "the text is not the file up to its first NUL");
    // Line n runs from the n-th CR LF to the next CR, 255 bytes at most; none past the last CR LF.
    for (std::size_t n = 0, from = 0; n < 128; ++n, from = std::min(start.find("\r\n", from), start.size()) + 2) {
        std::array<char, kLineBufferSize> out;
        out.fill('#');
        const bool found = GetTextLine(text.data(), n, out);
        const std::string line = from > start.size()
            ? std::string(kLineBufferSize, '#')
            : start.substr(from, std::min(start.find('\r', from) - from, kLineBufferSize - 1));
        Require(found == (from <= start.size()) && held(out) == (line.empty() ? kNoData : line), "a lookup is wrong");
    }
    return 0;
}
