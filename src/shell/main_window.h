// The game window's handlers: load, unload (the program's only way out), the help menu.
#pragma once

void Form_Load();
[[noreturn]] void Form_Unload();
void mnuReadMe_Click();
void mnuAbout_Click();
// A fatal error still keeps the session's settings and high scores, once they were read.
void SaveBeforeFatalExit();
