// LEAD: DELETE AT MERGE (this file and pending_setters.cpp). A stand-in for the picture's turn,
// which the presenter branch provides in platform/platform.h with this very signature.
#pragma once

void SetPictureRotation(int degrees);
int PictureRotation();
