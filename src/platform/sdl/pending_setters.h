// LEAD: DELETE AT MERGE (this file and pending_setters.cpp). Stand-ins for the setters the audio
// and presenter branches provide, with their very signatures, so that the settings dialog is
// built and tried before they land. At merge the dialog includes platform/platform.h for the
// picture's turn, and src/main.cpp the audio header for the four volume functions.
#pragma once

void SetPictureRotation(int degrees);
int PictureRotation();

void SetMusicVolume(int percent);
int MusicVolume();
void SetEffectsVolume(int percent);
int EffectsVolume();
