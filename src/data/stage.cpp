#include "data/stage.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string_view>
#include <vector>

#include "common/file_bytes.h"
#include "common/rounding.h"
#include "common/text.h"
#include "game/difficulty.h"
#include "platform/platform.h"
#include "platform/sjis.h"

namespace {

// ---- Fields -------------------------------------------------------------------------------

// A field as written, and as text when it is valid Shift_JIS. Each field is decoded on its own,
// so a stray byte in a note between blocks costs nothing: only a field that must be read as a
// keyword or a number has to decode.
struct Field {
    std::string Text;  // UTF-8
    bool Decodes = true;
    int Line = 0;
};

// Calls f(line, number) for every line; CR LF, CR and LF all end a line. Shift_JIS never uses
// these bytes, nor commas, quotes or blanks, inside a character, so the raw bytes split into
// lines and fields the same way as the decoded text.
template <typename F>
void ForEachLine(std::string_view text, F f) {
    int number = 1;
    size_t pos = 0;
    for (;;) {
        const size_t end = std::min(text.find_first_of("\r\n", pos), text.size());
        f(text.substr(pos, end - pos), number);
        if (end == text.size()) return;
        pos = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
        ++number;
    }
}

constexpr std::string_view Blanks = " \t";

std::string_view TrimRight(std::string_view text) {
    const size_t last = text.find_last_not_of(Blanks);
    return last == std::string_view::npos ? std::string_view{} : text.substr(0, last + 1);
}

// One field starting at `pos` (blanks skipped); returns where its delimiting comma is, or npos.
size_t TakeField(std::string_view line, size_t pos, std::string_view& field) {
    pos = std::min(line.find_first_not_of(Blanks, pos), line.size());
    if (pos < line.size() && line[pos] == '"') {
        // Quoted: up to the closing quote (or the line end); the rest up to the comma is dropped.
        const size_t close = std::min(line.find('"', pos + 1), line.size());
        field = line.substr(pos + 1, close - pos - 1);
        return line.find(',', close);
    }
    const size_t comma = line.find(',', pos);
    field = TrimRight(line.substr(pos, comma == std::string_view::npos ? line.npos : comma - pos));
    return comma;
}

void SplitLine(std::string_view line, int number, std::vector<Field>& fields) {
    if (line.find_first_not_of(Blanks) == std::string_view::npos) return;  // a blank line
    size_t pos = 0;
    for (;;) {
        std::string_view bytes;
        const size_t comma = TakeField(line, pos, bytes);
        Field& field = fields.emplace_back();
        field.Line = number;
        field.Decodes = Cp932ToUtf8(std::string(bytes), field.Text);
        if (comma == std::string_view::npos) return;
        pos = comma + 1;
    }
}

std::vector<Field> SplitFields(std::string_view bytes) {
    std::vector<Field> fields;
    ForEachLine(bytes, [&](std::string_view line, int number) { SplitLine(line, number, fields); });
    return fields;
}

// ---- Numbers ------------------------------------------------------------------------------

enum class NumberStatus { Ok, NotANumber, TooLarge };

size_t CountDigits(std::string_view text, size_t pos) {
    size_t end = pos;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
    return end - pos;
}

std::string_view DropPlus(std::string_view text) {
    return !text.empty() && text[0] == '+' ? text.substr(1) : text;
}

// A decimal number: sign, digits with an optional fraction, optional exponent.
NumberStatus ParseDecimal(std::string_view text, double& value) {
    size_t pos = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
    size_t mantissa = CountDigits(text, pos);
    pos += mantissa;
    if (pos < text.size() && text[pos] == '.') {
        const size_t fraction = CountDigits(text, pos + 1);
        mantissa += fraction;
        pos += 1 + fraction;
    }
    if (mantissa == 0) return NumberStatus::NotANumber;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        const size_t sign = pos + 1 < text.size() && (text[pos + 1] == '+' || text[pos + 1] == '-');
        const size_t exponent = CountDigits(text, pos + 1 + sign);
        if (exponent == 0) return NumberStatus::NotANumber;
        pos += 1 + sign + exponent;
    }
    if (pos != text.size()) return NumberStatus::NotANumber;
    const std::string_view digits = DropPlus(text);
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return result.ec == std::errc{} ? NumberStatus::Ok : NumberStatus::TooLarge;
}

// Every field is a number stored into a 32-bit integer: a fraction rounds half to even, as any
// value stored into an integer does, so "120.5" is 120 and "121.5" is 122.
NumberStatus ParseWhole(std::string_view text, int32_t& value) {
    double number = 0;
    const NumberStatus status = ParseDecimal(text, number);
    if (status != NumberStatus::Ok) return status;
    if (!(std::fabs(number) <= 4294967296.0)) return NumberStatus::TooLarge;
    const int64_t rounded = RoundHalfEven(number);
    if (!FitsInt32(rounded)) return NumberStatus::TooLarge;
    value = int32_t(rounded);
    return NumberStatus::Ok;
}

// A field as the player is shown it: quoted, and cut short if it is long.
std::string Quoted(std::string_view text) {
    constexpr size_t Longest = 40;
    size_t cut = text.size();
    if (cut > Longest) {
        cut = Longest;
        while (cut > 0 && IsUtf8Continuation(text[cut])) --cut;
    }
    std::string quoted(1, '"');
    quoted.append(text.substr(0, cut));
    if (cut < text.size()) quoted.append("...");
    quoted.push_back('"');
    return quoted;
}

std::string NumberProblem(NumberStatus status, std::string_view text) {
    switch (status) {
        case NumberStatus::TooLarge:
            return "the number " + Quoted(text) + " is too large";
        case NumberStatus::NotANumber:
        case NumberStatus::Ok:
            break;
    }
    return "a number was expected, found " + Quoted(text);
}

}  // namespace

// ---- Script -------------------------------------------------------------------------------

const std::vector<StageBlock>& StageBlocks() {
    using V = StageValues;
    static const std::vector<StageBlock> Blocks = {
        {"#ちょう", EnemyKind::Butterfly, {&V::X, &V::DY, &V::Interval}},
        {"#青", EnemyKind::Blue, {&V::X, &V::DY, &V::Interval, &V::Extra, &V::DY2}},
        {"#犬", EnemyKind::Dog, {&V::X, &V::Y}},
        {"#こうもり", EnemyKind::Bat, {&V::X, &V::Y, &V::DX, &V::Interval}},
        {"#雑魚", EnemyKind::SmallFry, {&V::X, &V::Y, &V::DX, &V::DY, &V::Interval}},
        {"#緑", EnemyKind::Green, {&V::X, &V::Y, &V::DX, &V::DY, &V::Interval, &V::Extra}},
        {"#ボス", std::nullopt, {&V::X, &V::Y, &V::Extra}},
    };
    return Blocks;
}

const StageBlock& StageBlockOf(EnemyKind kind) {
    const std::vector<StageBlock>& blocks = StageBlocks();
    return *std::find_if(blocks.begin(), blocks.end(),
                         [&](const StageBlock& block) { return block.Kind == kind; });
}

namespace {

bool IsBoss(const StageBlock& block) {
    return !block.Kind.has_value();
}

const StageBlock* FindBlock(std::string_view keyword) {
    for (const StageBlock& block : StageBlocks()) {
        if (block.Keyword == keyword) return &block;
    }
    return nullptr;
}

struct ScriptState {
    std::vector<Field> Fields;
    const DifficultyValues* Settings = nullptr;
    size_t Next = 0;
    const Field* Block = nullptr;  // the keyword of the block being read
    StageValues Values;
    std::vector<StageRecord> Records;
    std::string Error;
};

bool Fail(ScriptState& script, int line, const std::string& problem) {
    script.Error = "line " + std::to_string(line) + ": " + problem;
    return false;
}

// The next field of the block being read; the file must not end inside a block.
bool NextField(ScriptState& script, const Field*& field) {
    if (script.Next == script.Fields.size())
        return Fail(script, script.Block->Line,
                    "the file ends inside the block " + Quoted(script.Block->Text));
    field = &script.Fields[script.Next++];
    return true;
}

// A field that must be read as a keyword or a number has to be text.
bool NextTextField(ScriptState& script, const Field*& field) {
    return NextField(script, field) &&
           (field->Decodes || Fail(script, field->Line, "the text is not valid Shift_JIS"));
}

bool ParseNumberField(ScriptState& script, const Field& field, int32_t& value) {
    const NumberStatus status = ParseWhole(field.Text, value);
    return status == NumberStatus::Ok ||
           Fail(script, field.Line, NumberProblem(status, field.Text));
}

bool ReadWhole(ScriptState& script, int32_t& value) {
    const Field* field = nullptr;
    return NextTextField(script, field) && ParseNumberField(script, *field, value);
}

// Scaled by the difficulty and rounded half to even; it has to fit the 8-bit fields.
bool Scale(ScriptState& script, int line, const char* what, int32_t value, double factor,
           int32_t& scaled) {
    const int64_t rounded = RoundHalfEven(value * factor);
    if (rounded < 0 || rounded > 255)
        return Fail(script, line, std::string(what) + std::to_string(rounded) + ", outside 0..255");
    scaled = int32_t(rounded);
    return true;
}

// The dog and the boss are as tough at every difficulty; their hit points are never negative,
// so a hit's decrement stays in range. The boss's picture is an 8-bit code, and its position is
// the last slot's until that slot's course begins.
bool FinishRecord(ScriptState& script, StageRecord& record) {
    const StageValues& values = record.Values;
    record.HP = values.BlockValue;
    if (IsBoss(*record.Block) && (values.Extra < 0 || values.Extra > 255))
        return Fail(script, record.Line,
                    "the picture code " + std::to_string(values.Extra) + " is outside 0..255");
    if (IsBoss(*record.Block) && !InPositionRange(values.X, values.Y))
        return Fail(script, record.Line,
                    "the boss's position (" + std::to_string(values.X) + ", " +
                        std::to_string(values.Y) + ") is outside " + PositionRangeText());
    if (IsBoss(*record.Block) || record.Block->Kind == EnemyKind::Dog) {
        return values.BlockValue >= 0 ||
               Fail(script, record.Line,
                    "the hit points " + std::to_string(values.BlockValue) +
                        " are outside 0..2147483647");
    }
    int32_t interval = 0;
    if (!Scale(script, record.Line, "the scaled hit points come to ", values.BlockValue,
               script.Settings->HitPointFactor, record.HP) ||
        !Scale(script, record.Line, "the scaled fire interval comes to ", values.Interval,
               script.Settings->FireIntervalFactor, interval))
        return false;
    record.Interval = uint8_t(interval);
    return true;
}

bool ReadRecord(ScriptState& script, const StageBlock& block, const Field& timeField) {
    StageRecord record;
    record.Block = &block;
    record.Line = timeField.Line;
    if (!ParseNumberField(script, timeField, record.Time)) return false;
    for (StageField value : block.Fields) {
        if (!ReadWhole(script, script.Values.*value)) return false;
    }
    record.Values = script.Values;
    if (!FinishRecord(script, record)) return false;
    script.Records.push_back(record);
    return true;
}

bool ReadBlock(ScriptState& script, const StageBlock& block) {
    if (!ReadWhole(script, script.Values.BlockValue)) return false;
    const Field* field = nullptr;
    if (IsBoss(block)) return NextTextField(script, field) && ReadRecord(script, block, *field);
    for (;;) {
        if (!NextTextField(script, field)) return false;
        if (field->Text == "#End") return true;
        if (!ReadRecord(script, block, *field)) return false;
    }
}

bool ReadScript(ScriptState& script) {
    while (script.Next < script.Fields.size()) {
        const Field& field = script.Fields[script.Next++];
        const StageBlock* block = field.Decodes ? FindBlock(field.Text) : nullptr;
        if (block == nullptr) continue;  // the author's notes between blocks, in any bytes
        script.Block = &field;
        if (!ReadBlock(script, *block)) return false;
    }
    return true;
}

// ---- Tables -------------------------------------------------------------------------------

std::string BuildEnemy(StageTables& tables, const StageRecord& record) {
    const StageValues& v = record.Values;
    const int32_t time = record.Time;
    const uint8_t interval = record.Interval;
    const uint8_t hp = uint8_t(record.HP);
    switch (*record.Block->Kind) {
        case EnemyKind::Butterfly:
            return BuildStraightPath(tables, v.X, v.Y, v.DX, v.DY, time, interval, 20, hp, 85, 72);
        case EnemyKind::Blue:
            return BuildTwoLegPath(tables, v.X, -52, 0, v.DY, 0, v.DY2, time, 0, interval, 10, hp,
                                   108, 104, -1, v.Extra);
        case EnemyKind::Dog:
            return BuildDogSequence(tables, v.X, v.Y, time, record.HP);
        case EnemyKind::Bat:
            return BuildStraightPath(tables, v.X, v.Y, v.DX, 0, time, interval, 20, hp, 106, 72);
        case EnemyKind::SmallFry:
            return BuildStraightPath(tables, v.X, v.Y, v.DX, v.DY, time, interval, 30, hp, 70, 52);
        case EnemyKind::Green:
            return BuildStraightPath(tables, v.X, v.Y, v.DX, v.DY, time, interval, 40, hp, 80, 72);
    }
    return {};
}

// The boss record adds no enemy: it only dresses up the last slot (slot 0 if there is none).
void ApplyBoss(StageTables& tables, const StageRecord& record) {
    EnemyRecord& last = tables.Enemies.back();
    last.X = record.Values.X;
    last.Y = record.Values.Y;
    last.Sprite = uint8_t(record.Values.Extra);
    last.HP = record.Values.BlockValue;
    last.StartFrame = record.Time;
}

// The tables are sized once for the whole script, so a full stage never copies its columns; tables
// used before keep their memory.
void StartTables(StageTables& tables, const std::vector<StageRecord>& records) {
    const auto spawnLines =
        size_t(std::count_if(records.begin(), records.end(),
                             [](const StageRecord& record) { return !IsBoss(*record.Block); }));
    const size_t slots = std::min(spawnLines + 1, size_t(MaxEnemySlots));
    tables.Enemies.clear();
    tables.Paths.clear();
    tables.Enemies.reserve(slots);
    tables.Paths.reserve(slots);
    tables.Enemies.emplace_back();
    tables.Paths.emplace_back();
}

bool BuildTables(const std::vector<StageRecord>& records, StageTables& tables, std::string& error) {
    StartTables(tables, records);
    for (const StageRecord& record : records) {
        if (IsBoss(*record.Block)) {
            ApplyBoss(tables, record);
            continue;
        }
        const std::string problem = BuildEnemy(tables, record);
        if (!problem.empty()) {
            error = "line " + std::to_string(record.Line) + ": " + problem;
            return false;
        }
        WritePictureCodes(tables, *record.Block->Kind, record.Values.Extra);
    }
    return true;
}

// A full stage of 254 spawn lines takes about 10 kB; a script past this is no stage of ours, and
// parsing one would cost far more memory and time than the file's size.
constexpr size_t MaxStageBytes = size_t(1) << 20;

bool ReportBrokenStage(const std::string& message) {
    MessageBox(message, "", BoxButtons::Ok, BoxIcon::Error);
    return false;
}

}  // namespace

bool ParseStage(const std::string& bytes, uint8_t difficulty, StageTables& out,
                std::string& error) {
    std::vector<StageRecord> records;
    std::string readError;
    const bool wellFormed = ReadStageRecords(bytes, difficulty, records, readError);
    // The lines read before a fault are built all the same, so that the first fault in the file
    // is the one reported, whether it is in the writing or in an enemy's course.
    if (!BuildTables(records, out, error)) return false;
    if (!wellFormed) error = readError;
    return wellFormed;
}

bool ReadStageRecords(const std::string& bytes, uint8_t difficulty,
                      std::vector<StageRecord>& records, std::string& error) {
    ScriptState script;
    script.Settings = DifficultyValuesFor(difficulty);
    if (script.Settings == nullptr) {
        error = "there is no stage for difficulty " + std::to_string(difficulty);
        return false;
    }
    script.Fields = SplitFields(bytes);
    const bool wellFormed = ReadScript(script);
    records = std::move(script.Records);
    if (!wellFormed) error = script.Error;
    return wellFormed;
}

bool LoadStage() {
    const DifficultyValues* settings = DifficultyValuesFor(Difficulty);
    if (settings == nullptr)
        return ReportBrokenStage("There is no stage for difficulty " + std::to_string(Difficulty) +
                                 ".");
    const std::string name = "teki_" + std::string(settings->StageLetter) + ".dat";
    std::string bytes;
    const FileRead read = ReadFileBytes(GameFile("\\" + name), bytes, MaxStageBytes);
    if (read == FileRead::TooLarge)
        return ReportBrokenStage(name + ": the file is larger than 1 MB");
    if (read != FileRead::Ok)
        return ReportBrokenStage(name + ": the file is missing or cannot be read");
    StageTables tables;
    std::string error;
    if (!ParseStage(bytes, Difficulty, tables, error)) return ReportBrokenStage(name + " " + error);
    // Only a whole, valid stage replaces the previous one.
    Enemies.swap(tables.Enemies);
    Paths.swap(tables.Paths);
    return true;
}
