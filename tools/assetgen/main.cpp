// assetgen: writes every data file of the game into a directory (default "assets").
//
//   assetgen [OUTPUT_DIR] [--contact-sheet FILE.bmp]
//
// The output is the same, byte for byte, on every run. The contact sheet shows all pictures
// side by side, enlarged twice, on a dark background, for looking the art over.
#include <algorithm>
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

std::vector<uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

// Lays the pictures out in rows, each as the game shows it: keyed ones over the background,
// unkeyed ones with their own background; menu items a second time as the enlarged panel.
Image ContactSheet(const std::vector<std::pair<Picture, Image>>& pics) {
    const int scale = 2, width = 1840, gap = 16;
    struct Place { const Image* Img; bool Keyed; int X, Y, Zoom; std::string Label; };
    std::vector<Place> places;
    int x = gap, y = gap + 12, rowH = 0;
    auto place = [&](const Image& img, bool keyed, int zoom, const std::string& label) {
        if (x + img.W * zoom > width) x = gap, y += rowH + gap + 12, rowH = 0;
        places.push_back({&img, keyed, x, y, zoom, label});
        x += img.W * zoom + gap;
        rowH = std::max(rowH, img.H * zoom);
    };
    for (const auto& [pic, img] : pics) {
        place(img, pic.Keyed, scale, pic.File);
        if (pic.Key == MenuPanel) place(img, false, scale, "SELECTED");
    }
    Image sheet(width, y + rowH + gap);
    for (int j = 0; j < sheet.H; ++j)
        for (int i = 0; i < sheet.W; ++i) sheet.Set(i, j, ((i / 8 + j / 8) & 1) ? Rgb{0, 0, 0} : Rgb{10, 10, 16});
    TextStyle label{.Scale = 1, .Spacing = 1, .Gradient = {{200, 200, 210}}, .OutlineWidth = 0};
    for (const auto& p : places) {
        std::string upper = p.Label;
        for (char& ch : upper) ch = char(std::toupper(static_cast<unsigned char>(ch)));
        DrawText(sheet, p.X, p.Y - 10, upper, label);
        for (int j = 0; j < p.Img->H * p.Zoom; ++j)
            for (int i = 0; i < p.Img->W * p.Zoom; ++i) {
                const int sx = i / p.Zoom, sy = j / p.Zoom;
                if (p.Keyed && !p.Img->IsSolid(sx, sy)) continue;
                const bool panel = !p.Img->IsSolid(sx, sy);
                sheet.Set(p.X + i, p.Y + j, panel ? MenuPanel : p.Img->At(sx, sy));
            }
    }
    return sheet;
}

void WriteAll(const std::filesystem::path& dir, const std::string& sheetPath) {
    std::filesystem::create_directories(dir);
    std::vector<std::pair<Picture, Image>> made;
    for (const auto& pic : Pictures()) {
        Image img = pic.Make();
        WriteFile((dir / pic.File).string(), pic.Keyed ? EncodeBmp(img, pic.Key) : EncodeBmpOpaque(img));
        made.emplace_back(pic, std::move(img));
    }
    WriteFile((dir / "wavbaku.wav").string(), MakeExplosionWav());
    WriteFile((dir / "m_battle.mid").string(), MakeBattleMidi());
    const char* letters = "enh";
    for (int d = 1; d <= 3; ++d)
        WriteFile((dir / (std::string("teki_") + letters[d - 1] + ".dat")).string(), Bytes(MakeStageScript(d)));
    WriteFile((dir / "readme.txt").string(), Bytes(MakeReadme()));
    if (!sheetPath.empty()) WriteFile(sheetPath, EncodeBmpOpaque(ContactSheet(made)));
}

}  // namespace

int main(int argc, char** argv) {
    std::string dir = "assets", sheet;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--contact-sheet" && i + 1 < argc) {
            sheet = argv[++i];
        } else if (!arg.empty() && arg[0] != '-') {
            dir = arg;
        } else {
            std::fprintf(stderr, "usage: assetgen [OUTPUT_DIR] [--contact-sheet FILE.bmp]\n");
            return 2;
        }
    }
    try {
        WriteAll(dir, sheet);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "assetgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
