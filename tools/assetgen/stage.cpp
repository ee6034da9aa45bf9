// teki_e.dat, teki_n.dat, teki_h.dat: the stage of each difficulty.
//
// The script is written in the game's own format (data/stage.h: the block keywords and the
// fields of each record come from the loader's table) and read back through the game's loader,
// which builds every enemy's course; the generator refuses a script the loader refuses, or one
// whose enemies are hardly seen, stand half off the field or are still about when the boss comes.
//
// The stage is laid out as a designer plays it: a wave in the first two seconds, each enemy
// kind shown alone before they are mixed, waves overlapping with short lulls in between (never
// two seconds with nothing scheduled), and a climax in the last 300 frames whose final wave
// leaves just before the boss. Easy is the stage a first game can learn: single waves, sparse
// fire. Normal and Hard add waves that cross, denser aimed fire and pairs of greens whose homing
// shots must be dodged late; Hard has more enemies and tougher ones. `make stage-report` measures
// each against a bot that reacts as late as a person.
#include "data/stage.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "assetgen.h"
#include "game/difficulty.h"
#include "game/state.h"
#include "platform/sjis.h"

namespace {

// One spawn line: its kind, its Time and the values the loader should hold after reading it.
// For the butterfly, Y and DX are not written but carried over from the line before it; they
// say where the butterfly is meant to start and drift, and the check holds the script to that.
struct Spawn {
    EnemyKind Kind;
    int32_t Time;
    StageValues Values;
};

// Base hit points (the block value) per kind on Easy, Normal, Hard, indexed by EnemyKind. The
// loader adds a fifth on Easy and takes a fifth off on Hard; Easy is eased by fewer bullets and
// fewer crossing waves, and Hard enemies are tougher all the same.
int BaseHitPoints(EnemyKind kind, int difficulty) {
    static const int Table[6][3] = {
        {4, 4, 6},     // butterfly
        {20, 20, 30},  // blue
        {10, 10, 14},  // dog
        {5, 5, 7},     // bat
        {2, 2, 3},     // small fry
        {9, 9, 13},    // green
    };
    return Table[int(kind)][difficulty - 1];
}

class Stage {
public:
    explicit Stage(int difficulty) : Difficulty(difficulty) {}
    bool Easy() const { return Difficulty == DifficultyEasy; }
    bool Hard() const { return Difficulty == DifficultyHard; }
    // A number by difficulty.
    int By(int easy, int normal, int hard) const { return Easy() ? easy : Hard() ? hard : normal; }

    void Fry(int t, int x, int y, int dx, int dy, int interval) {
        Add(EnemyKind::SmallFry, t, {.X = x, .Y = y, .DX = dx, .DY = dy, .Interval = Iv(interval)});
    }
    void Bat(int t, int x, int y, int dx, int interval) {
        Add(EnemyKind::Bat, t, {.X = x, .Y = y, .DX = dx, .Interval = Iv(interval)});
    }
    void Dog(int t, int x, int y) { Add(EnemyKind::Dog, t, {.X = x, .Y = y}); }
    void Green(int t, int x, int y, int dx, int dy, int interval, int variant) {
        Add(EnemyKind::Green, t,
            {.X = x, .Y = y, .DX = dx, .DY = dy, .Interval = Iv(interval), .Extra = variant});
    }
    // Comes down from above the field to turnY, then goes on at dy2 (up when negative).
    void Blue(int t, int x, int dy, int interval, int turnY, int dy2) {
        Add(EnemyKind::Blue, t,
            {.X = x, .DY = dy, .Interval = Iv(interval), .Extra = turnY, .DY2 = dy2});
    }
    // Starts at the Y and drifts with the DX that the line before it left (carriedY, carriedDX).
    void Butterfly(int t, int x, int dy, int interval, int carriedY, int carriedDX) {
        Add(EnemyKind::Butterfly, t,
            {.X = x, .Y = carriedY, .DX = carriedDX, .DY = dy, .Interval = Iv(interval)});
    }

    std::vector<Spawn> Lines;
    int Difficulty;

private:
    // Intervals are written for an unhurried stage: Easy fires half as often again, Normal and
    // Hard twice as often, before the loader applies its own factor (which goes the other way:
    // Hard ends up firing a little less often than Normal, but with more and tougher enemies).
    int Iv(int normal) const { return std::max(1, int(std::lround(normal * By(15, 5, 5) / 10.0))); }
    void Add(EnemyKind kind, int t, StageValues values) {
        values.BlockValue = BaseHitPoints(kind, Difficulty);
        Lines.push_back({kind, t, values});
    }
};

// ---- The waves ----------------------------------------------------------------------------
// Field 500 x 600; enemies come in from above (y below 0) or from the sides. Times are stage
// frames, 20 to a second.

// Small fry from both sides at once, each pair a little lower than the one before, the right
// one half a gap behind the left.
void SideStreams(Stage& s, int t, int pairs, int gap, int y, int yStep, int dx, int dy,
                 int interval) {
    for (int i = 0; i < pairs; ++i) {
        s.Fry(t + gap * i, -30, y + yStep * i, dx, dy, interval);
        s.Fry(t + gap * i + gap / 2, 530, y + yStep * i, -dx, dy, interval);
    }
}

// Small fry, alone: two files come straight down, then a pair of diagonal streams. The files
// are written last, so the butterflies after them start as a file does: at y -26, no drift.
void Opening(Stage& s) {
    for (int i = 0; i < s.By(4, 5, 6); ++i) {
        s.Fry(120 + 16 * i, -30, 40, 3, 3, 45);
        if (!s.Easy()) s.Fry(128 + 16 * i, 530, 40, -3, 3, 45);  // the streams cross
    }
    for (int i = 0; i < s.By(4, 5, 6); ++i) {
        s.Fry(20 + 24 * i, 150, -26, 0, 4, 40);
        s.Fry(32 + 24 * i, 350, -26, 0, 4, 40);
    }
}

// Butterflies, alone: a column down the middle, and on Normal and Hard one each side.
void Butterflies(Stage& s) {
    for (int i = 0; i < s.By(5, 6, 6); ++i) s.Butterfly(215 + 14 * i, 250, 5, 36, -26, 0);
    if (!s.Easy())
        for (int i = 0; i < 4; ++i) {
            s.Butterfly(250 + 14 * i, 110, 5, 36, -26, 0);
            s.Butterfly(250 + 14 * i, 390, 5, 36, -26, 0);
        }
}

// Bats, alone: a line across the top; on Normal and Hard a second line the other way.
void Bats(Stage& s) {
    for (int i = 0; i < s.By(5, 6, 7); ++i) s.Bat(300 + 14 * i, -52, 100, 5, 34);
    if (!s.Easy())
        for (int i = 0; i < s.By(0, 5, 7); ++i) s.Bat(350 + 14 * i, 552, 180, -5, 34);
}

// Dogs, alone: they stand and throw a ring once. Then the first blue, and the first greens.
void DogsBlueGreens(Stage& s) {
    s.Dog(420, 150, 130);
    s.Dog(440, 350, 130);
    if (!s.Easy()) s.Dog(480, 250, 220);
    if (!s.Easy()) {
        s.Dog(500, 90, 260);
        s.Dog(500, 410, 260);
    }
    s.Blue(500, 250, 4, 24, 150, 2);
    if (!s.Easy()) {
        s.Blue(540, 110, 4, 24, 110, 2);
        s.Blue(540, 390, 4, 24, 110, 2);
    }
    s.Green(600, 120, -36, 0, 3, 60, 0);
    s.Green(620, 380, -36, 0, 3, 60, 1);
    if (!s.Easy()) s.Green(680, 250, -36, 0, 4, 55, 0);
}

// The kinds mixed: small fry streams under a bat line, a butterfly V behind a leader.
void FirstMix(Stage& s) {
    for (int i = 0; i < s.By(5, 6, 7); ++i) {
        s.Fry(720 + 18 * i, 80 + 30 * i, -26, 1, 4, 40);
        s.Fry(730 + 18 * i, 420 - 30 * i, -26, -1, 4, 40);
    }
    for (int i = 0; i < s.By(4, 5, 6); ++i) s.Bat(760 + 16 * i, -52, 70, 6, 30);
    if (!s.Easy())
        for (int i = 0; i < 5; ++i) s.Bat(780 + 16 * i, 552, 140, -6, 30);
    s.Fry(860, 250, -26, 0, 5, 40);  // leads the V
    for (int i = 1; i <= s.By(2, 3, 4); ++i) {
        s.Butterfly(860 + 10 * i, 250 - 45 * i, 5, 32, -26, 0);
        s.Butterfly(860 + 10 * i, 250 + 45 * i, 5, 32, -26, 0);
    }
}

// Armour: blues hold the top while small fry sweep in from the sides and dogs fire rings.
void Armour(Stage& s) {
    s.Blue(960, 140, 4, 22, 120, 1);
    s.Blue(960, 360, 4, 22, 120, 1);
    if (!s.Easy()) s.Blue(1000, 250, 5, 18, 200, 1);
    SideStreams(s, 990, s.By(4, 5, 6), 20, 60, 20, 4, 2, 50);
    s.Dog(1080, 120, 300);
    s.Dog(1080, 380, 300);
    if (!s.Easy()) s.Dog(1120, 250, 380);
    s.Green(1120, -36, 120, 3, 2, 55, 1);
    s.Green(1130, 536, 120, -3, 2, 55, 0);
    if (!s.Easy()) {
        s.Green(1170, -36, 40, 3, 3, 55, 0);
        s.Green(1170, 536, 40, -3, 3, 55, 1);
    }
}

// A lull that is not empty: a slow butterfly drift, then the bats cross in both directions.
void Crossing(Stage& s) {
    s.Bat(1200, -52, 60, 4, 40);
    s.Fry(1210, 60, -26, 2, 3, 60);  // leads the drift: y -26, moving right 2
    for (int i = 0; i < s.By(5, 6, 7); ++i) s.Butterfly(1225 + 14 * i, 60, 4, 36, -26, 2);
    for (int i = 0; i < s.By(4, 5, 6); ++i) {
        s.Bat(1300 + 15 * i, -52, 90, 6, 28);
        if (!s.Easy()) s.Bat(1300 + 15 * i, 552, 170, -6, 28);
        if (!s.Easy()) s.Bat(1330 + 15 * i, -52, 250, 7, 28);
    }
    s.Dog(1380, 250, 140);
    if (!s.Easy()) {
        s.Dog(1400, 90, 200);
        s.Dog(1400, 410, 200);
    }
}

// The build-up: greens swing across, small fry pour down in files, a blue wall comes down.
void BuildUp(Stage& s) {
    s.Green(1440, -36, 80, 3, 2, 50, 0);
    s.Green(1460, 536, 80, -3, 2, 50, 1);
    if (!s.Easy()) s.Green(1480, 250, -36, 0, 3, 50, 0);
    const int files[7] = {70, 430, 170, 330, 250, 110, 390};
    for (int i = 0; i < s.By(9, 12, 14); ++i)
        s.Fry(1500 + 14 * i, files[i % 7], -26, i % 2 == 0 ? 1 : -1, s.By(5, 5, 6), 36);
    s.Blue(1600, 100, 5, 20, 140, 2);
    s.Blue(1610, 400, 5, 20, 140, 2);
    if (!s.Easy()) s.Blue(1640, 250, 5, 18, 100, 3);
    for (int i = 0; i < s.By(4, 5, 6); ++i) s.Bat(1660 + 16 * i, -52, 60, 6, 28);
    if (!s.Easy())
        for (int i = 0; i < 5; ++i) s.Bat(1680 + 16 * i, 552, 120, -6, 28);
}

// The climax, the last 300 frames: everything at once, and the last wave leaves just before
// the boss comes down at 2050.
void Climax(Stage& s) {
    // The blues come down below the side streams, then sink on firing.
    s.Blue(1750, 90, 5, 16, 200, 3);
    s.Blue(1750, 410, 5, 16, 200, 3);
    if (!s.Easy()) s.Blue(1770, 250, 6, 14, 220, 3);
    SideStreams(s, 1760, s.By(6, 7, 8), 14, 40, 25, 4, 3, 36);
    s.Dog(1800, 250, 250);
    if (!s.Easy()) {
        s.Dog(1830, 100, 160);
        s.Dog(1830, 400, 160);
    }
    s.Green(1820, 150, -36, 0, 4, 45, 0);
    s.Green(1820, 350, -36, 0, 4, 45, 1);
    if (!s.Easy()) s.Green(1850, 250, -36, 0, 5, 40, 1);
    // The last rush: a butterfly V behind its leader, bats across, small fry diving fast down
    // every file, and a ring of dogs at the end.
    s.Fry(1870, 250, -26, 0, 5, 30);
    for (int i = 1; i <= s.By(2, 3, 4); ++i) {
        s.Butterfly(1870 + 8 * i, 250 - 40 * i, 5, 28, -26, 0);
        s.Butterfly(1870 + 8 * i, 250 + 40 * i, 5, 28, -26, 0);
    }
    for (int i = 0; i < s.By(3, 4, 5); ++i) {
        s.Bat(1900 + 14 * i, -52, 120, 7, 24);
        if (!s.Easy()) s.Bat(1907 + 14 * i, 552, 50, -7, 24);
    }
    const int files[8] = {60, 440, 160, 340, 250, 110, 390, 200};
    for (int i = 0; i < s.By(4, 6, 8); ++i) s.Fry(1920 + 6 * i, files[i], -26, 0, 8, 30);
    s.Dog(1990, 130, 120);
    s.Dog(1995, 370, 120);
    s.Dog(2005, 250, 200);
    if (!s.Easy()) {
        s.Dog(2010, 80, 280);
        s.Dog(2010, 420, 280);
    }
}

// Hunters: greens cross the middle of the field in pairs, each throwing homing shots at the
// ship. A homing shot bends after the ship, so it is dodged late and sideways, not read at
// a glance; a player learns the pairs' times. Easy has none.
void Hunters(Stage& s) {
    if (s.Easy()) return;
    static const int Times[] = {800, 1150, 1450, 1800, 1000, 1650};
    for (int i = 0; i < s.By(0, 6, 3); ++i) {
        s.Green(Times[i], -36, 180 + 20 * (i % 3), 3, 1, 16, i % 2);
        s.Green(Times[i] + 10, 536, 220 + 20 * (i % 3), -3, 1, 16, 1 - i % 2);
    }
}

// ---- Writing the script and reading it back through the loader -----------------------------

std::string Cp932(std::string_view utf8) {
    std::string bytes;
    if (!Utf8ToCp932(std::string(utf8), bytes))
        throw std::runtime_error("no Shift_JIS for " + std::string(utf8));
    return bytes;
}

std::string RecordLine(int32_t time, const StageValues& values, const StageBlock& block) {
    std::string line = std::to_string(time);
    for (StageField field : block.Fields) line += "," + std::to_string(values.*field);
    return line + "\r\n";
}

// Consecutive lines of one kind share a block.
std::string EncodeSpawns(const std::vector<Spawn>& lines) {
    std::string out;
    for (size_t i = 0; i < lines.size();) {
        const Spawn& first = lines[i];
        const StageBlock& block = StageBlockOf(first.Kind);
        out += Cp932(block.Keyword) + "\r\n" + std::to_string(first.Values.BlockValue) + "\r\n";
        for (; i < lines.size() && lines[i].Kind == first.Kind &&
               lines[i].Values.BlockValue == first.Values.BlockValue;
             ++i)
            out += RecordLine(lines[i].Time, lines[i].Values, block);
        out += "#End\r\n";
    }
    return out;
}

// The format's boss block rewrites the last enemy's record. Give it exactly what that enemy
// already has (its start, its hit points, where it starts, no picture on its first frame), so
// the block is there and changes nothing: the boss itself comes by the stage timer.
std::string EncodeBoss(const StageTables& tables) {
    const EnemyRecord& last = tables.Enemies.back();
    const PathColumn& path = tables.Paths.back();
    StageValues values;
    values.X = path.X[last.StartFrame];
    values.Y = path.Y[last.StartFrame];
    const auto& blocks = StageBlocks();
    const StageBlock& boss = *std::find_if(blocks.begin(), blocks.end(),
                                           [](const StageBlock& block) { return !block.Kind; });
    return Cp932(boss.Keyword) + "\r\n" + std::to_string(last.HP) + "\r\n" +
           RecordLine(last.StartFrame, values, boss);
}

StageTables Load(const std::string& script, int difficulty, std::vector<StageRecord>& records) {
    StageTables tables;
    std::string error;
    if (!ParseStage(script, uint8_t(difficulty), tables, error) ||
        !ReadStageRecords(script, uint8_t(difficulty), records, error))
        throw std::runtime_error("the loader refuses the script: " + error);
    return tables;
}

int FramesInSight(const PathColumn& path, const EnemyRecord& enemy) {
    int frames = 0;
    for (int32_t t = enemy.StartFrame; t < enemy.EndFrame; ++t)
        frames +=
            path.X[t] >= 0 && path.X[t] <= FieldWidth && path.Y[t] >= 0 && path.Y[t] <= FieldHeight;
    return frames;
}

// The dog's picture is copied unclipped, which draws nothing unless the whole 84 x 53 cell,
// 42 left of and 27 above its centre, is on the field.
bool DogWhollyInside(const StageValues& v) {
    return v.X >= 42 && v.X <= FieldWidth - 42 && v.Y >= 27 && v.Y <= FieldHeight - 27;
}

void Check(const std::vector<Spawn>& lines, const std::vector<StageRecord>& records,
           const StageTables& tables) {
    for (size_t i = 0; i < lines.size(); ++i) {
        const Spawn& line = lines[i];
        const StageValues& read = records[i].Values;
        const EnemyRecord& enemy = tables.Enemies[i + 1];
        const std::string at = "the enemy of frame " + std::to_string(line.Time);
        if (line.Kind == EnemyKind::Butterfly &&
            (read.Y != line.Values.Y || read.DX != line.Values.DX))
            throw std::runtime_error(at + " would not start where meant");
        if (line.Kind == EnemyKind::Dog && !DogWhollyInside(read))
            throw std::runtime_error(at + ": the dog is not wholly on the field");
        if (FramesInSight(tables.Paths[i + 1], enemy) < 10)
            throw std::runtime_error(at + " is hardly seen");
        if (enemy.EndFrame > StageLength)
            throw std::runtime_error(at + " is still about when the boss comes");
    }
}

}  // namespace

std::string MakeStageScript(int difficulty) {
    Stage s(difficulty);
    Opening(s);
    Butterflies(s);
    Bats(s);
    DogsBlueGreens(s);
    FirstMix(s);
    Armour(s);
    Crossing(s);
    BuildUp(s);
    Climax(s);
    Hunters(s);
    const std::string spawns = EncodeSpawns(s.Lines);
    std::vector<StageRecord> records;
    const StageTables tables = Load(spawns, difficulty, records);
    Check(s.Lines, records, tables);
    const std::string script = spawns + EncodeBoss(tables);
    Load(script, difficulty, records);
    return script;
}
