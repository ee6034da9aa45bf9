// The settings dialog "設定": the keys and the pad buttons behind the player's actions, the
// stick's dead zone, the music's and the effects' volume and the picture's turn, each page with
// "初期設定に戻す". Opened from the View menu, by F9 on every screen (the pause included) and
// by a pad's guide button; worked with the keyboard, the mouse or a pad alone. Every change
// applies at once and is saved with the other settings.
#pragma once

// F9 or the guide button was pressed: the dialog opens at the next OpenSettingsIfAsked, once
// the events being taken have been taken.
void AskForSettings();
void OpenSettingsIfAsked();
// Runs the dialog until it is closed.
void ShowSettingsDialog();
