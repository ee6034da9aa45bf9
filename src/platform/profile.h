// Profile (INI) files as the desktop the game was written for keeps them: "[section]" headers
// and "key=value" lines, Shift_JIS (CP932) text with CR LF line ends. Section and key names
// match whatever their letter case. Texts passed in and out are UTF-8.
#pragma once

#include <string>

// The value of key in section of file, at most maxBytes bytes of it (counted in CP932, never
// half a character), or fallback when the file, the section or the key is missing. The value
// loses its surrounding blanks and quotation marks; with duplicates the first section and the
// first key win; bytes that are not CP932 read as "?".
std::string GetProfileString(const std::string& file, const std::string& section,
                             const std::string& key, const std::string& fallback, size_t maxBytes);
// Rewrites an existing key in place, or appends it at the end of its section (creating the
// section or the file when needed); every other line stays as it was. The file is replaced
// atomically: a failed write leaves the old file untouched. Returns false on failure, and for
// text that would break the file's lines (line breaks, "=" in a key, "]" in a section), with
// errno saying why.
bool WriteProfileString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& value);
// What GetProfileString gives back for a value written as it is (before any cut to maxBytes).
std::string ProfileValueAsRead(const std::string& written);
