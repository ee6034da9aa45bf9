#include "screens/highscores.h"

#include <utility>

#include "common/number_text.h"
#include "data/settings.h"
#include "game/state.h"
#include "gfx/display.h"
#include "gfx/text.h"
#include "platform/platform.h"
#include "platform/sjis.h"
#include "screens/confirm_key.h"

namespace {

constexpr size_t MaxNameBytes = 49;  // the settings reader gives back no more than this

// Exchanges only strictly smaller scores, so an older entry stays above a newer equal one and
// a new score equal to fifth place ends in the spare slot, unseen.
void SortHighScores() {
    for (int pass = 0; pass < 6; ++pass) {
        for (size_t i = 1; i < HighScoreTable.size(); ++i) {
            if (HighScoreTable[i - 1].Score < HighScoreTable[i].Score)
                std::swap(HighScoreTable[i - 1], HighScoreTable[i]);
        }
    }
}

// A line break or other control character in a name would break the settings file's lines.
bool HasControlCharacter(const std::string& text) {
    for (const unsigned char c : text) {
        if (c < 0x20 || c == 0x7F) return true;
    }
    return false;
}

}  // namespace

void RunHighScoreScreen() {
    SleepMs(500);
    for (;;) {
        ClearSurface(BackBuffer, BlackColour);
        DrawHighScores();
        ShowFrame();
        if (ConfirmPressed()) break;
    }
    SleepMs(500);
}

void DrawHighScores() {
    DrawText("Hiscore Top Five", 20, 20, TextRed, 32);
    for (int32_t i = 0; i < 5; ++i) DrawText(std::to_string(i + 1), 20, 120 + 100 * i, TextRed, 32);
    for (int32_t i = 0; i < 5; ++i) {
        const HighScoreEntry& entry = HighScoreTable[size_t(i)];
        DrawText(NumberText(entry.Score), 160, 120 + 100 * i, TextBlue, 18);
        DrawText(entry.Name, 320, 120 + 100 * i, TextBlue, 18);
    }
    DrawText("Hit Z or Return key to Escape", 120, 570, TextRed, 20);
}

void EnterHighScore() {
    const int32_t newScore = Score;
    if (newScore < HighScoreTable[4].Score || newScore == 0) {
        Score = 0;
        return;
    }
    const std::string name = InputBox("ハイスコアです。名前を入力してください", AppTitle,
                                      IsStorableName, IsNameThatReadsBack);
    if (name.empty()) return;
    HighScoreTable[5] = {newScore, name};
    SortHighScores();
    // Saved at once rather than only at exit, so a crash or a killed process cannot lose it.
    WriteSettings();
}

bool IsStorableName(const std::string& utf8Name) {
    if (utf8Name.find(';') != std::string::npos || HasControlCharacter(utf8Name)) return false;
    std::string cp932;
    if (!Utf8ToCp932(utf8Name, cp932) || cp932.size() > MaxNameBytes) return false;
    // Some characters convert only one way; the name must come back exactly as typed.
    std::string readBack;
    return Cp932ToUtf8(cp932, readBack) && readBack == utf8Name;
}

// Blanks at either end, quotation marks around it, or blanks only would not come back as typed.
// An empty answer stays what it always was: no name.
bool IsNameThatReadsBack(const std::string& utf8Name) {
    return utf8Name.empty() || (IsStorableName(utf8Name) && NameAsReadBack(utf8Name) == utf8Name);
}
