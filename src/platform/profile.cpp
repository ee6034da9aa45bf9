#include "platform/profile.h"

#include <algorithm>
#include <cerrno>
#include <string_view>
#include <vector>

#include "common/file_bytes.h"
#include "common/text.h"
#include "platform/sjis.h"

namespace {

using Line = ProfileLine;

// Where a key stands: the first section of that name, the first such key in it (as the desktop
// does with duplicates), and its last non-blank line, after which a new key goes.
struct Place {
    int Header = -1;
    int Key = -1;
    int LastFilled = -1;
};

constexpr std::string_view NewLine = "\r\n";
constexpr std::string_view Utf8ByteOrderMark = "\xEF\xBB\xBF";

bool IsLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Letter case folded on single-byte characters only: a double-byte character's second byte
// may look like an ASCII letter.
std::string FoldCase(std::string_view text) {
    std::string folded(text);
    for (size_t i = 0; i < folded.size(); ++i) {
        const auto c = static_cast<unsigned char>(folded[i]);
        if (IsLeadByte(c)) {
            ++i;
        } else if (c >= 'A' && c <= 'Z') {
            folded[i] = static_cast<char>(c - 'A' + 'a');
        }
    }
    return folded;
}

bool SectionOf(std::string_view text, std::string_view& name) {
    text = TrimBlanks(text);
    if (text.empty() || text.front() != '[') return false;
    const size_t close = text.find(']');
    name = TrimBlanks(text.substr(1, close == std::string_view::npos ? close : close - 1));
    return true;
}

bool KeyOf(std::string_view text, std::string_view& key, std::string_view& value) {
    const size_t equals = text.find('=');
    if (equals == std::string_view::npos) return false;
    key = TrimBlanks(text.substr(0, equals));
    value = TrimBlanks(text.substr(equals + 1));
    return true;
}

// Lines end at CR LF, LF or a lone CR, as text from any desktop may.
std::vector<Line> SplitLines(std::string_view bytes) {
    std::vector<Line> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        const size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back({std::string(bytes.substr(start)), ""});
            break;
        }
        const bool crlf = bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n';
        const size_t next = end + (crlf ? 2 : 1);
        lines.push_back({std::string(bytes.substr(start, end - start)),
                         std::string(bytes.substr(end, next - end))});
        start = next;
    }
    return lines;
}

Place Locate(const std::vector<Line>& lines, const std::string& section, const std::string& key) {
    const std::string wantedSection = FoldCase(section);
    const std::string wantedKey = FoldCase(key);
    Place place;
    for (int i = 0; i < int(lines.size()); ++i) {
        std::string_view name, value;
        if (SectionOf(lines[i].Text, name)) {
            if (place.Header >= 0) break;
            if (FoldCase(name) == wantedSection) place.Header = place.LastFilled = i;
            continue;
        }
        if (place.Header < 0) continue;
        if (!TrimBlanks(lines[i].Text).empty()) place.LastFilled = i;
        if (place.Key < 0 && KeyOf(lines[i].Text, name, value) && FoldCase(name) == wantedKey)
            place.Key = i;
    }
    return place;
}

// A value loses its surrounding blanks, and then its quotation marks, as the desktop reads it.
std::string_view ValueAsRead(std::string_view value) {
    value = TrimBlanks(value);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// At most maxBytes bytes, without leaving half of a double-byte character at the end; a text
// ends at a zero byte.
std::string_view CutToBytes(std::string_view value, size_t maxBytes) {
    value = value.substr(0, value.find('\0'));
    size_t end = 0;
    while (end < value.size()) {
        const size_t length = IsLeadByte(static_cast<unsigned char>(value[end])) ? 2 : 1;
        if (end + length > std::min(maxBytes, value.size())) break;
        end += length;
    }
    return value.substr(0, end);
}

// Bytes that are not valid CP932 read as "?", the rest as what they say.
std::string ToUtf8Leniently(std::string_view cp932) {
    std::string utf8;
    if (Cp932ToUtf8(std::string(cp932), utf8)) return utf8;
    utf8.clear();
    for (size_t i = 0; i < cp932.size();) {
        const size_t length = IsLeadByte(static_cast<unsigned char>(cp932[i])) ? 2 : 1;
        std::string one;
        utf8 += Cp932ToUtf8(std::string(cp932.substr(i, length)), one) ? one : "?";
        i += length;
    }
    return utf8;
}

// Text that would break the file's lines apart, or a name that could not be found again.
bool Writable(const std::string& section, const std::string& key, const std::string& value) {
    const auto breaks = [](const std::string& text) {
        return text.find_first_of("\r\n") != std::string::npos;
    };
    return !breaks(section) && !breaks(key) && !breaks(value) && !key.empty() &&
           key.find('=') == std::string::npos && section.find(']') == std::string::npos &&
           TrimBlanks(key) == key && TrimBlanks(section) == section;
}

void EndLine(std::vector<Line>& lines, int index) {
    if (index >= 0 && lines[index].Ending.empty()) lines[index].Ending = NewLine;
}

void PutKey(std::vector<Line>& lines, const std::string& section, const std::string& key,
            const std::string& value) {
    const Place place = Locate(lines, section, key);
    if (place.Key >= 0) {
        // The key keeps its own spelling and the line its own line end.
        std::string_view name, old;
        KeyOf(lines[place.Key].Text, name, old);
        lines[place.Key].Text = std::string(name) + "=" + value;
        return;
    }
    const Line keyLine{key + "=" + value, std::string(NewLine)};
    if (place.Header >= 0) {
        EndLine(lines, place.LastFilled);
        lines.insert(lines.begin() + place.LastFilled + 1, keyLine);
        return;
    }
    EndLine(lines, int(lines.size()) - 1);
    lines.push_back({"[" + section + "]", std::string(NewLine)});
    lines.push_back(keyLine);
}

}  // namespace

bool LoadProfile(const std::string& file, ProfileDocument& document) {
    document = {};
    std::string bytes;
    switch (ReadFileBytes(file, bytes, MaxProfileBytes)) {
        case FileRead::Ok:
        case FileRead::Missing:
            break;
        case FileRead::TooLarge:
            errno = EFBIG;
            [[fallthrough]];
        case FileRead::Failed:
        case FileRead::NotAFile:  // only from ReadRegularFileBytes
            document.ReadError = errno;
            return false;
    }
    std::string_view text = bytes;
    if (text.substr(0, Utf8ByteOrderMark.size()) == Utf8ByteOrderMark) {
        document.ByteOrderMark = Utf8ByteOrderMark;
        text.remove_prefix(Utf8ByteOrderMark.size());
    }
    document.Lines = SplitLines(text);
    return true;
}

bool SaveProfile(const ProfileDocument& document, const std::string& file) {
    // An old file that could not be read must not be replaced by one holding only our keys.
    if (document.ReadError != 0) {
        errno = document.ReadError;
        return false;
    }
    std::string joined = document.ByteOrderMark;
    for (const Line& line : document.Lines) joined += line.Text + line.Ending;
    return ReplaceFileBytes(file, joined);
}

std::string ProfileString(const ProfileDocument& document, const std::string& section,
                          const std::string& key, const std::string& fallback, size_t maxBytes) {
    std::string wantedSection, wantedKey;
    if (!Utf8ToCp932(section, wantedSection) || !Utf8ToCp932(key, wantedKey)) return fallback;
    const Place place = Locate(document.Lines, wantedSection, wantedKey);
    if (place.Key < 0) return fallback;
    std::string_view name, value;
    KeyOf(document.Lines[place.Key].Text, name, value);
    return ToUtf8Leniently(CutToBytes(ValueAsRead(value), maxBytes));
}

bool PutProfileString(ProfileDocument& document, const std::string& section, const std::string& key,
                      const std::string& value) {
    std::string cpSection, cpKey, cpValue;
    if (!Utf8ToCp932(section, cpSection) || !Utf8ToCp932(key, cpKey) ||
        !Utf8ToCp932(value, cpValue)) {
        errno = EILSEQ;
        return false;
    }
    if (!Writable(cpSection, cpKey, cpValue)) {
        errno = EINVAL;
        return false;
    }
    PutKey(document.Lines, cpSection, cpKey, cpValue);
    return true;
}

std::string GetProfileString(const std::string& file, const std::string& section,
                             const std::string& key, const std::string& fallback, size_t maxBytes) {
    ProfileDocument document;
    if (!LoadProfile(file, document)) return fallback;
    return ProfileString(document, section, key, fallback, maxBytes);
}

bool WriteProfileString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& value) {
    ProfileDocument document;
    LoadProfile(file, document);
    return PutProfileString(document, section, key, value) && SaveProfile(document, file);
}

std::string ProfileValueAsRead(const std::string& written) {
    return std::string(ValueAsRead(written));
}
