#include "shell/table_replays.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

#include "common/file_bytes.h"
#include "data/replay_file.h"
#include "platform/answers.h"

namespace {

// A game the table may keep: one of the places' files, or the game that just ended.
struct Game {
    bool Present = false;   // a file is there (or the new game was given)
    bool Readable = false;  // it reads as a replay: it is known whose it is
    int32_t Score = 0;
    std::string Name;   // the name entered during the game (empty: none)
    std::string Bytes;  // the file's bytes, for a ring of moves
    bool Taken = false;
};
constexpr size_t NewGame = TablePlaces;  // the index of the new game among the games

Game GameOf(std::string bytes, bool present) {
    Game game;
    game.Present = present;
    Replay replay;
    std::string problem;
    if (!present || !DecodeReplay(bytes, replay, problem)) return game;
    game.Readable = true;
    game.Score = replay.Score;
    game.Name = NameEnteredIn(replay);
    game.Bytes = std::move(bytes);
    return game;
}

bool IsGameOf(const Game& game, const HighScoreEntry& entry) {
    return game.Readable && !game.Taken && !entry.Name.empty() && game.Score == entry.Score &&
           game.Name == entry.Name;
}

// Where a place's file comes from.
struct Move {
    enum class From { Stays, None, File, Bytes } Kind = From::Stays;
    size_t Game = 0;  // for File (a place) and Bytes (a game's index)
};

}  // namespace

std::string NameEnteredIn(const Replay& replay) {
    std::string name;
    AnswerReader answers(replay.AnswerStream);
    for (Answer answer; answers.Next(answer);)
        if (answer.Kind == AnswerKind::Name) name = answer.Text;
    return name;
}

std::string TableReplayFile(const std::string& folder, size_t place) {
    return folder + "/score" + std::to_string(place + 1) + ".vxr";
}

bool ArrangeTableReplays(const std::string& folder, const TableEntries& table,
                         const std::string& newGame, std::string& failedFile, std::string& reason) {
    std::vector<Game> games;
    for (size_t place = 0; place < TablePlaces; ++place) {
        std::string bytes;
        const FileRead read =
            ReadRegularFileBytes(TableReplayFile(folder, place), bytes, MaxReplayFileBytes);
        games.push_back(GameOf(std::move(bytes), read != FileRead::Missing));
    }
    games.push_back(GameOf(newGame, !newGame.empty()));

    // Each place keeps its own file when it holds the entry's game, else takes the entry's game
    // from another place's file, else the new game.
    std::vector<Move> moves(TablePlaces);
    for (size_t place = 0; place < TablePlaces; ++place) {
        if (IsGameOf(games[place], table[place]))
            games[place].Taken = true;
        else
            moves[place].Kind = Move::From::None;
    }
    for (size_t place = 0; place < TablePlaces; ++place) {
        if (moves[place].Kind == Move::From::Stays) continue;
        for (size_t from = 0; from <= NewGame; ++from) {
            if (!IsGameOf(games[from], table[place])) continue;
            games[from].Taken = true;
            moves[place] = {from == NewGame ? Move::From::Bytes : Move::From::File, from};
            break;
        }
    }

    failedFile.clear();
    const auto note = [&](const std::string& file) {
        if (!failedFile.empty()) return;
        failedFile = file;
        reason = std::strerror(errno);
    };
    // A place is replaced once no other place still has to take the game its file holds; the
    // places below go first, as a new entry moves them down.
    const auto holdsAwaitedGame = [&moves](size_t place) {
        for (const Move& move : moves)
            if (move.Kind == Move::From::File && move.Game == place) return true;
        return false;
    };
    for (;;) {
        std::optional<size_t> ready;
        std::optional<size_t> waiting;
        for (size_t place = TablePlaces; place-- > 0 && !ready;) {
            if (moves[place].Kind == Move::From::Stays) continue;
            (holdsAwaitedGame(place) ? waiting : ready) = place;
        }
        if (!ready && !waiting) break;
        if (!ready) {
            // A ring of places, each taking the next one's game (never from the game's own
            // saves): one of them goes through memory.
            for (Move& move : moves)
                if (move.Kind == Move::From::File && move.Game == *waiting)
                    move.Kind = Move::From::Bytes;
            continue;
        }
        const size_t place = *ready;
        const std::string file = TableReplayFile(folder, place);
        const Move move = moves[place];
        moves[place].Kind = Move::From::Stays;
        switch (move.Kind) {
            case Move::From::File:
                if (std::rename(TableReplayFile(folder, move.Game).c_str(), file.c_str()) != 0)
                    note(file);
                break;
            case Move::From::Bytes:
                if (!ReplaceFileBytes(file, games[move.Game].Bytes)) note(file);
                break;
            case Move::From::None:
                // Another entry's game, or one that left the table; a file that is no replay
                // of ours is left alone.
                if (games[place].Readable && !games[place].Taken && std::remove(file.c_str()) != 0)
                    note(file);
                break;
            case Move::From::Stays:
                break;
        }
    }
    return failedFile.empty();
}
