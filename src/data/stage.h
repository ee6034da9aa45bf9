// The stage script of the current difficulty, turned into the enemy table and the per-frame
// path tables at every new game.
//
// teki_e.dat, teki_n.dat, teki_h.dat (Easy, Normal, Hard): Shift_JIS (CP932) text, CR LF.
// The file is a stream of fields split by commas or line breaks; blanks around a field are
// ignored, a field in double quotes is taken without them, a blank line holds no field.
// Keywords are compared whole, exactly, case included. At the top level a field that is not a
// block keyword is skipped, so words or numbers may stand between blocks.
//
// A block is its keyword, then BlockValue (a number), then records; every block but the
// boss runs until "#End" stands where a record would begin. A record is Time, then the kind's
// fields; every value is a 32-bit integer, and a fraction rounds half to even. Bytes that are not
// Shift_JIS may stand in a skipped word, never in a keyword or a number:
//
//   "#ちょう"   butterfly  X, DY, Interval             (keeps the Y and DX read last)
//   "#青"       blue       X, DY, Interval, TurnY, DY2
//   "#犬"       dog        X, Y                        (BlockValue hit points, not scaled, >= 0)
//   "#こうもり" bat        X, Y, DX, Interval
//   "#雑魚"     small fry  X, Y, DX, DY, Interval
//   "#緑"       green      X, Y, DX, DY, Interval, Variant (0 or 1 picks the picture)
//   "#ボス"     boss       X, Y, Sprite                (one record, no "#End"; BlockValue >= 0)
//
// Values not read by a line carry over from the lines before it (all start at 0). Hit points
// are BlockValue x 1.2 / 1.0 / 0.8 and intervals Interval x 0.8 / 1.0 / 1.2 on Easy / Normal /
// Hard, rounded half to even, each within 0..255. Every spawn line is one slot (at most 254);
// the boss record only overwrites the last slot's X, Y, Sprite, HP and StartFrame. Every
// position of a course, and the boss record's, lies in -1000000..1000000 (PositionLimit).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/flight_paths.h"

// The values a record leaves for the records after it, all 0 when a load starts.
struct StageValues {
    int32_t BlockValue = 0;
    int32_t X = 0;
    int32_t Y = 0;
    int32_t DX = 0;
    int32_t DY = 0;
    int32_t Interval = 0;
    int32_t Extra = 0;  // the blue's TurnY, the green's Variant, the boss's Sprite
    int32_t DY2 = 0;
};
using StageField = int32_t StageValues::*;

// A block of the script: its keyword (UTF-8) and the fields of its records after Time, in file
// order; the list at the top of this file, as the loader reads it. Whatever writes scripts
// (tools/assetgen) goes by the same table.
struct StageBlock {
    std::string_view Keyword;
    std::optional<EnemyKind> Kind;  // none for the boss, which adds no enemy
    std::vector<StageField> Fields;
};
const std::vector<StageBlock>& StageBlocks();
const StageBlock& StageBlockOf(EnemyKind kind);

// One record as read, with the values as they stood after it.
struct StageRecord {
    const StageBlock* Block = nullptr;
    int Line = 0;
    int32_t Time = 0;
    StageValues Values;
    int32_t HP = 0;        // scaled where the kind scales
    uint8_t Interval = 0;  // scaled
};

// Parses a whole script (CP932 bytes) for the given difficulty into `out`. On failure returns
// false and sets `error` to a message naming the line ("line 12: a number was expected, found
// \"abc\""); `out` is then half-built.
bool ParseStage(const std::string& bytes, uint8_t difficulty, StageTables& out, std::string& error);
// The records of a script for the given difficulty, as ParseStage reads them before it builds
// the courses: the grammar and the scaling are checked, the courses are not.
bool ReadStageRecords(const std::string& bytes, uint8_t difficulty,
                      std::vector<StageRecord>& records, std::string& error);
// Loads teki_?.dat of the current Difficulty into Enemies and Paths. A broken script leaves the
// previous tables as they were, tells the player, and returns false.
bool LoadStage();
