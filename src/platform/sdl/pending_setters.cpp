// LEAD: DELETE AT MERGE. A minimal stand-in: it keeps the value and turns nothing.
#include "platform/sdl/pending_setters.h"

namespace {
int Rotation = 0;
}  // namespace

void SetPictureRotation(int degrees) {
    Rotation = degrees;
}
int PictureRotation() {
    return Rotation;
}
