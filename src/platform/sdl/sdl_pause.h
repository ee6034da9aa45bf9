// The pause: when the window loses the keyboard focus or is minimised, and when the player
// presses P, Pause or a pad's Start during play, the game stands still between two frames, its
// sounds paused, the last frame shown dimmed under "PAUSE".
#pragma once

#include <SDL.h>

#include <functional>

// Takes note of what starts or ends a pause: focus and minimising from window events, P and
// Pause from key presses.
void NotePauseEvent(const SDL_Event& event);
// A gamepad's Start, which pauses play as P does.
void NotePauseButton();
// Space while a replay is watched: pauses or resumes it.
void TogglePlayerPause();
// Called in the frame wait: where a pause was asked for, holds the game until it ends. Events
// go to `handle` meanwhile, which must pass them to NotePauseEvent: keys (a key released now
// must not stay down; P ends the pause), focus, and the close box, which ends the program from
// here.
void PauseIfAsked(const std::function<void(const SDL_Event&)>& handle);
// Pauses the effects, and the tune if it is playing; returns whether it was. The tune resumes
// where it stopped, and only if it was playing: a tune the game itself paused stays paused.
bool HoldSounds();
void ReleaseSounds(bool musicHeld);
