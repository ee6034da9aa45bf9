#include "runner_trace.h"

#include <cstdio>

#include "audio/headless/headless_audio.h"
#include "game/boss.h"
#include "game/state.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::string TextLine(int64_t frame, const DrawnText& text) {
    char head[64];
    std::snprintf(head, sizeof head, "%lld %d %d %06x %d ", static_cast<long long>(frame), text.X,
                  text.Y, static_cast<unsigned>(text.Colour) & 0xFFFFFFu, text.Size);
    return head + text.Text;
}

namespace {

int CountActive(const std::vector<BulletRecord>& table) {
    int count = 0;
    for (const BulletRecord& record : table) count += record.Active != False16;
    return count;
}

std::string JsonList(const std::vector<std::string>& texts) {
    std::string out = "[";
    for (size_t i = 0; i < texts.size(); ++i) out += (i ? "," : "") + JsonString(texts[i]);
    return out + "]";
}

}  // namespace

std::string TraceLine(int64_t frame) {
    int living = 0;
    int exploding = 0;
    for (const EnemyRecord& enemy : Enemies) {
        if (enemy.Exploding != False16)
            ++exploding;
        else if (enemy.Active != False16)
            ++living;
    }
    auto n = [](auto value) { return std::to_string(value); };
    std::string line = "{\"frame\":" + n(frame);
    line += ",\"mode\":" + n(GameMode);
    line += ",\"timer\":" + n(StageTimer);
    line += ",\"score\":" + n(Score);
    line += ",\"player\":[" + n(Player.X) + "," + n(Player.Y) + "," + n(Player.HP) + "," +
            n(Player.State) + "]";
    line += ",\"shots\":" + n(CountActive(PlayerShots));
    line += ",\"bullets\":" + n(CountActive(EnemyBullets));
    line += ",\"enemies\":" + n(living);
    line += ",\"exploding\":" + n(exploding);
    line += ",\"boss\":[" + n(BossFight.BossX) + "," + n(BossFight.BossY) + "," +
            n(BossFight.BossHP) + "," + n(BossFight.BossPhase) + "]";
    line += ",\"difficulty\":" + n(Difficulty);
    line += ",\"midi\":" + n(MidiOn);
    line += ",\"wav\":" + n(WavOn);
    line += ",\"sounds\":" + n(headless::TakePlayedVoices().size());
    line += ",\"music\":" + JsonList(headless::TakeMusicCommands(false));
    line += ",\"boxes\":" + JsonList(headless::TakeBoxTexts());
    line += ",\"tick\":" + n(headless::Clock());
    return line + "}";
}
