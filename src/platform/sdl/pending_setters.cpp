// LEAD: DELETE AT MERGE. Minimal stand-ins: they keep the value and do nothing else (no turned
// picture, no mixing, nothing saved). See pending_setters.h.
#include "platform/sdl/pending_setters.h"

namespace {
int Rotation = 0;
int Music = 100;
int Effects = 100;
}  // namespace

void SetPictureRotation(int degrees) {
    Rotation = degrees;
}
int PictureRotation() {
    return Rotation;
}
void SetMusicVolume(int percent) {
    Music = percent;
}
int MusicVolume() {
    return Music;
}
void SetEffectsVolume(int percent) {
    Effects = percent;
}
int EffectsVolume() {
    return Effects;
}
