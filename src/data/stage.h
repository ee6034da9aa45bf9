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
// the boss record only overwrites the last slot's X, Y, Sprite, HP and StartFrame.
#pragma once

#include <cstdint>
#include <string>

#include "data/flight_paths.h"

// Parses a whole script (CP932 bytes) for the given difficulty into `out`. On failure returns
// false and sets `error` to a message naming the line ("line 12: a number was expected, found
// \"abc\""); `out` is then half-built.
bool ParseStage(const std::string& bytes, uint8_t difficulty, StageTables& out, std::string& error);
// Loads teki_?.dat of the current Difficulty into Enemies and Paths. A broken script leaves the
// previous tables as they were, tells the player, and returns false.
bool LoadStage();
