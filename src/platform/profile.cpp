// To be filled in by its own issue.
#include "platform/profile.h"

std::string GetProfileString(const std::string&, const std::string&, const std::string&, const std::string& fallback, size_t) { return fallback; }
bool WriteProfileString(const std::string&, const std::string&, const std::string&, const std::string&) { return false; }
