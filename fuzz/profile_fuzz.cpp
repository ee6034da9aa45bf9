// Any bytes as data.ini: reading keys never crashes and never returns more than asked for, and
// a key written into what was read reads back. The file lives in a folder of the fuzzer's own,
// removed when it ends.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/profile.h"

namespace {

std::string Folder;

void RemoveFolder() {
    rmdir(Folder.c_str());
}

const std::string& FuzzFile() {
    static const std::string file = [] {
        const char* temporary = std::getenv("TMPDIR");
        std::string pattern = std::string(temporary && *temporary ? temporary : "/tmp") +
                              "/vexlan-profile-fuzz-XXXXXX";
        if (!mkdtemp(pattern.data())) std::abort();
        Folder = pattern;
        std::atexit(RemoveFolder);
        return Folder + "/data.ini";
    }();
    return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& file = FuzzFile();
    FILE* out = std::fopen(file.c_str(), "wb");  // in the fuzzer's own folder: no one else's
    if (!out) std::abort();
    std::fwrite(data, 1, size, out);
    std::fclose(out);
    ProfileDocument document;
    const bool read = LoadProfile(file, document);
    std::remove(file.c_str());  // gone after every input: a fuzzer may end without running exit
    if (!read) std::abort();    // inputs are far below the size limit
    for (const char* key : {"score1", "name1", "midi", "Wav", "Diffculty", "ver"}) {
        const std::string value = ProfileString(document, "data", key, "", 49);
        if (value.size() > 49 * 3) std::abort();  // at most 49 CP932 bytes, at most 3 each in UTF-8
    }
    if (!PutProfileString(document, "data", "score1", "12345")) std::abort();
    if (ProfileString(document, "data", "score1", "", 49) != "12345") std::abort();
    return 0;
}
