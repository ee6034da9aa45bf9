#include "audio/music.h"

#include "audio/music_device.h"

namespace {
// The device's answer to the mode query, kept between calls as a 7-character buffer: a failed
// query leaves the previous answer in place.
const std::string NoReply(7, ' ');
std::string BgmModeReply = NoReply;
}  // namespace

void ResetMusicReply() {
    BgmModeReply = NoReply;
}

void KeepBgmPlaying(bool musicOn) {
    if (!musicOn) return;
    std::string reply;
    if (SendMusicCommand("status BGM mode", &reply) == MusicOk) {
        reply.resize(7, ' ');
        BgmModeReply = reply;
    }
    if (BgmModeReply == "stopped") {
        SendMusicCommand("seek BGM to start");
        SendMusicCommand("play BGM");
    }
}
