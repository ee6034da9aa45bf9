#include "platform/controls.h"

#include <algorithm>
#include <cstring>
#include <sstream>

std::string ControlsText(size_t width) {
    constexpr size_t Indent = 2;
    constexpr size_t Gap = 2;  // between the keys and their use
    size_t keysWidth = 0;
    for (const ControlRow& row : Controls) keysWidth = std::max(keysWidth, std::strlen(row.Keys));
    const size_t useColumn = Indent + keysWidth + Gap;
    std::string text;
    for (const ControlRow& row : Controls) {
        std::string line = std::string(Indent, ' ') + row.Keys;
        std::istringstream words(row.Use);
        for (std::string word; words >> word;) {
            const bool first = line.size() < useColumn;
            if (!first && line.size() + 1 + word.size() > width) {
                text += line + "\n";
                line.clear();
            }
            line.resize(std::max(line.size(), useColumn), ' ');
            if (line.size() > useColumn) line += ' ';
            line += word;
        }
        text += line + "\n";
    }
    return text;
}
