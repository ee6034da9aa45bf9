// The game's logic never talks to SDL directly: only platform/, gfx/ and audio/ may.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
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
