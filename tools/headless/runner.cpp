// The headless runner: the real game on the headless platform, driven by a script of key
// presses and dialog answers, with a per-frame trace and snapshots of chosen frames.
//
//   vexlan_headless --dir DIR [--input FILE | --replay FILE] [--seed N] [--frames N]
//                   [--trace FILE] [--shot F:FILE]... [--texts FILE] [--record FILE]
//
// A frame is one return of WaitNextFrame; frame 1 is the first of the program. --record writes
// the replay of the last game the run finished to FILE; --replay plays a replay instead of an
// input file (from a fresh program, its game's first frame being frame 1) and tells on stderr
// whether it played as recorded, the exit status saying so as `vexlan --verify` does.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>

#include "audio/headless/headless_audio.h"
#include "gfx/bmp.h"
#include "platform/headless/headless.h"
#include "runner_input.h"
#include "runner_trace.h"
#include "shell/program.h"
#include "shell/replays.h"

namespace {

struct Options {
    std::string Dir;
    std::string InputFile;
    uint64_t Seed = 0;
    int64_t Frames = -1;  // close the window after this frame; -1 = never
    std::string TraceFile;
    std::map<int64_t, std::string> Shots;  // frame -> file
    std::string TextsFile;
    std::string RecordFile;
    std::string ReplayFile;
};

[[noreturn]] void Usage(const std::string& problem) {
    std::cerr << "vexlan_headless: " << problem << "\n"
              << "usage: vexlan_headless --dir DIR [--input FILE | --replay FILE] [--seed N] "
                 "[--frames N] [--trace FILE] [--shot F:FILE]... [--texts FILE] [--record FILE]\n";
    std::exit(2);
}

int64_t ParseNumber(const std::string& text, const char* what) {
    size_t used = 0;
    int64_t value = 0;
    try {
        value = std::stoll(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != text.size() || value < 0)
        Usage(std::string(what) + " must be a whole number, found \"" + text + "\"");
    return value;
}

Options ParseArguments(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc) Usage(arg + " needs a value");
        const std::string value = argv[++i];
        if (arg == "--dir") {
            options.Dir = value;
        } else if (arg == "--input") {
            options.InputFile = value;
        } else if (arg == "--seed") {
            options.Seed = static_cast<uint64_t>(ParseNumber(value, "--seed"));
        } else if (arg == "--frames") {
            options.Frames = ParseNumber(value, "--frames");
        } else if (arg == "--trace") {
            options.TraceFile = value;
        } else if (arg == "--shot") {
            const size_t colon = value.find(':');
            if (colon == std::string::npos) Usage("--shot takes F:FILE");
            options.Shots[ParseNumber(value.substr(0, colon), "--shot frame")] =
                value.substr(colon + 1);
        } else if (arg == "--texts") {
            options.TextsFile = value;
        } else if (arg == "--record") {
            options.RecordFile = value;
        } else if (arg == "--replay") {
            options.ReplayFile = value;
        } else {
            Usage("unknown option " + arg);
        }
    }
    if (options.Dir.empty()) Usage("--dir is required");
    if (!options.ReplayFile.empty() && !options.InputFile.empty())
        Usage("--replay plays instead of --input: give one of them");
    return options;
}

void WriteSnapshot(const std::string& file) {
    const auto& frame = headless::LastPresentedFrame();
    if (frame.empty()) return;
    std::ofstream out(file, std::ios::binary);
    out << EncodeBitmap24(frame.data(), headless::LastPresentedWidth(),
                          headless::LastPresentedHeight());
    if (!out) std::cerr << "vexlan_headless: cannot write " << file << "\n";
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = ParseArguments(argc, argv);
    RunnerInput input;
    if (!options.InputFile.empty()) {
        std::string error;
        if (!LoadRunnerInput(options.InputFile, input, error)) Usage(error);
    }
    std::ofstream trace;
    if (!options.TraceFile.empty()) {
        trace.open(options.TraceFile, std::ios::binary | std::ios::trunc);
        if (!trace) Usage("cannot write the trace " + options.TraceFile);
    }
    std::ofstream texts;
    if (!options.TextsFile.empty()) {
        texts.open(options.TextsFile, std::ios::binary | std::ios::trunc);
        if (!texts) Usage("cannot write the texts " + options.TextsFile);
    }

    headless::Reset();

    headless::ResetAudio();
    headless::SetProgramDirectory(options.Dir);
    headless::SetSeed(options.Seed);
    input.QueueAnswers();

    int64_t frame = 1;  // the frame whose wait comes next
    input.ApplyFrame(frame);
    if (texts.is_open())
        SetTextObserver([&](const DrawnText& text) { texts << TextLine(frame, text) << '\n'; });
    headless::SetFrameHooks(
        [&] {
            if (trace.is_open()) trace << TraceLine(frame) << '\n';
            auto shot = options.Shots.find(frame);
            if (shot != options.Shots.end()) WriteSnapshot(shot->second);
        },
        [&] {
            if (frame == options.Frames) headless::RequestClose();
            ++frame;
            input.ApplyFrame(frame);
        });

    SetLastReplayFile(options.RecordFile);
    try {
        if (options.ReplayFile.empty()) Main();
        // What the program did before the game is not the game's: the first frame's trace holds
        // only what the game itself did, as in the run that recorded it.
        RunReplay(options.ReplayFile, PlaybackPace::Fastest, &std::cerr, [] {
            headless::TakePlayedVoices();
            headless::TakeMusicCommands(false);
            headless::TakeBoxTexts();
        });
    } catch (const headless::ProgramExit& exit) {
        trace.flush();
        texts.flush();
        return exit.Status;
    }
}
