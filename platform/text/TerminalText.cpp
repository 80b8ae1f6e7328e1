#include "platform/text/TerminalText.h"

#include "platform/text/NameDecoding.h"

namespace {

constexpr unsigned char kDelete = 0x7F;
constexpr unsigned char kFirstPrintable = 0x20;
// C1 controls, U+0080 to U+009F, are C2 80 to C2 9F in UTF-8.
constexpr unsigned char kC1Lead = 0xC2;
constexpr unsigned char kC1Last = 0x9F;

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
    while (!text.empty()) {
        const auto lead = static_cast<unsigned char>(text[0]);
        const std::size_t length = Utf8CharacterLength(text);
        const bool isControl = lead < kFirstPrintable || lead == kDelete
            || (lead == kC1Lead && length == 2 && static_cast<unsigned char>(text[1]) <= kC1Last);
        if (length == 0 || isControl) {
            AppendEscaped(out, lead);
            text.remove_prefix(1);
        } else {
            out += text.substr(0, length);
            text.remove_prefix(length);
        }
    }
    return out;
}
