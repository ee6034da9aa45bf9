#include "platform/font_file.h"

#include <fontconfig/fontconfig.h>

#include "platform/platform.h"

namespace {

std::string FontconfigFamily(const std::string& faceName) {
    if (faceName == "ＭＳ Ｐゴシック") return "IPAPGothic";
    if (faceName == "ＭＳ ゴシック") return "IPAGothic";
    return faceName;
}

// A configuration of our own, dropped once the file is found: fontconfig's shared one may be in
// use by others in the process (the Wayland window's title bar draws its text with it), and
// ending it under them aborts the program.
std::string FindFontFile(const std::string& family) {
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (!config) return {};
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    std::string file;
    FcChar8* path = nullptr;
    if (match && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch)
        file = reinterpret_cast<const char*>(path);
    if (match) FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    FcConfigDestroy(config);
    return file;
}

}  // namespace

std::string FontFileOrExit(const std::string& faceName) {
    std::string file = FindFontFile(FontconfigFamily(faceName));
    if (file.empty())
        FatalError("No usable font was found for \"" + faceName +
                   "\". Install fonts-ipafont-gothic.");
    return file;
}

const std::string& WindowFontFile() {
    static const std::string file = FontFileOrExit("ＭＳ Ｐゴシック");
    return file;
}
