// Profile (INI) files as the desktop the game was written for keeps them: "[section]" headers
// and "key=value" lines, Shift_JIS (CP932) text with CR LF line ends. Section and key names
// match whatever their letter case. Texts passed in and out are UTF-8.
//
// A file is read whole into a ProfileDocument, read from and changed there, and written back
// whole: one replacement of the file however many keys changed. Lines end at CR LF, LF or a
// lone CR; a UTF-8 byte-order mark before the first line is skipped. Every line keeps its bytes
// and its line end, the mark its place.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Far beyond any real profile file: a larger one is refused rather than read for minutes.
constexpr size_t MaxProfileBytes = 1024 * 1024;
constexpr const char* MaxProfileSizeText = "1 MB";

struct ProfileLine {
    std::string Text;    // raw CP932 bytes
    std::string Ending;  // "", "\n", "\r" or "\r\n"
};

struct ProfileDocument {
    std::string ByteOrderMark;  // as the file began, or empty
    std::vector<ProfileLine> Lines;
    // Why the file could not be read (an errno value; EFBIG: over MaxProfileBytes), 0 when it
    // was read or was missing. A document that was not read must never replace its file.
    int ReadError = 0;
};

// The file's lines; a missing file gives an empty document. False, with errno and ReadError
// saying why, when the file cannot be read or is larger than MaxProfileBytes.
bool LoadProfile(const std::string& file, ProfileDocument& document);
// Replaces the file with the document, once. False, with errno saying why, when that fails or
// when the document was never read from the file it stands for.
bool SaveProfile(const ProfileDocument& document, const std::string& file);

// The value of key in section, at most maxBytes bytes of it (counted in CP932, never half a
// character), or fallback when the section or the key is missing. The value loses its
// surrounding blanks and quotation marks; with duplicates the first section and the first key
// win; bytes that are not CP932 read as "?".
std::string ProfileString(const ProfileDocument& document, const std::string& section,
                          const std::string& key, const std::string& fallback, size_t maxBytes);
// Rewrites an existing key in place, or appends it at the end of its section (creating the
// section when needed); every other line stays as it was. False, with errno saying why, for
// text that would break the file's lines (line breaks, "=" in a key, "]" in a section) or that
// has no CP932 form.
bool PutProfileString(ProfileDocument& document, const std::string& section, const std::string& key,
                      const std::string& value);

// One key read from a file, or written to it (the file replaced at once): for tools and tests.
std::string GetProfileString(const std::string& file, const std::string& section,
                             const std::string& key, const std::string& fallback, size_t maxBytes);
bool WriteProfileString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& value);
// What ProfileString gives back for a value written as it is (before any cut to maxBytes).
std::string ProfileValueAsRead(const std::string& written);
