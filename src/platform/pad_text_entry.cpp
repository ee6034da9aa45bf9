#include "platform/pad_text_entry.h"

#include <algorithm>

#include "platform/text_field.h"

namespace {

// Katakana by the order of the syllabary, five to a consonant; the voiced and the small ones
// after the plain ones.
const char* const GridText[] = {
    "ABCDEFGHIJKLM",        "NOPQRSTUVWXYZ",        "abcdefghijklm",        "nopqrstuvwxyz",
    "0123456789 ",          "アイウエオカキクケコ", "サシスセソタチツテト", "ナニヌネノハヒフヘホ",
    "マミムメモラリルレロ", "ヤユヨワヲンー",       "ガギグゲゴザジズゼゾ", "ダヂヅデドバビブベボ",
    "パピプペポヴ",         "ァィゥェォッャュョ",
};

std::vector<std::vector<std::string>> SplitRows() {
    std::vector<std::vector<std::string>> rows;
    for (const char* text : GridText) {
        const std::string row = text;
        std::vector<std::string> cells;
        for (size_t at = 0; at < row.size();) {
            const size_t length = CharacterLengthAt(row, at);
            cells.push_back(row.substr(at, length));
            at += length;
        }
        rows.push_back(cells);
    }
    return rows;
}

int Wrapped(int value, int count) {
    return ((value % count) + count) % count;
}

}  // namespace

const std::vector<std::vector<std::string>>& PadCharacterRows() {
    static const std::vector<std::vector<std::string>> rows = SplitRows();
    return rows;
}

GridCursor MoveGridCursor(GridCursor cursor, int dx, int dy) {
    const auto& rows = PadCharacterRows();
    cursor.Row = Wrapped(cursor.Row + dy, int(rows.size()));
    const int length = int(rows[size_t(cursor.Row)].size());
    cursor.Column =
        dx != 0 ? Wrapped(cursor.Column + dx, length) : std::min(cursor.Column, length - 1);
    return cursor;
}

const std::string& CharacterAt(GridCursor cursor) {
    return PadCharacterRows()[size_t(cursor.Row)][size_t(cursor.Column)];
}

std::optional<GridCursor> FindOnGrid(const std::string& character) {
    const auto& rows = PadCharacterRows();
    for (size_t row = 0; row < rows.size(); ++row) {
        const auto found = std::find(rows[row].begin(), rows[row].end(), character);
        if (found != rows[row].end()) return GridCursor{int(row), int(found - rows[row].begin())};
    }
    return std::nullopt;
}
