// Any bytes given to the stage loader: it either builds tables or reports the file, never
// crashes, never runs away.
#include <cstddef>
#include <cstdint>

#include "data/stage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    for (uint8_t difficulty = 1; difficulty <= 3; ++difficulty) {
        StageTables tables;
        std::string error;
        ParseStage(bytes, difficulty, tables, error);
    }
    return 0;
}
