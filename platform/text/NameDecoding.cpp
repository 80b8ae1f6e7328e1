#include "platform/text/NameDecoding.h"

#include <iconv.h>

#include <algorithm>
#include <cstdint>
#include <optional>

namespace {

// A UTF-8 lead byte matches bits under mask; the rest of it and 6 bits of each
// continuation byte carry the code point, which must be at least smallest.
struct Utf8Form {
    unsigned char mask;
    unsigned char bits;
    std::size_t length;
    std::uint32_t smallest;
};
constexpr Utf8Form kUtf8Forms[]
    = { { 0x80, 0x00, 1, 0 }, { 0xE0, 0xC0, 2, 0x80 }, { 0xF0, 0xE0, 3, 0x800 }, { 0xF8, 0xF0, 4, 0x10000 } };
constexpr std::uint32_t kLastCodePoint = 0x10FFFF;

const Utf8Form* FormOf(unsigned char lead)
{
    const auto form = std::find_if(
        std::begin(kUtf8Forms), std::end(kUtf8Forms), [lead](const Utf8Form& f) { return (lead & f.mask) == f.bits; });
    return form == std::end(kUtf8Forms) ? nullptr : form;
}

bool IsContinuation(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

bool IsValidUtf8(std::string_view bytes)
{
    while (!bytes.empty()) {
        const std::size_t length = Utf8CharacterLength(bytes);
        if (length == 0) {
            return false;
        }
        bytes.remove_prefix(length);
    }
    return true;
}

// bytes without the lead byte and continuation bytes of a character the end of bytes
// splits; bytes as they are when their last character is whole.
std::string_view WithoutSplitLastCharacter(std::string_view bytes)
{
    const auto lead = std::find_if_not(bytes.rbegin(), bytes.rend(), IsContinuation);
    if (lead == bytes.rend()) {
        return bytes;
    }
    const std::size_t start = static_cast<std::size_t>(bytes.rend() - lead) - 1;
    const Utf8Form* form = FormOf(static_cast<unsigned char>(*lead));
    return form != nullptr && bytes.size() - start < form->length ? bytes.substr(0, start) : bytes;
}

// `bytes` in `encoding` as UTF-8; nothing when they are not text in that encoding.
std::optional<std::string> ConvertToUtf8(std::string_view bytes, const char* encoding)
{
    // A CP932 character is one or two bytes, a Latin-1 one byte, and becomes at most
    // three in UTF-8. Made before the converter opens, so nothing between its opening
    // and closing can throw.
    std::string text(3 * bytes.size(), '\0');
    const iconv_t converter = iconv_open("UTF-8", encoding);
    // iconv_open fails with (iconv_t)-1.
    if (reinterpret_cast<std::intptr_t>(converter) == -1) {
        return std::nullopt;
    }
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char* out = text.data();
    std::size_t outLeft = text.size();
    const bool converted = iconv(converter, &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1);
    iconv_close(converter);
    if (!converted) {
        return std::nullopt;
    }
    text.resize(text.size() - outLeft);
    return text;
}

}

std::size_t Utf8CharacterLength(std::string_view text)
{
    const Utf8Form* form = text.empty() ? nullptr : FormOf(static_cast<unsigned char>(text[0]));
    if (form == nullptr || text.size() < form->length) {
        return 0;
    }
    std::uint32_t codePoint = static_cast<unsigned char>(text[0]) & ~form->mask & 0xFF;
    for (std::size_t k = 1; k < form->length; ++k) {
        if (!IsContinuation(text[k])) {
            return 0;
        }
        codePoint = (codePoint << 6) | (static_cast<unsigned char>(text[k]) & 0x3F);
    }
    const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    return codePoint < form->smallest || codePoint > kLastCodePoint || surrogate ? 0 : form->length;
}

std::string DecodeInstrumentName(std::string_view bytes, bool cutShort)
{
    const std::string_view utf8 = cutShort ? WithoutSplitLastCharacter(bytes) : bytes;
    if (IsValidUtf8(utf8)) {
        return std::string(utf8);
    }
    if (auto decoded = ConvertToUtf8(bytes, "CP932")) {
        return *decoded;
    }
    // Every byte is a Latin-1 character: this always decodes.
    return ConvertToUtf8(bytes, "ISO-8859-1").value_or("");
}
