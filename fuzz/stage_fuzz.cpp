// Any bytes given to the stage loader: it either builds tables or reports the file, never
// crashes, never runs away, and never accepts hit points that a hit would take below the
// smallest integer.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "data/stage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    for (uint8_t difficulty = 1; difficulty <= 3; ++difficulty) {
        StageTables tables;
        std::string error;
        if (!ParseStage(bytes, difficulty, tables, error)) continue;
        for (const EnemyRecord& enemy : tables.Enemies) {
            if (enemy.HP < 0) std::abort();
        }
    }
    return 0;
}
