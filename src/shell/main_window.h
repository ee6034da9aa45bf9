// The game window's handlers: load, unload (the program's only way out), the help menu.
#pragma once

#include <string>

inline const std::string AppTitle = "Vexlan ";  // the window caption, trailing blank included

void Form_Load();
[[noreturn]] void Form_Unload();
void mnuReadMe_Click();
void mnuAbout_Click();
