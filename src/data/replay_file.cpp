#include "data/replay_file.h"

#include <zlib.h>

#include <bit>
#include <string_view>
#include <type_traits>

namespace {

constexpr std::string_view Magic{"\x89VXR\r\n\x1A\n", 8};
constexpr size_t MagicSize = 8;
constexpr size_t CrcSize = 4;
// A real game's frame asks for some 30 bytes of answers (its keys, two or three ticks); the
// limits leave room for eight times that and a name, and keep the stream of a file crafted to
// inflate to gigabytes to a few MB.
constexpr uint32_t MaxAnswerBytes = 16u << 20;
constexpr uint32_t MaxAnswerBytesPerFrame = 256;
constexpr uint32_t AnswerBytesBesideFrames = 8u << 10;  // the name, the boxes' answers

// The answers that `frames` frames can have asked for.
bool AnswersFitFrames(uint32_t length, uint32_t frames) {
    return length <= MaxAnswerBytes &&
           uint64_t(length) <= uint64_t(frames) * MaxAnswerBytesPerFrame + AnswerBytesBesideFrames;
}

class Writer {
public:
    void Bytes(std::string_view bytes) { Out.append(bytes); }
    template <typename T>
    void Number(T value) {
        using U = std::make_unsigned_t<T>;
        const auto bits = static_cast<U>(value);
        for (size_t i = 0; i < sizeof(T); ++i) Out += static_cast<char>((bits >> (8 * i)) & 0xFF);
    }
    // A field of a record, as wide as its type.
    template <typename T>
    void Field(const T& value) {
        if constexpr (std::is_floating_point_v<T>)
            Number(std::bit_cast<uint64_t>(value));
        else
            Number(value);
    }
    void Text(const std::string& text) {
        Number(static_cast<uint16_t>(text.size()));
        Out += text;
    }
    std::string Out;
};

class Reader {
public:
    explicit Reader(std::string_view in) : In(in) {}
    bool Bytes(size_t count, std::string_view& bytes) {
        if (!Good || In.size() - At < count) return Good = false;
        bytes = In.substr(At, count);
        At += count;
        return true;
    }
    template <typename T>
    T Number() {
        std::string_view bytes;
        if (!Bytes(sizeof(T), bytes)) return T{};
        std::make_unsigned_t<T> bits = 0;
        for (size_t i = 0; i < sizeof(T); ++i)
            bits |= static_cast<std::make_unsigned_t<T>>(static_cast<uint8_t>(bytes[i])) << (8 * i);
        return static_cast<T>(bits);
    }
    template <typename T>
    void Field(T& value) {
        if constexpr (std::is_floating_point_v<T>)
            value = std::bit_cast<double>(Number<uint64_t>());
        else
            value = Number<T>();
    }
    std::string Text() {
        std::string_view bytes;
        Bytes(Number<uint16_t>(), bytes);
        return std::string(bytes);
    }
    bool Flag() {
        const auto value = Number<uint8_t>();
        if (value > 1) Good = false;
        return value == 1;
    }
    bool AtEnd() const { return At == In.size(); }
    bool Good = true;

private:
    std::string_view In;
    size_t At = 0;
};

// The fields of the carried state and of a check, in file order: one list for writing (from a
// const record) and reading.
template <typename Io, typename Carried>
void CarriedFields(Io& io, Carried& c) {
    io.Field(c.ShipHP);
    io.Field(c.Player.FireCooldown);
    io.Field(c.Player.BlinkCounter);
    io.Field(c.Bullets.BounceCounter);
    io.Field(c.Boss.BossDX);
    io.Field(c.Boss.BossDY);
    io.Field(c.Boss.BossDeathTimer);
    io.Field(c.Boss.HomingPickCount);
    for (auto& d : c.Boss.BossDebris) {
        io.Field(d.X);
        io.Field(d.Y);
        io.Field(d.DX);
        io.Field(d.DY);
        io.Field(d.Life);
        io.Field(d.Frame);
        io.Field(d.Active);
    }
    for (auto& streak : c.Streaks) {
        io.Field(streak.X);
        io.Field(streak.Y);
        io.Field(streak.Life);
    }
    io.Field(c.RandomState);
    io.Field(c.FrameSlot);
    io.Field(c.Fps.LastTime);
    io.Field(c.Fps.FrameCount);
    io.Field(c.Fps.Shown);
}

template <typename Io, typename Check>
void CheckFields(Io& io, Check& check) {
    io.Field(check.Frame);
    io.Field(check.Score);
    io.Field(check.ShipX);
    io.Field(check.ShipY);
    io.Field(check.ShipHP);
    io.Field(check.StateHash);
}

uint32_t Crc(std::string_view bytes) {
    return static_cast<uint32_t>(crc32(crc32(0, nullptr, 0),
                                       reinterpret_cast<const Bytef*>(bytes.data()),
                                       static_cast<uInt>(bytes.size())));
}

std::string Compress(const std::string& raw) {
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::string out(size, '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &size,
              reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()),
              Z_BEST_COMPRESSION);
    out.resize(size);
    return out;
}

bool Uncompress(std::string_view packed, uint32_t length, std::string& raw) {
    raw.assign(length, '\0');
    uLongf size = length;
    const int status = uncompress(reinterpret_cast<Bytef*>(raw.data()), &size,
                                  reinterpret_cast<const Bytef*>(packed.data()),
                                  static_cast<uLong>(packed.size()));
    return status == Z_OK && size == length;
}

}  // namespace

std::string EncodeReplay(const Replay& replay) {
    Writer w;
    w.Bytes(Magic);
    w.Number(ReplayFormat);
    w.Text(replay.GameVersion);
    w.Number(replay.Difficulty);
    w.Number(static_cast<uint8_t>(replay.MusicOn));
    w.Number(static_cast<uint8_t>(replay.EffectsOn));
    for (const HighScoreEntry& entry : replay.Table) {
        w.Number(entry.Score);
        w.Text(entry.Name);
    }
    CarriedFields(w, replay.Carried);
    w.Number(static_cast<uint8_t>(replay.Files.size()));
    for (const DataFileDigest& file : replay.Files) {
        w.Text(file.Name);
        w.Number(file.Digest);
    }
    w.Number(replay.Frames);
    w.Number(replay.Score);
    const std::string& answers = replay.AnswerStream;
    const std::string packed = Compress(answers);
    w.Number(static_cast<uint32_t>(answers.size()));
    w.Number(static_cast<uint32_t>(packed.size()));
    w.Bytes(packed);
    w.Number(static_cast<uint32_t>(replay.Checks.size()));
    for (const ReplayCheck& check : replay.Checks) CheckFields(w, check);
    w.Number(Crc(w.Out));
    return w.Out;
}

bool DecodeReplay(const std::string& bytes, Replay& replay, std::string& problem) {
    replay = Replay{};
    if (bytes.size() < MagicSize || std::string_view(bytes).substr(0, MagicSize) != Magic) {
        problem = "not a replay";
        return false;
    }
    Reader r(bytes);
    std::string_view skipped;
    r.Bytes(MagicSize, skipped);
    const auto format = r.Number<uint16_t>();
    if (r.Good && format != ReplayFormat) {
        problem = "a replay of format " + std::to_string(format) + "; this game reads format " +
                  std::to_string(ReplayFormat);
        return false;
    }
    problem = "damaged";
    if (bytes.size() < MagicSize + CrcSize) return false;
    const std::string_view body = std::string_view(bytes).substr(0, bytes.size() - CrcSize);
    Reader crc(std::string_view(bytes).substr(body.size()));
    if (crc.Number<uint32_t>() != Crc(body)) return false;

    Reader in(body);
    in.Bytes(MagicSize + sizeof format, skipped);
    replay.GameVersion = in.Text();
    replay.Difficulty = in.Number<uint8_t>();
    replay.MusicOn = in.Flag();
    replay.EffectsOn = in.Flag();
    for (HighScoreEntry& entry : replay.Table) {
        entry.Score = in.Number<int32_t>();
        entry.Name = in.Text();
    }
    CarriedFields(in, replay.Carried);
    const auto files = in.Number<uint8_t>();
    for (uint8_t i = 0; i < files && in.Good; ++i) {
        DataFileDigest file;
        file.Name = in.Text();
        file.Digest = in.Number<uint64_t>();
        replay.Files.push_back(std::move(file));
    }
    replay.Frames = in.Number<uint32_t>();
    replay.Score = in.Number<int32_t>();
    const auto length = in.Number<uint32_t>();
    std::string_view packed;
    in.Bytes(in.Number<uint32_t>(), packed);
    if (!in.Good || replay.Frames > MaxReplayFrames || !AnswersFitFrames(length, replay.Frames) ||
        !Uncompress(packed, length, replay.AnswerStream) || !IsAnswerStream(replay.AnswerStream))
        return false;
    // A check at every ReplayCheckInterval-th frame, as the recording keeps them.
    const auto checks = in.Number<uint32_t>();
    if (checks != replay.Frames / ReplayCheckInterval) return false;
    replay.Checks.reserve(checks);
    for (uint32_t i = 0; i < checks && in.Good; ++i) {
        ReplayCheck check;
        CheckFields(in, check);
        if (check.Frame != (i + 1) * ReplayCheckInterval) return false;
        replay.Checks.push_back(check);
    }
    if (!in.Good || !in.AtEnd()) return false;
    problem.clear();
    return true;
}
