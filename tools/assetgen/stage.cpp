// teki_e.dat, teki_n.dat, teki_h.dat: the stage of each difficulty.
//
// Script format (CP932 text, CR LF): blocks of a keyword line, a hit-point line and one line
// per enemy, closed by "#End"; the boss block has a single line and no "#End". Fields per line:
//   #ちょう butterfly   Time, X, DY, Interval          (Y and DX: those of the line before)
//   #青     blue        Time, X, DY, Interval, TurnY, DY2   (starts at y -52)
//   #犬     dog         Time, X, Y
//   #こうもり bat        Time, X, Y, DX, Interval
//   #雑魚   small fry   Time, X, Y, DX, DY, Interval
//   #緑     green       Time, X, Y, DX, DY, Interval, Variant
//   #ボス   boss        Time, X, Y, Sprite
// The generator plays the loader's path builders over every line and refuses to write a
// script that breaks a limit of the loader or leaves enemies on the field when the boss comes.
#include <cfenv>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "assetgen.h"

namespace {

enum class Kind { Butterfly, Blue, Dog, Bat, SmallFry, Green };

const char* Keyword(Kind k) {
    switch (k) {
        case Kind::Butterfly:
            return "#\x82\xbf\x82\xe5\x82\xa4";  // ちょう
        case Kind::Blue:
            return "#\x90\xc2";  // 青
        case Kind::Dog:
            return "#\x8c\xa2";  // 犬
        case Kind::Bat:
            return "#\x82\xb1\x82\xa4\x82\xe0\x82\xe8";  // こうもり
        case Kind::SmallFry:
            return "#\x8e\x47\x8b\x9b";  // 雑魚
        case Kind::Green:
            return "#\x97\xce";  // 緑
    }
    return "";
}
const char* const BossKeyword = "#\x83\x7b\x83\x58";  // ボス

struct Spawn {
    Kind K;
    int Time, X, Y, DX, DY, Interval, TurnY, DY2, Variant;
    std::vector<int> Fields() const {
        switch (K) {
            case Kind::Butterfly:
                return {Time, X, DY, Interval};
            case Kind::Blue:
                return {Time, X, DY, Interval, TurnY, DY2};
            case Kind::Dog:
                return {Time, X, Y};
            case Kind::Bat:
                return {Time, X, Y, DX, Interval};
            case Kind::SmallFry:
                return {Time, X, Y, DX, DY, Interval};
            case Kind::Green:
                return {Time, X, Y, DX, DY, Interval, Variant};
        }
        return {};
    }
};

// Base hit points (the block value) per kind for Easy, Normal, Hard. Easy enemies are softer
// and Hard ones tougher even though the loader scales the other way (Easy x1.2, Hard x0.8).
int BlockValue(Kind k, int difficulty) {
    static const int table[6][3] = {{3, 5, 7}, {16, 24, 34}, {8, 12, 16},
                                    {4, 6, 9}, {2, 3, 4},    {7, 10, 15}};
    return table[int(k)][difficulty - 1];
}

double HitPointFactor(int d) {
    return d == 1 ? 1.2 : d == 3 ? 0.8 : 1.0;
}
double IntervalFactor(int d) {
    return d == 1 ? 0.8 : d == 3 ? 1.2 : 1.0;
}
int RoundEven(double v) {
    return int(std::nearbyint(v));
}  // the default rounding: ties to even

class Stage {
public:
    explicit Stage(int difficulty) : D(difficulty) {}
    bool Easy() const { return D == 1; }
    bool Hard() const { return D == 3; }
    // Pick a number by difficulty.
    int By(int easy, int normal, int hard) const { return Easy() ? easy : Hard() ? hard : normal; }

    void Fry(int t, int x, int y, int dx, int dy, int iv) {
        Add({Kind::SmallFry, t, x, y, dx, dy, Iv(iv), 0, 0, 0});
    }
    void Bat(int t, int x, int y, int dx, int iv) {
        Add({Kind::Bat, t, x, y, dx, 0, Iv(iv), 0, 0, 0});
    }
    void Dog(int t, int x, int y) { Add({Kind::Dog, t, x, y, 0, 0, 0, 0, 0, 0}); }
    void Green(int t, int x, int y, int dx, int dy, int iv, int variant) {
        Add({Kind::Green, t, x, y, dx, dy, Iv(iv), 0, 0, variant});
    }
    void Blue(int t, int x, int dy, int iv, int turnY, int dy2) {
        Add({Kind::Blue, t, x, -52, 0, dy, Iv(iv), turnY, dy2, 0});
    }
    // The butterfly takes its start height and sideways drift from the line before it; the
    // caller states what it expects them to be and the check below holds it to that.
    void Butterfly(int t, int x, int dy, int iv, int expectY, int expectDX) {
        if (Lines.empty() || CarriedY() != expectY || CarriedDX() != expectDX)
            throw std::runtime_error("butterfly at frame " + std::to_string(t) +
                                     " would not start where meant");
        Add({Kind::Butterfly, t, x, expectY, expectDX, dy, Iv(iv), 0, 0, 0});
    }

    std::vector<Spawn> Lines;
    int D;

private:
    // Wave intervals are written for Normal; Easy fires less and Hard more, before the loader
    // applies its own factor.
    int Iv(int normal) const {
        return std::max(1, RoundEven(normal * (Easy() ? 1.5 : Hard() ? 0.65 : 1.0)));
    }
    void Add(const Spawn& s) { Lines.push_back(s); }
    // The Y and DX the loader's working values hold after the lines so far.
    int CarriedY() const {
        for (auto it = Lines.rbegin(); it != Lines.rend(); ++it)
            if (it->K == Kind::Dog || it->K == Kind::Bat || it->K == Kind::SmallFry ||
                it->K == Kind::Green)
                return it->Y;
        return 0;
    }
    int CarriedDX() const {
        for (auto it = Lines.rbegin(); it != Lines.rend(); ++it)
            if (it->K == Kind::Bat || it->K == Kind::SmallFry || it->K == Kind::Green)
                return it->DX;
        return 0;
    }
};

void Opening(Stage& s) {
    for (int i = 0; i < s.By(3, 4, 5); ++i) {
        s.Fry(40 + 36 * i, 130, -26, 0, 5, 40);
        s.Fry(40 + 36 * i, 370, -26, 0, 5, 40);
        if (s.Hard()) s.Fry(58 + 36 * i, 250, -26, 0, 5, 40);
    }
    for (int i = 0; i < s.By(4, 5, 7); ++i) s.Fry(200 + 14 * i, 40, -26, 3, 4, 45);
    for (int i = 0; i < s.By(4, 5, 7); ++i) s.Fry(280 + 14 * i, 460, -26, -3, 4, 45);
    // A small fry leads a column of butterflies down the middle.
    s.Fry(360, 250, -26, 0, 4, 50);
    for (int i = 0; i < s.By(2, 3, 5); ++i) s.Butterfly(380 + 20 * i, 250, 4, 36, -26, 0);
}

void FirstSweep(Stage& s) {
    for (int i = 0; i < s.By(2, 3, 4); ++i) s.Bat(480 + 16 * i, -52, 110, 6, 30);
    for (int i = 0; i < s.By(2, 3, 4); ++i) s.Bat(560 + 16 * i, 552, 190, -6, 30);
    s.Dog(640, 140, 140);
    if (!s.Easy()) s.Dog(680, 360, 140);
    if (s.Hard()) s.Dog(720, 250, 240);
    // Two drifting trails of butterflies, each behind its leader.
    s.Fry(720, 70, -26, 2, 4, 50);
    for (int i = 0; i < s.By(3, 4, 6); ++i) s.Butterfly(735 + 15 * i, 70, 4, 36, -26, 2);
    s.Fry(820, 430, -26, -2, 4, 50);
    for (int i = 0; i < s.By(3, 4, 6); ++i) s.Butterfly(835 + 15 * i, 430, 4, 36, -26, -2);
}

void ArmouredWave(Stage& s) {
    s.Blue(900, 250, 4, 20, 140, -1);
    for (int i = 0; i < s.By(2, 3, 5); ++i) {
        s.Fry(940 + 40 * i, -30, 60, 4, 2, 50);
        s.Fry(960 + 40 * i, 530, 60, -4, 2, 50);
    }
    if (!s.Easy()) {
        s.Blue(980, 110, 5, 20, 100, 2);
        s.Blue(980, 390, 5, 20, 100, 2);
    }
    if (s.Hard()) s.Blue(1040, 250, 5, 14, 180, -2);
    s.Green(1100, 110, -36, 0, 3, 60, 0);
    s.Green(1100, 390, -36, 0, 3, 60, 1);
    if (!s.Easy()) s.Green(1180, 250, -36, 0, 3, 60, 0);
    if (s.Hard()) {
        s.Green(1220, 110, -36, 1, 3, 60, 1);
        s.Green(1220, 390, -36, -1, 3, 60, 0);
    }
}

void Crossfire(Stage& s) {
    for (int i = 0; i < s.By(2, 3, 4); ++i) s.Bat(1250 + 15 * i, -52, 80, 7, 26);
    for (int i = 0; i < s.By(2, 3, 4); ++i) s.Bat(1300 + 15 * i, 552, 160, -7, 26);
    if (s.Hard())
        for (int i = 0; i < 3; ++i) s.Bat(1350 + 15 * i, -52, 240, 7, 26);
    if (s.Easy()) {
        s.Dog(1380, 250, 140);
    } else {
        s.Dog(1380, 100, 120);
        s.Dog(1380, 400, 120);
    }
    if (s.Hard()) {
        s.Dog(1420, 250, 220);
        s.Dog(1460, 100, 320);
        s.Dog(1460, 400, 320);
    }
    // A V of butterflies opening behind a leader.
    s.Fry(1440, 250, -26, 0, 5, 40);
    for (int i = 0; i < s.By(2, 3, 4); ++i) {
        s.Butterfly(1452 + 12 * i, 200 - 50 * i, 5, 30, -26, 0);
        s.Butterfly(1452 + 12 * i, 300 + 50 * i, 5, 30, -26, 0);
    }
}

void FinalRush(Stage& s) {
    s.Green(1520, 20, -30, 2, 3, 60, 0);
    s.Green(1520, 480, -30, -2, 3, 60, 1);
    if (s.Hard()) s.Green(1560, 250, -36, 0, 4, 50, 1);
    if (!s.Easy()) s.Blue(1580, 100, 5, 18, 120, 3);
    s.Blue(1600, 250, 5, 18, 160, 3);
    if (!s.Easy()) s.Blue(1620, 400, 5, 18, 120, 3);
    const int xs[9] = {80, 420, 160, 340, 250, 60, 440, 200, 300};
    for (int i = 0; i < s.By(5, 7, 9); ++i)
        s.Fry(1680 + 12 * i, xs[i], -26, xs[i] < 250 ? 1 : -1, 6, 30);
    if (!s.Easy()) {
        s.Bat(1760, -52, 100, 8, 24);
        s.Bat(1780, 552, 150, -8, 24);
    }
}

// ---- The loader's path builders, played over the script to prove it within the limits. ----

constexpr int LastFrame = 2300;  // the loader's tables end here
constexpr int ClearBy = 2000;    // leave the field empty for a breather before the boss

struct Box {
    int W, H;
    bool Inside(int x, int y) const {
        return -(W / 2) <= x && x <= 500 + W / 2 && -(H / 2) <= y && y <= 600 + H / 2;
    }
};

Box BoxOf(Kind k) {
    switch (k) {
        case Kind::Butterfly:
            return {85, 72};
        case Kind::Blue:
            return {108, 104};
        case Kind::Bat:
            return {106, 72};
        case Kind::SmallFry:
            return {70, 52};
        case Kind::Green:
            return {80, 72};
        case Kind::Dog:
            break;
    }
    return {0, 0};
}

// Frame at which the enemy's path ends; also counts the frames its centre is on screen.
int EndFrame(const Spawn& s, int& onScreen) {
    onScreen = 0;
    if (s.K == Kind::Dog) return onScreen = 36, s.Time + 36;
    const Box box = BoxOf(s.K);
    int x = s.X, y = s.Y, t = s.Time;
    const int dx = s.K == Kind::Blue ? 0 : s.DX;
    int dy = s.DY;
    bool turned = s.K != Kind::Blue;
    while (t < LastFrame + 1) {
        x += dx, y += dy, ++t;
        if (x >= 0 && x <= 500 && y >= 0 && y <= 600) ++onScreen;
        if (!turned) {
            if (s.TurnY - y < s.DY) turned = true, dy = s.DY2;
            continue;
        }
        if (!box.Inside(x, y)) return t;
    }
    return t;
}

void Check(const Stage& st) {
    if (st.Lines.size() > 254) throw std::runtime_error("too many spawn lines");
    for (const auto& s : st.Lines) {
        const std::string at = "line at frame " + std::to_string(s.Time);
        const int hp = s.K == Kind::Dog ? BlockValue(s.K, st.D)
                                        : RoundEven(BlockValue(s.K, st.D) * HitPointFactor(st.D));
        const int iv = RoundEven(s.Interval * IntervalFactor(st.D));
        if (hp < 0 || hp > 255 || iv < 0 || iv > 255)
            throw std::runtime_error(at + ": value out of range");
        if (s.K != Kind::Dog && s.K != Kind::Blue && iv < 1)
            throw std::runtime_error(at + ": zero interval");
        if (s.K == Kind::Dog && (s.X < 42 || s.X > 458 || s.Y < 27 || s.Y > 573))
            throw std::runtime_error(at + ": dog not wholly on screen");
        int onScreen = 0;
        const int end = EndFrame(s, onScreen);
        if (end > ClearBy)
            throw std::runtime_error(at + ": still on the field when the boss comes");
        if (onScreen < 10) throw std::runtime_error(at + ": hardly seen on screen");
    }
}

std::string Encode(const Stage& st) {
    std::string out;
    for (size_t i = 0; i < st.Lines.size();) {
        const Kind k = st.Lines[i].K;
        out += std::string(Keyword(k)) + "\r\n" + std::to_string(BlockValue(k, st.D)) + "\r\n";
        for (; i < st.Lines.size() && st.Lines[i].K == k; ++i) {
            std::string line;
            for (int f : st.Lines[i].Fields())
                line += (line.empty() ? "" : ",") + std::to_string(f);
            out += line + "\r\n";
        }
        out += "#End\r\n";
    }
    // The format's boss block rewrites the last enemy's record. Give it exactly what that
    // enemy already has (its start, hit points, and no picture on its first frame), so the
    // block is present and changes nothing: the boss itself comes by the stage timer.
    const Spawn& last = st.Lines.back();
    const int hp = last.K == Kind::Dog ? BlockValue(last.K, st.D)
                                       : RoundEven(BlockValue(last.K, st.D) * HitPointFactor(st.D));
    out += std::string(BossKeyword) + "\r\n" + std::to_string(hp) + "\r\n" +
           std::to_string(last.Time) + "," + std::to_string(last.X) + "," + std::to_string(last.Y) +
           ",0\r\n";
    return out;
}

}  // namespace

std::string MakeStageScript(int difficulty) {
    std::fesetround(FE_TONEAREST);
    Stage s(difficulty);
    Opening(s);
    FirstSweep(s);
    ArmouredWave(s);
    Crossfire(s);
    FinalRush(s);
    Check(s);
    return Encode(s);
}
