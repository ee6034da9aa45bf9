// Any bytes as data.ini: reading keys never crashes and never returns more than asked for.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/profile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string file = "/tmp/vexlan-profile-fuzz-" + std::to_string(getpid()) + ".ini";
    FILE* out = std::fopen(file.c_str(), "wb");
    if (!out) return 0;
    std::fwrite(data, 1, size, out);
    std::fclose(out);
    for (const char* key : {"score1", "name1", "midi", "Wav", "Diffculty", "ver"}) {
        const std::string value = GetProfileString(file, "data", key, "", 49);
        if (value.size() > 49 * 3) std::abort();  // at most 49 CP932 bytes, at most 3 each in UTF-8
    }
    std::remove(file.c_str());  // gone after every input: a fuzzer may end without running exit
    return 0;
}
