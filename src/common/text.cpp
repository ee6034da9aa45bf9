#include "common/text.h"

#include <cstdint>

namespace {

constexpr char Replacement = '?';
constexpr std::string_view CutMark = "...";

// The UTF-8 character at the start of `text`: its code point and length, or length 0 when the
// bytes there are no well-formed character (overlong, a surrogate, cut short).
struct Character {
    uint32_t CodePoint = 0;
    size_t Length = 0;
};
Character CharacterAt(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    if (lead < 0x80) return {lead, 1};
    size_t length = 0;
    uint32_t smallest = 0;
    uint32_t code = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, smallest = 0x80, code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, smallest = 0x800, code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, smallest = 0x10000, code = lead & 0x07;
    } else {
        return {};
    }
    if (text.size() < length) return {};
    for (size_t i = 1; i < length; ++i) {
        if (!IsUtf8Continuation(text[i])) return {};
        code = (code << 6) | (static_cast<unsigned char>(text[i]) & 0x3F);
    }
    if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return {};
    return {code, length};
}

// Control characters, and the marks that turn the direction of the text after them around.
bool IsControl(uint32_t code) {
    return code < 0x20 || (code >= 0x7F && code <= 0x9F) || (code >= 0x202A && code <= 0x202E) ||
           (code >= 0x2066 && code <= 0x2069);
}

}  // namespace

std::string PrintableText(std::string_view text, size_t maxCharacters) {
    std::string out;
    size_t characters = 0;
    for (size_t at = 0; at < text.size(); ++characters) {
        if (characters == maxCharacters) return out + std::string(CutMark);
        const Character c = CharacterAt(text.substr(at));
        if (c.Length == 0 || IsControl(c.CodePoint)) {
            out += Replacement;
            at += c.Length == 0 ? 1 : c.Length;
        } else {
            out += text.substr(at, c.Length);
            at += c.Length;
        }
    }
    return out;
}
