// To be filled in by its own issue.
#include "data/settings.h"

std::string ReadIniValue(const std::string&, const std::string&, const std::string&, const std::string& fallback) { return fallback; }
void WriteIniValue(const std::string&, const std::string&, const std::string&, const std::string&) {}
void ReadSettings() {}
void WriteSettings() {}
