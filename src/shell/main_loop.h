// The frame pass per game mode and a game played from its reset to its end: what a played and
// a replayed game share. The program around them (title, recording) is shell/program.h.
#pragma once

#include <cstdint>

// What the program sets up once before its first title: settings, display, sound, the frame
// period and the sprites. Returns the back buffer's clear colour.
int32_t InitialiseOnce();
// One frame pass. Returns false when the game has ended and the title comes next.
bool RunFramePass(int32_t clearColour);
// Frame passes from a new game's reset until the game has ended; returns the score when play
// ended (the name entry may clear it afterwards).
int32_t PlayGame(int32_t clearColour);
