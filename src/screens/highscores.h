// The high-score table screen and the entry of a new score with the player's name.
#pragma once

#include <string>

void RunHighScoreScreen();
void DrawHighScores();
// After the ending: asks for a name when the score qualifies and sorts it into the table.
void EnterHighScore();
// Whether a name can be stored in the settings file and read back unchanged.
bool IsStorableName(const std::string& utf8Name);
