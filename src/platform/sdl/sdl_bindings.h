// The keys and pad buttons in use behind the player's actions (platform/bindings.h), kept in
// the settings file's sections "[keys]" (SDL key names) and "[pad]" (SDL game-controller button
// names, and the stick's dead zone). F11, Alt+Enter, the settings key F9, the replay list's F8
// and the pad's guide button are the window's own and cannot be bound; nor can Alt, Ctrl and the
// logo key, whose chords are the desktop's.
#pragma once

#include <SDL.h>

#include "platform/bindings.h"

// F9 opens the settings on every screen; so does a pad's guide button.
constexpr SDL_Keycode SettingsKey = SDLK_F9;
constexpr SDL_GameControllerButton SettingsButton = SDL_CONTROLLER_BUTTON_GUIDE;
// F8 opens the replay list on every screen.
constexpr SDL_Keycode ReplayListKey = SDLK_F8;

// Keys are numbered by their SDL key code; the numeric keypad by its place, whatever NumLock.
InputCode KeyCodeOf(const SDL_Keysym& key);
// Buttons are numbered one above their SDL number, so that none is 0.
InputCode ButtonCodeOf(SDL_GameControllerButton button);
SDL_GameControllerButton ButtonOfCode(InputCode code);

const InputNames& KeyNames();
const InputNames& PadNames();
bool MayBindKey(InputCode code);
bool MayBindButton(InputCode code);

const Bindings& KeyBindings();
const Bindings& PadBindings();
const Bindings& DefaultKeyBindings();
const Bindings& DefaultPadBindings();
void SetKeyBindings(const Bindings& bindings);
void SetPadBindings(const Bindings& bindings);

// The game's virtual key a key or button of an action presses: the arrows for the moves (the
// keypad's own keys for keypad keys, which steer the ship and leave the menus alone), Z, Return
// and Escape. The keyboard's pause keys press none; the pad's pause button is Return as well,
// as Start always was. 0 for none.
int VirtualKeyForKey(Action action, InputCode key);
int VirtualKeyForButton(Action action);

// How far a stick must be pushed, in percent of its travel, before it counts.
constexpr int DefaultDeadZonePercent = 35;
constexpr int MinDeadZonePercent = 5;
constexpr int MaxDeadZonePercent = 90;
constexpr int DeadZoneStepPercent = 5;  // in the settings dialog
int DeadZonePercent();
void SetDeadZonePercent(int percent);
// The dead zone in the stick's own units (of 32767).
int DeadZone();

// Pads SDL does not know: the mappings of a "gamecontrollerdb.txt" beside the player's
// settings file (SDL_GAMECONTROLLERCONFIG is SDL's own).
void LoadPadMappings();
