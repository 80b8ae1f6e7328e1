#include "platform/text/TerminalText.h"

#include "platform/text/NameDecoding.h"

namespace {

constexpr unsigned char kDelete = 0x7F;
constexpr unsigned char kFirstPrintable = 0x20;
// C1 controls, U+0080 to U+009F, are C2 80 to C2 9F in UTF-8.
constexpr unsigned char kC1Lead = 0xC2;
constexpr unsigned char kC1Last = 0x9F;

std::size_t Utf8SequenceLength(unsigned char lead)
{
    if (lead < 0x80) {
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        return 2;
    }
    if ((lead & 0xF0) == 0xE0) {
        return 3;
    }
    if ((lead & 0xF8) == 0xF0) {
        return 4;
    }
    return 0;
}

void AppendEscaped(std::string& out, unsigned char byte)
{
    constexpr const char* kHexDigits = "0123456789abcdef";
    out += "\\x";
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0x0F];
}

}

std::string EscapeControlCharacters(std::string_view text)
{
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = Utf8SequenceLength(lead);
        const std::string_view sequence = text.substr(i, length);
        const bool isControl = lead < kFirstPrintable || lead == kDelete
            || (lead == kC1Lead && sequence.size() == 2 && static_cast<unsigned char>(sequence[1]) <= kC1Last);
        if (length == 0 || sequence.size() < length || isControl || !IsValidUtf8(sequence)) {
            AppendEscaped(out, lead);
            ++i;
            continue;
        }
        out += sequence;
        i += length;
    }
    return out;
}
