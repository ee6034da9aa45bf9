// Replay files (.vxr): one game, from its new-game reset to its end, kept as the answers the game
// got from outside (platform/answers.h), with what it needs to start where the recorded game
// started. Binary, little-endian; "str" is a u16 byte count then UTF-8 bytes. Fields in file
// order:
//   magic        8 bytes  "\x89VXR\r\n\x1A\n"
//   format       u16      ReplayFormat; another value is another layout, refused
//   game         str      the version of the game that recorded it ("1.10")
//   difficulty   u8       1 Easy, 2 Normal, 3 Hard
//   music        u8       1 on, 0 off
//   effects      u8       1 on, 0 off
//   table        5 x (i32 score, str name): the high-score table as the game began
//   carried      what a game takes over from the game before it:
//                  u8 ship HP, u8 fire cooldown, i32 blink counter, i32 bounce counter,
//                  i32 boss DX, i32 boss DY, u8 boss death timer, i16 homing picks,
//                  11 x boss debris (f64 X, f64 Y, f64 DX, f64 DY, u8 life, u8 frame, i16 active),
//                  31 x streak (i32 X, i32 Y, i32 life),
//                  u64 random generator state, i32 frame slot of the pacer,
//                  i32 fps time, i32 fps frame count, u8 fps shown
//   files        u8 count, then count x (str name, u64 FNV-1a digest): the data files the game
//                used (stage script, pictures), named as the game names them ("\teki_n.dat")
//   frames       u32      frames from the reset to the end (at most MaxReplayFrames)
//   score        i32      the score when play ended
//   answers      u32 length, u32 compressed length, then the answer stream (platform/answers.h)
//                compressed with zlib
//   checks       u32 count, then count x (u32 frame, i32 score, i32 ship X, i32 ship Y,
//                u8 ship HP, u64 hash of the game state), one every 100 frames: at frames 100,
//                200, ... up to the last frame
//   crc          u32      CRC-32 of every byte before it
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "game/boss.h"
#include "game/bullets.h"
#include "game/player.h"
#include "game/state.h"
#include "gfx/text.h"
#include "platform/answers.h"

constexpr uint16_t ReplayFormat = 1;
constexpr uint32_t ReplayCheckInterval = 100;  // frames between two checks
// The largest replay read, far beyond any real game: a won game is 7-9 kB, an hour of play
// some 0.1 MB. Anything larger is refused before a byte of it is read.
constexpr size_t MaxReplayFileBytes = 4u << 20;
// The longest game a replay holds: four hours of play, at 20 frames a second.
constexpr uint32_t MaxReplayFrames = 4 * 60 * 60 * 20;

// What a new game takes over from the one before it: the modules' carried-over records and the
// other values that outlive a game.
struct CarriedState {
    uint8_t ShipHP = 0;  // kept by a new game at a difficulty without its own hit points
    PlayerCarriedOverRecord Player;
    BulletsCarriedOverRecord Bullets;
    BossCarriedOverRecord Boss;
    std::array<StreakRecord, 31> Streaks{};
    uint64_t RandomState = 0;
    int32_t FrameSlot = 0;
    FpsCounter Fps;
};

struct DataFileDigest {
    std::string Name;
    uint64_t Digest = 0;
    bool operator==(const DataFileDigest&) const = default;
};

struct ReplayCheck {
    uint32_t Frame = 0;
    int32_t Score = 0;
    int32_t ShipX = 0;
    int32_t ShipY = 0;
    uint8_t ShipHP = 0;
    uint64_t StateHash = 0;
    bool operator==(const ReplayCheck&) const = default;
};

struct Replay {
    std::string GameVersion;
    uint8_t Difficulty = 0;
    bool MusicOn = false;
    bool EffectsOn = false;
    std::array<HighScoreEntry, 5> Table;
    CarriedState Carried;
    std::vector<DataFileDigest> Files;
    uint32_t Frames = 0;
    int32_t Score = 0;
    std::string AnswerStream;  // the answers, as platform/answers.h encodes them
    std::vector<ReplayCheck> Checks;
};

std::string EncodeReplay(const Replay& replay);
// Reads a replay from any bytes, in memory bounded by the limits above. On failure returns false
// with `problem` saying why, in words for the player: "not a replay", "a replay of format 2; this
// game reads format 1", "damaged". A replay whose frames, answers and checks do not agree (a
// check every ReplayCheckInterval frames, no more answers than its frames can have asked for)
// is damaged.
bool DecodeReplay(const std::string& bytes, Replay& replay, std::string& problem);
