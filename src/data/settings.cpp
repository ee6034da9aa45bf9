#include "data/settings.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>

#include "audio/volume.h"
#include "common/number_text.h"
#include "common/rounding.h"
#include "common/text.h"
#include "game/difficulty.h"
#include "game/state.h"
#include "platform/platform.h"
#include "platform/profile.h"

namespace {

constexpr size_t ReadBytes = 49;      // what a 50-byte buffer holds besides its final zero
constexpr size_t PaddedLength = 255;  // characters every written value is padded to
constexpr uint8_t DefaultDifficulty = DifficultyNormal;
// data.ini's own format version, written as "Ver": it stays "1.10" whatever the program's version,
// since the file's layout has not changed.
constexpr char SettingsFileVersion[] = "1.10";

// A file of the reads and writes as this run read it, with the changes not saved yet.
struct HeldFile {
    ProfileDocument Document;
    bool Changed = false;
};

// What the module keeps for a run.
struct SettingsMemory {
    std::string ReadFileName;  // remembered from the previous read
    std::string ReadSection;
    std::string WriteFileName;  // remembered from the previous write, apart from the reader's
    std::string WriteSection;
    std::map<std::string, HeldFile> Files;  // each read once, at its first use
    bool SaveFailureTold = false;           // a failing save is told once a run, not at every save
    bool Unwritten = false;  // a replay is being played: the file is not the replay's to write
    bool Read = false;       // ReadSettings has run
};
SettingsMemory Memory;

void Remember(std::string& memory, const std::string& given) {
    if (!given.empty()) memory = given;
}

// The decimal number at the start of a text (sign, digits, fraction), blanks anywhere ignored;
// 0 when there is none.
double LeadingNumber(const std::string& text) {
    std::string number;
    bool seenPoint = false;
    for (const char c : text) {
        if (c == ' ' || c == '\t') continue;
        const bool sign = (c == '-' || c == '+') && number.empty();
        const bool point = c == '.' && !seenPoint;
        if (!sign && !point && (c < '0' || c > '9')) break;
        seenPoint = seenPoint || point;
        number += c;
    }
    const bool negative = !number.empty() && number.front() == '-';
    if (!number.empty() && (number.front() == '-' || number.front() == '+')) number.erase(0, 1);
    double value = 0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec != std::errc{}) return 0;
    return negative ? -value : value;
}

// The leading number rounded half to even; 0 when it lies outside what a score can hold.
int64_t RoundedNumber(const std::string& text) {
    const double value = LeadingNumber(text);
    if (!(std::fabs(value) < 4e9)) return 0;
    const int64_t rounded = RoundHalfEven(value);
    return FitsInt32(rounded) ? rounded : 0;
}

int32_t ScoreFrom(const std::string& text) {
    return static_cast<int32_t>(RoundedNumber(text));
}

// Only the three difficulties the game has; anything else reads as Normal.
uint8_t DifficultyFrom(const std::string& text) {
    const int64_t difficulty = RoundedNumber(text);
    return difficulty >= DifficultyEasy && difficulty <= DifficultyHard
               ? static_cast<uint8_t>(difficulty)
               : DefaultDifficulty;
}

bool16 FlagFrom(const std::string& text) {
    return ToBool16(LeadingNumber(text) != 0);
}

// Counted in characters, not bytes, so a Japanese name gets as many blanks as its length asks.
std::string PaddedValue(const std::string& value) {
    std::string padded;
    size_t characters = 0;
    for (const char c : value) {
        const bool starts = !IsUtf8Continuation(c);
        if (starts && ++characters > PaddedLength) break;
        padded += c;
    }
    return padded + std::string(PaddedLength - std::min(characters, PaddedLength), ' ');
}

// A name loses the blanks it was padded with (tabs stay: the writer never adds them).
std::string NameAsRead(const std::string& value) {
    return std::string(TrimBlanks(value, " "));
}

std::string WithoutComment(const std::string& value) {
    return value.substr(0, value.find(';'));
}

std::string TooLargeText() {
    return "larger than " + std::string(MaxProfileSizeText) + " (" +
           std::to_string(MaxProfileBytes) + " bytes), the most a settings file may be";
}

std::string ReasonFor(int error) {
    return error == EFBIG ? "it is " + TooLargeText() : std::strerror(error);
}

// The file as the run first read it. One too large to be a settings file is neither read nor,
// later, replaced: whatever the player keeps in it stays theirs.
HeldFile& Held(const std::string& file) {
    const auto [place, first] = Memory.Files.try_emplace(file);
    HeldFile& held = place->second;
    if (first && !file.empty() && !LoadProfile(file, held.Document) &&
        held.Document.ReadError == EFBIG)
        std::fprintf(stderr, "vexlan: %s is %s: it is not read, and not saved over.\n",
                     file.c_str(), TooLargeText().c_str());
    return held;
}

// The player learns that this run's settings and scores are lost, and why; the game goes on.
void TellSaveFailure(const std::string& file, const std::string& reason) {
    if (Memory.SaveFailureTold) return;
    Memory.SaveFailureTold = true;
    MessageBox("The settings and high scores could not be saved to " + file + ": " + reason + ".",
               "", BoxButtons::Ok, BoxIcon::Warning);
}

}  // namespace

void ResetSettingsState() {
    Memory = {};
}

void KeepSettingsUnwritten() {
    Memory.Unwritten = true;
}

std::string ReadIniValue(const std::string& key, const std::string& file,
                         const std::string& section, const std::string& fallback) {
    Remember(Memory.ReadFileName, file);
    Remember(Memory.ReadSection, section);
    const ProfileDocument& document = Held(Memory.ReadFileName).Document;
    return WithoutComment(ProfileString(document, Memory.ReadSection, key, fallback, ReadBytes));
}

std::string NameAsReadBack(const std::string& name) {
    return NameAsRead(WithoutComment(ProfileValueAsRead(PaddedValue(name))));
}

void WriteIniValue(const std::string& key, const std::string& value, const std::string& file,
                   const std::string& section) {
    Remember(Memory.WriteSection, section);
    Remember(Memory.WriteFileName, file);
    HeldFile& held = Held(Memory.WriteFileName);
    if (PutProfileString(held.Document, Memory.WriteSection, key, PaddedValue(value)))
        held.Changed = true;
    else
        TellSaveFailure(Memory.WriteFileName, std::strerror(errno));
}

void SaveIniFiles() {
    for (auto& [file, held] : Memory.Files) {
        if (!held.Changed) continue;
        if (SaveProfile(held.Document, file))
            held.Changed = false;
        else
            TellSaveFailure(file, ReasonFor(errno));
    }
}

void KeepWindowSettings() {
    const ProfileDocument& settings = Held(SettingsFilesFor(ProgramDir).Write).Document;
    TakeWindowSettingsFrom(settings);
    TakeAudioSettingsFrom(settings);
    TakeInputSettingsFrom(settings);
}

void ReadSettings() {
    const SettingsFiles files = SettingsFilesFor(ProgramDir);
    if (files.Write.empty())
        std::fprintf(stderr,
                     "vexlan: there is no home folder ($HOME is not set, and the password "
                     "database has none): settings and high scores are kept for this session "
                     "only.\n");
    const std::string& file = files.Read;
    for (int n = 1; n <= 5; ++n) {
        HighScoreEntry& entry = HighScoreTable[n - 1];
        const std::string place = std::to_string(n);
        entry.Score = ScoreFrom(ReadIniValue("score" + place, file, "data", ""));
        entry.Name = NameAsRead(ReadIniValue("name" + place, "", "", ""));
    }
    MidiOn = FlagFrom(ReadIniValue("midi", "", "", ""));
    WavOn = FlagFrom(ReadIniValue("wav", "", "", ""));
    Difficulty = DifficultyFrom(ReadIniValue("Diffculty", "", "", "2"));
    Memory.Read = true;
}

bool SettingsWereRead() {
    return Memory.Read;
}

void WriteSettings() {
    if (Memory.Unwritten) return;
    const std::string file = SettingsFilesFor(ProgramDir).Write;
    if (file.empty()) return;  // kept for the session only, as ReadSettings said
    // The player's own data folder is made at the first save.
    std::string reason;
    if (!MakeFolderFor(file, reason)) TellSaveFailure(file, reason);
    for (int n = 1; n <= 5; ++n) {
        const HighScoreEntry& entry = HighScoreTable[n - 1];
        const std::string place = std::to_string(n);
        WriteIniValue("score" + place, std::to_string(entry.Score), file, "data");
        WriteIniValue("name" + place, entry.Name, "", "");
    }
    WriteIniValue("Midi", NumberText(MidiOn), "", "");
    WriteIniValue("Wav", NumberText(WavOn), "", "");
    WriteIniValue("Diffculty", NumberText(Difficulty), "", "");
    WriteIniValue("Ver", SettingsFileVersion, "", "");
    HeldFile& held = Held(file);
    PutWindowSettingsInto(held.Document);
    PutAudioSettingsInto(held.Document);
    PutInputSettingsInto(held.Document);
    held.Changed = true;
    SaveIniFiles();
}
