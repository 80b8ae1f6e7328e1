#include "platform/text/NameDecoding.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <optional>

namespace {

constexpr std::size_t kConversionFailed = static_cast<std::size_t>(-1);

class IconvConverter {
public:
    IconvConverter(const char* to, const char* from)
        : handle_(iconv_open(to, from))
        // iconv_open fails with (iconv_t)-1.
        , open_(reinterpret_cast<std::intptr_t>(handle_) != -1)
    {
    }
    ~IconvConverter()
    {
        if (open_) {
            iconv_close(handle_);
        }
    }
    IconvConverter(const IconvConverter&) = delete;
    IconvConverter& operator=(const IconvConverter&) = delete;

    // The whole input converted, or nothing when any byte sequence is invalid.
    std::optional<std::string> Convert(std::string_view input)
    {
        if (!open_) {
            return std::nullopt;
        }
        std::string output;
        char* in = const_cast<char*>(input.data());
        std::size_t inLeft = input.size();
        char chunk[256];
        while (inLeft > 0) {
            char* out = chunk;
            std::size_t outLeft = sizeof chunk;
            const std::size_t result = iconv(handle_, &in, &inLeft, &out, &outLeft);
            output.append(chunk, out);
            if (result == kConversionFailed && errno != E2BIG) {
                return std::nullopt;
            }
        }
        return output;
    }

private:
    iconv_t handle_;
    bool open_;
};

void AppendUtf8(std::string& out, std::uint32_t codePoint)
{
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

std::string Latin1ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char byte : bytes) {
        AppendUtf8(out, static_cast<unsigned char>(byte));
    }
    return out;
}

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

}

bool IsValidUtf8(std::string_view bytes)
{
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        std::size_t length = 0;
        std::uint32_t codePoint = 0;
        std::uint32_t smallest = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
            codePoint = lead & 0x1F;
            smallest = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            codePoint = lead & 0x0F;
            smallest = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            codePoint = lead & 0x07;
            smallest = 0x10000;
        } else {
            return false;
        }
        if (bytes.size() - i < length) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if (!IsContinuation(next)) {
                return false;
            }
            codePoint = (codePoint << 6) | (next & 0x3F);
        }
        const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
        if (codePoint < smallest || codePoint > 0x10FFFF || surrogate) {
            return false;
        }
        i += length;
    }
    return true;
}

std::string DecodeInstrumentName(std::string_view bytes)
{
    if (IsValidUtf8(bytes)) {
        return std::string(bytes);
    }
    IconvConverter fromCp932("UTF-8", "CP932");
    if (auto decoded = fromCp932.Convert(bytes)) {
        return *decoded;
    }
    return Latin1ToUtf8(bytes);
}
