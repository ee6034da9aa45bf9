// To be filled in by its own issue.
#include "platform/sjis.h"

bool Cp932ToUtf8(const std::string&, std::string&) { return false; }
bool Utf8ToCp932(const std::string&, std::string&) { return false; }
