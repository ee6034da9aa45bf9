#include "platform/sjis.h"

#include <iconv.h>

#include <cerrno>

namespace {

// Converts the whole text or nothing: an invalid sequence or a character without a counterpart
// fails the conversion rather than being dropped or replaced.
bool Convert(const char* to, const char* from, const std::string& in, std::string& out) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    std::string result;
    result.resize(in.size() * 4 + 16);
    char* inPtr = const_cast<char*>(in.data());
    size_t inLeft = in.size();
    char* outPtr = result.data();
    size_t outLeft = result.size();
    const size_t status = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (status == static_cast<size_t>(-1) || inLeft != 0) return false;
    result.resize(result.size() - outLeft);
    out = std::move(result);
    return true;
}

}  // namespace

bool Cp932ToUtf8(const std::string& cp932, std::string& utf8) {
    return Convert("UTF-8", "CP932", cp932, utf8);
}

bool Utf8ToCp932(const std::string& utf8, std::string& cp932) {
    return Convert("CP932", "UTF-8", utf8, cp932);
}
