// The runner's input script, one command a line:
//   F down KEY | F up KEY | F tap KEY | F close | answer TEXT | cancel | msgbox ok | msgbox cancel
// Key changes for frame F happen when frame F-1's wait returns (at start-up for F = 1).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

struct RunnerEvent {
    enum Kind { Down, Up, Tap, Close } What = Down;
    int Key = 0;
};

struct RunnerInput {
    std::map<int64_t, std::vector<RunnerEvent>> Events;  // by frame
    std::vector<std::optional<std::string>> Answers;     // name dialog; nullopt = cancel
    std::vector<BoxAnswer> BoxAnswers;

    void QueueAnswers() const;
    void ApplyFrame(int64_t frame) const;
};

// The virtual-key code of a key name (left up right down kp2 kp4 kp5 kp6 kp8 z return escape),
// or 0.
int KeyByName(const std::string& name);
bool ParseRunnerInput(const std::string& text, RunnerInput& out, std::string& error);
bool LoadRunnerInput(const std::string& file, RunnerInput& out, std::string& error);
