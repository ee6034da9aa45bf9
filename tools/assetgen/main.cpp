// assetgen: writes every data file of the game into a directory (default "assets").
//
//   assetgen [OUTPUT_DIR] [--icons DIR] [--contact-sheet FILE.bmp]
//
// The output is the same, byte for byte, on every run. --icons also writes the desktop icon as
// the hicolor theme lays it out (DIR/16x16/apps/vexlan.png ...; the repository keeps it in
// dist/icons). The contact sheet shows all pictures side by side, enlarged twice, on a dark
// background, for looking the art over.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "assetgen.h"
#include "font.h"

namespace {

struct Picture {
    std::string File;
    std::function<Image()> Make;
    bool Keyed;  // drawn with its colour key in the game
    Rgb Key;
};

std::vector<Picture> Pictures() {
    return {
        {"l_jiki.bmp", MakeShip, true, SpriteKey},
        {"l_tamaMe.bmp", MakeShot, true, SpriteKey},
        {"l_backs.bmp", MakeStreak, true, SpriteKey},
        {"l_baku.bmp", MakeExplosion, true, SpriteKey},
        {"l_tama1234.bmp", MakeSmallBullets, true, SpriteKey},
        {"l_tama5.bmp", MakeHomingBullet, true, SpriteKey},
        {"l_tama6.bmp", MakeBouncingBullet, true, SpriteKey},
        {"l_teki1.bmp", MakeButterfly, true, SpriteKey},
        {"l_teki2.bmp", MakeDog, true, SpriteKey},
        {"l_teki3.bmp", MakeBat, true, SpriteKey},
        {"l_teki4.bmp", MakeBlue, true, SpriteKey},
        {"l_teki5.bmp", MakeSmallFry, true, SpriteKey},
        {"l_teki6.bmp", MakeGreen, true, SpriteKey},
        {"l_boss1.bmp", MakeBoss, true, SpriteKey},
        {"w_vexlan.bmp", MakeLogo, false, {}},
        {"w_start.bmp", [] { return MakeMenuItem("START"); }, true, MenuPanel},
        {"w_score.bmp", [] { return MakeMenuItem("SCORE"); }, true, MenuPanel},
        {"w_option.bmp", [] { return MakeMenuItem("OPTION"); }, true, MenuPanel},
        {"w_end.bmp", [] { return MakeMenuItem("END"); }, true, MenuPanel},
        {"w_gameover.bmp", MakeGameOver, true, SpriteKey},
        {"l_ending1.bmp", MakeEnding1, true, SpriteKey},
        {"l_ending2.bmp", MakeEnding2, true, SpriteKey},
    };
}

std::vector<uint8_t> Bytes(const std::string& s) {
    return {s.begin(), s.end()};
}

struct Placed {
    const Image* Img;
    bool Keyed;
    int X, Y;
    std::string Label;
};

// Lays the pictures out in rows, enlarged twice; menu items a second time as the enlarged,
// unkeyed panel the title shows for the selected item.
std::vector<Placed> Layout(const std::vector<std::pair<Picture, Image>>& pics, int width,
                           int& height) {
    const int gap = 16;
    std::vector<Placed> places;
    int x = gap, y = gap + 12, rowH = 0;
    auto place = [&](const Image& img, bool keyed, const std::string& label) {
        if (x + img.W * 2 > width) x = gap, y += rowH + gap + 12, rowH = 0;
        places.push_back({&img, keyed, x, y, label});
        x += img.W * 2 + gap;
        rowH = std::max(rowH, img.H * 2);
    };
    for (const auto& [pic, img] : pics) {
        place(img, pic.Keyed, pic.File);
        if (pic.Key == MenuPanel) place(img, false, "selected");
    }
    height = y + rowH + gap;
    return places;
}

// Each picture as the game shows it: keyed ones over a dark chequer, unkeyed ones whole.
Image ContactSheet(const std::vector<std::pair<Picture, Image>>& pics) {
    int height = 0;
    const auto places = Layout(pics, 1840, height);
    Image sheet(1840, height);
    for (int j = 0; j < sheet.H; ++j)
        for (int i = 0; i < sheet.W; ++i)
            sheet.Set(i, j, ((i / 8 + j / 8) & 1) ? Rgb{0, 0, 0} : Rgb{10, 10, 16});
    TextStyle label{.Scale = 1, .Spacing = 1, .Gradient = {{200, 200, 210}}, .OutlineWidth = 0};
    for (const auto& p : places) {
        std::string upper = p.Label;
        for (char& ch : upper) ch = char(std::toupper(static_cast<unsigned char>(ch)));
        DrawText(sheet, p.X, p.Y - 10, upper, label);
        for (int j = 0; j < p.Img->H * 2; ++j)
            for (int i = 0; i < p.Img->W * 2; ++i) {
                const bool paint = p.Img->IsSolid(i / 2, j / 2);
                if (p.Keyed && !paint) continue;
                sheet.Set(p.X + i, p.Y + j, paint ? p.Img->At(i / 2, j / 2) : MenuPanel);
            }
    }
    return sheet;
}

void WriteAll(const std::filesystem::path& dir, const std::string& sheetPath) {
    std::filesystem::create_directories(dir);
    std::vector<std::pair<Picture, Image>> made;
    for (const auto& pic : Pictures()) {
        Image img = pic.Make();
        WriteFile((dir / pic.File).string(),
                  pic.Keyed ? EncodeBmp(img, pic.Key) : EncodeBmpOpaque(img));
        made.emplace_back(pic, std::move(img));
    }
    WriteFile((dir / "wavbaku.wav").string(), MakeExplosionWav());
    WriteFile((dir / "m_battle.mid").string(), MakeBattleMidi());
    const char* letters = "enh";
    for (int d = 1; d <= 3; ++d)
        WriteFile((dir / (std::string("teki_") + letters[d - 1] + ".dat")).string(),
                  Bytes(MakeStageScript(d)));
    WriteFile((dir / "readme.txt").string(), Bytes(MakeReadme()));
    if (!sheetPath.empty()) WriteFile(sheetPath, EncodeBmpOpaque(ContactSheet(made)));
}

void WriteIcons(const std::filesystem::path& dir) {
    for (const int size : IconSizes()) {
        const std::string square = std::to_string(size) + "x" + std::to_string(size);
        std::filesystem::create_directories(dir / square / "apps");
        WriteFile((dir / square / "apps" / "vexlan.png").string(), MakeIcon(size));
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::string dir = "assets", sheet, icons;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--contact-sheet" && i + 1 < argc) {
            sheet = argv[++i];
        } else if (arg == "--icons" && i + 1 < argc) {
            icons = argv[++i];
        } else if (!arg.empty() && arg[0] != '-') {
            dir = arg;
        } else {
            std::fprintf(stderr,
                         "usage: assetgen [OUTPUT_DIR] [--icons DIR] [--contact-sheet FILE.bmp]\n");
            return 2;
        }
    }
    try {
        WriteAll(dir, sheet);
        if (!icons.empty()) WriteIcons(icons);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "assetgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
