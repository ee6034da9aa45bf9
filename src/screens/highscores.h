// The high-score table screen and the entry of a new score with the player's name.
#pragma once

#include <string>

void RunHighScoreScreen();
void DrawHighScores();
// After the ending: asks for a name when the score qualifies and sorts it into the table.
void EnterHighScore();
// Whether a text may stand in the name field: nothing the settings file cannot hold.
bool IsStorableName(const std::string& utf8Name);
// Whether a finished name is read back from the settings file exactly as it was typed.
bool IsNameThatReadsBack(const std::string& utf8Name);
