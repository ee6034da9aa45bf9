// Any bytes as a replay: reading never crashes, and what it accepts it writes back the same.
// Damage is caught by the file's CRC long before the fields are read, so each input is also
// read with its last four bytes made the CRC of the rest: the fuzzer then reaches every field.
// Each is also a file of a replays folder, as the replay list reads it: listed once, never a
// crash, and a file it cannot read says why.
#include <unistd.h>
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "data/replay_file.h"
#include "shell/replay_list.h"

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

// A folder of the fuzzer's own, removed when it ends.
struct ScratchFolder {
    ScratchFolder() { std::filesystem::create_directories(Path); }
    ~ScratchFolder() { std::filesystem::remove_all(Path); }
    const std::string Path = (std::filesystem::temp_directory_path() /
                              ("vexlan-replay-fuzz-" + std::to_string(getpid())))
                                 .string();
};

const std::string& Folder() {
    static const ScratchFolder folder;
    return folder.Path;
}

void ListAsAFile(const std::string& bytes) {
    std::ofstream(Folder() + "/game.vxr", std::ios::binary | std::ios::trunc) << bytes;
    const ReplayFolderList list = ReadReplayFolder(Folder());
    if (list.Replays.size() != 1 || list.Cut) std::abort();
    const ListedReplay& listed = list.Replays.front();
    if (listed.File != "game.vxr") std::abort();
    if (!listed.Read && listed.Problem.empty()) std::abort();  // a file it cannot read says why
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    ReadAndWriteBack(bytes);
    ListAsAFile(bytes);
    if (size < 4) return 0;
    const size_t body = size - 4;
    const auto crc = static_cast<uint32_t>(crc32(0, data, static_cast<uInt>(body)));
    for (size_t i = 0; i < 4; ++i) bytes[body + i] = static_cast<char>((crc >> (8 * i)) & 0xFF);
    ReadAndWriteBack(bytes);
    ListAsAFile(bytes);
    return 0;
}
