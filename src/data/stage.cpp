// To be filled in by its own issue.
#include "data/stage.h"

bool ParseStage(const std::string&, uint8_t, StageTables&, std::string&) { return false; }
bool LoadStage() { return true; }
