// The name dialog's character grid, for players with a gamepad and no keyboard: Latin capitals
// and small letters, digits, a blank and the katakana syllabary, one character to a cell. The
// pad moves a cursor over it; the dialog types the character under the cursor.
#pragma once

#include <optional>
#include <string>
#include <vector>

// The grid's rows, each a list of characters (UTF-8); rows differ in length.
const std::vector<std::vector<std::string>>& PadCharacterRows();

struct GridCursor {
    int Row = 0;
    int Column = 0;
};
// One step left, right (dx), up or down (dy). Left and right wrap round within the row, up and
// down round the grid; a shorter row takes the cursor to its last cell.
GridCursor MoveGridCursor(GridCursor cursor, int dx, int dy);
const std::string& CharacterAt(GridCursor cursor);
// Where a character is on the grid, if it is.
std::optional<GridCursor> FindOnGrid(const std::string& character);
