// Any bytes as a bitmap file: decoded within the stated dimensions or refused.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "gfx/bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DecodedBitmap bitmap;
    std::string error;
    if (DecodeBitmap(data, size, bitmap, error) &&
        bitmap.Pixels.size() != size_t(bitmap.Width) * size_t(bitmap.Height))
        std::abort();
    return 0;
}
