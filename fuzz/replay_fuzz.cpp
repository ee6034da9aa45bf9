// Any bytes as a replay: reading never crashes, and what it accepts it writes back the same.
// Damage is caught by the file's CRC long before the fields are read, so each input is also
// read with its last four bytes made the CRC of the rest: the fuzzer then reaches every field.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "data/replay_file.h"

namespace {

void ReadAndWriteBack(const std::string& bytes) {
    Replay replay;
    std::string problem;
    if (!DecodeReplay(bytes, replay, problem)) {
        if (problem.empty()) std::abort();  // a refusal always says why
        return;
    }
    const std::string written = EncodeReplay(replay);
    Replay again;
    if (!DecodeReplay(written, again, problem) || EncodeReplay(again) != written) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    ReadAndWriteBack(bytes);
    if (size < 4) return 0;
    const size_t body = size - 4;
    const auto crc = static_cast<uint32_t>(crc32(0, data, static_cast<uInt>(body)));
    for (size_t i = 0; i < 4; ++i) bytes[body + i] = static_cast<char>((crc >> (8 * i)) & 0xFF);
    ReadAndWriteBack(bytes);
    return 0;
}
