#include "platform/data_paths.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr const char* GameFolder = "vexlan";
// A file every data folder has: the ship's picture is loaded at every start.
constexpr const char* MarkerFile = "l_jiki.bmp";

std::string Normal(const fs::path& path) {
    std::string text = path.lexically_normal().string();
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// $HOME, else the account's home in the password database (root started with an empty
// environment has one there), else none.
std::string HomeFolder() {
    const std::string home = Environment("HOME");
    if (!home.empty()) return home;
    const passwd* account = getpwuid(getuid());
    return account && account->pw_dir ? account->pw_dir : "";
}

}  // namespace

std::string CacheFolder() {
    const std::string cacheHome = Environment("XDG_CACHE_HOME");
    if (!cacheHome.empty() && cacheHome.front() == '/') return cacheHome + "/" + GameFolder;
    const std::string home = HomeFolder();
    return home.empty() ? "" : home + "/.cache/" + GameFolder;
}

std::string ChooseProgramDir(const std::string& binaryDir, const PathQuery& holdsGameData) {
    const fs::path binary = Normal(binaryDir);
    const fs::path prefix = binary.parent_path();
    for (const fs::path& candidate :
         {binary, prefix / "share" / GameFolder, prefix / "share" / "games" / GameFolder}) {
        if (holdsGameData(Normal(candidate))) return Normal(candidate);
    }
    return Normal(binary);
}

SettingsFiles ChooseSettingsFiles(const SettingsFacts& facts) {
    const std::string shipped = facts.ProgramDir + "/data.ini";
    if (facts.BesideBinary && facts.Writable(facts.ProgramDir)) return {shipped, shipped};
    fs::path dataHome = facts.XdgDataHome;
    if (!dataHome.is_absolute()) {
        // Without a home either there is no folder of the player's own, and the shared one is
        // not the player's: nothing is written.
        if (facts.Home.empty()) return {shipped, ""};
        dataHome = fs::path(facts.Home) / ".local" / "share";
    }
    const std::string own = Normal(dataHome / GameFolder / "data.ini");
    return {facts.Exists(own) ? own : shipped, own};
}

std::string LocateProgramDir(const std::string& binaryDir) {
    return ChooseProgramDir(binaryDir, [](const std::string& dir) {
        return access((dir + "/" + MarkerFile).c_str(), R_OK) == 0;
    });
}

SettingsFiles LocateSettingsFiles(const std::string& programDir, const std::string& binaryDir) {
    SettingsFacts facts;
    facts.ProgramDir = programDir;
    facts.BesideBinary = Normal(programDir) == Normal(binaryDir);
    facts.XdgDataHome = Environment("XDG_DATA_HOME");
    facts.Home = HomeFolder();
    facts.Writable = [](const std::string& dir) { return access(dir.c_str(), W_OK) == 0; };
    facts.Exists = [](const std::string& file) { return access(file.c_str(), F_OK) == 0; };
    return ChooseSettingsFiles(facts);
}

bool MakeFolderFor(const std::string& file, std::string& reason) {
    // Each folder made is the player's alone (0700), as the XDG base directory rules ask.
    fs::path made;
    for (const fs::path& part : fs::path(file).parent_path()) {
        made /= part;
        struct stat info {};
        if (mkdir(made.c_str(), 0700) == 0) continue;
        if (errno == EEXIST && stat(made.c_str(), &info) == 0 && !S_ISDIR(info.st_mode))
            errno = ENOTDIR;
        if (errno == EEXIST) continue;
        reason = std::strerror(errno);
        return false;
    }
    return true;
}
