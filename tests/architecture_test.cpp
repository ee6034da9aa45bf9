// The layers: the game's logic never talks to SDL directly (only platform/, gfx/ and audio/
// may), and no layer reaches up into one above it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>

namespace fs = std::filesystem;

TEST(Architecture, GameLogicFoldersIncludeNoSdlHeader) {
    const std::regex sdlInclude(R"(^\s*#\s*include\s*[<"]SDL)");
    int filesChecked = 0;
    for (const char* folder : {"game", "data", "screens", "shell"}) {
        for (const auto& entry :
             fs::recursive_directory_iterator(fs::path(VEXLAN_SOURCE_DIR) / "src" / folder)) {
            if (!entry.is_regular_file()) continue;
            std::ifstream in(entry.path());
            std::string line;
            int lineNumber = 0;
            while (std::getline(in, line)) {
                ++lineNumber;
                EXPECT_FALSE(std::regex_search(line, sdlInclude))
                    << entry.path() << ":" << lineNumber << " includes SDL";
            }
            ++filesChecked;
        }
    }
    EXPECT_GT(filesChecked, 10);
}

// Each layer includes only itself and the layers below it: common, then platform, then gfx and
// audio (side by side, neither using the other), then game, data, screens and shell on top.
TEST(Architecture, NoLayerIncludesALayerAboveIt) {
    const std::map<std::string, int> level = {{"common", 0},  {"platform", 1}, {"gfx", 2},
                                              {"audio", 2},   {"game", 3},     {"data", 4},
                                              {"screens", 5}, {"shell", 6}};
    const std::regex projectInclude(R"(^\s*#\s*include\s*"([a-z_]+)/)");
    int includesChecked = 0;
    for (const auto& entry :
         fs::recursive_directory_iterator(fs::path(VEXLAN_SOURCE_DIR) / "src")) {
        if (!entry.is_regular_file()) continue;
        const fs::path relative = fs::relative(entry.path(), fs::path(VEXLAN_SOURCE_DIR) / "src");
        const std::string layer = relative.begin()->string();
        if (!level.count(layer)) continue;  // main.cpp
        std::ifstream in(entry.path());
        std::string line;
        std::smatch match;
        while (std::getline(in, line)) {
            if (!std::regex_search(line, match, projectInclude)) continue;
            const std::string included = match[1];
            ASSERT_TRUE(level.count(included)) << relative << " includes " << line;
            EXPECT_TRUE(included == layer || level.at(included) < level.at(layer))
                << relative << " reaches up into " << included << "/: " << line;
            ++includesChecked;
        }
    }
    EXPECT_GT(includesChecked, 100);
}
