// Where the real game's files are: found from the binary's own place on this machine.
#include <filesystem>

#include "platform/platform.h"

namespace {

std::string BinaryDirectory() {
    std::error_code error;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return ".";
    return exe.parent_path().string();
}

}  // namespace

std::string ProgramDirectory() {
    return LocateProgramDir(BinaryDirectory());
}

SettingsFiles SettingsFilesFor(const std::string& programDir) {
    return LocateSettingsFiles(programDir, BinaryDirectory());
}
