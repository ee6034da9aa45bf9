// The music device: takes the game's string commands ("Open m_battle.mid Alias BGM",
// "status BGM mode", "seek BGM to start", "play BGM", "stop BGM", "Close BGM") and answers as a
// multimedia command interface does: 0 on success, an error code otherwise. A reply, when the
// command has one, is written into `reply`.
#pragma once

#include <string>

constexpr int MusicOk = 0;
int SendMusicCommand(const std::string& command, std::string* reply = nullptr);
