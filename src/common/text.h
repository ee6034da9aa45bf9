// Small rules about text shared by the readers of the game's files and its name field.
#pragma once

#include <string>
#include <string_view>

// The bytes of a UTF-8 character after its first.
inline bool IsUtf8Continuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The text without the given blank characters at either end.
inline std::string_view TrimBlanks(std::string_view text, std::string_view blanks = " \t") {
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// Text from a file of unknown origin, fit to be printed or shown: each control character, each
// mark that turns the text's direction and each byte that is no UTF-8 becomes "?", and more than
// `maxCharacters` characters are cut, ending in "...".
std::string PrintableText(std::string_view text, size_t maxCharacters);
