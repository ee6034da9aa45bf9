#include "shell/replay_history.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "game/difficulty.h"

namespace {

// "easy", "normal", "hard"; a difficulty the game does not know is named by its number.
std::string DifficultyWord(uint8_t difficulty) {
    const DifficultyValues* values = DifficultyValuesFor(difficulty);
    if (!values) return "level" + std::to_string(difficulty);
    std::string word = values->Name;
    for (char& c : word) c = char(std::tolower(static_cast<unsigned char>(c)));
    return word;
}

bool AllDigits(const std::string& text, size_t from, size_t count) {
    if (from + count > text.size() || count == 0) return false;
    return std::all_of(text.begin() + long(from), text.begin() + long(from + count),
                       [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; });
}

}  // namespace

std::string HistoryName(std::time_t when, uint8_t difficulty, int32_t score) {
    std::tm local{};
    localtime_r(&when, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S", &local);
    return std::string(stamp) + "_" + DifficultyWord(difficulty) + "_" + std::to_string(score) +
           ".vxr";
}

// "YYYY-MM-DD_HH-MM-SS_" then a word of letters and digits, "_", a score (a minus allowed), an
// optional "-N", ".vxr".
bool IsHistoryName(const std::string& name) {
    constexpr size_t StampLength = 19;
    const std::string pattern = "dddd-dd-dd_dd-dd-dd";
    if (name.size() <= StampLength + 1 || !name.ends_with(".vxr")) return false;
    for (size_t i = 0; i < StampLength; ++i) {
        const bool digit = std::isdigit(static_cast<unsigned char>(name[i])) != 0;
        if (pattern[i] == 'd' ? !digit : name[i] != pattern[i]) return false;
    }
    if (name[StampLength] != '_') return false;
    const std::string rest = name.substr(StampLength + 1, name.size() - StampLength - 5);
    const size_t underscore = rest.find('_');
    if (underscore == std::string::npos || underscore == 0) return false;
    for (size_t i = 0; i < underscore; ++i)
        if (!std::isalnum(static_cast<unsigned char>(rest[i]))) return false;
    size_t at = underscore + 1;
    if (at < rest.size() && rest[at] == '-') ++at;
    const size_t dash = rest.find('-', at);
    const size_t scoreEnd = dash == std::string::npos ? rest.size() : dash;
    if (!AllDigits(rest, at, scoreEnd - at)) return false;
    return dash == std::string::npos || AllDigits(rest, dash + 1, rest.size() - dash - 1);
}

std::vector<std::string> HistoryFiles(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (IsHistoryName(name) && entry->is_regular_file(error)) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string FreeHistoryFile(const std::string& folder, std::time_t when, uint8_t difficulty,
                            int32_t score) {
    const std::string name = HistoryName(when, difficulty, score);
    const std::string stem = folder + "/" + name.substr(0, name.size() - 4);
    std::string file = stem + ".vxr";
    std::error_code unknown;
    for (int again = 2; std::filesystem::exists(file, unknown); ++again)
        file = stem + "-" + std::to_string(again) + ".vxr";
    return file;
}

void TrimHistory(const std::string& folder) {
    const std::vector<std::string> names = HistoryFiles(folder);
    if (names.size() <= HistoryLength) return;
    std::error_code ignored;  // a file that will not go is tried again after the next game
    for (size_t i = 0; i + HistoryLength < names.size(); ++i)
        std::filesystem::remove(folder + "/" + names[i], ignored);
}
