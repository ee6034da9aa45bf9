#include "platform/sjis.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace {

const iconv_t NoConverter = reinterpret_cast<iconv_t>(-1);

// Converts the whole text or nothing: an invalid sequence or a character without a counterpart
// fails the conversion rather than being dropped or replaced.
bool Convert(iconv_t cd, const std::string& in, std::string& out) {
    // ASCII stands for itself in both encodings, and it is most of what the game converts.
    if (std::all_of(in.begin(), in.end(), [](char c) { return (c & 0x80) == 0; })) {
        out = in;
        return true;
    }
    if (cd == NoConverter) return false;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);  // the initial state, whatever came before
    std::string result;
    result.resize(in.size() * 4 + 16);
    char* inPtr = const_cast<char*>(in.data());
    size_t inLeft = in.size();
    char* outPtr = result.data();
    size_t outLeft = result.size();
    const size_t status = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    if (status == static_cast<size_t>(-1) || inLeft != 0) return false;
    result.resize(result.size() - outLeft);
    out = std::move(result);
    return true;
}

}  // namespace

// Each direction is opened once for the program: opening costs far more than converting a short
// text, and the stage loader converts every field of a script on its own.
bool Cp932ToUtf8(const std::string& cp932, std::string& utf8) {
    static const iconv_t FromCp932 = iconv_open("UTF-8", "CP932");
    return Convert(FromCp932, cp932, utf8);
}

bool Utf8ToCp932(const std::string& utf8, std::string& cp932) {
    static const iconv_t ToCp932 = iconv_open("CP932", "UTF-8");
    return Convert(ToCp932, utf8, cp932);
}
