#include "support/bot.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "game/boss.h"
#include "game/bullets.h"

namespace {

constexpr int LookAhead = 8;  // frames of bullet flight considered

FieldView SeeField() {
    FieldView view;
    view.BossFight = GameMode == ModeBoss;
    view.BossX = BossFight.BossX;
    for (const BulletRecord& bullet : EnemyBullets)
        if (bullet.Active != False16) view.Bullets.push_back(bullet);
    for (const EnemyRecord& enemy : Enemies)
        if (enemy.Active != False16 && enemy.Exploding == False16) view.Enemies.push_back(enemy);
    return view;
}

// How close the nearest bullet comes to the ship over the next frames if it keeps moving by
// (dx, dy) each frame. The bullets are as seen `age` frames ago, followed along their motion.
double Clearance(const FieldView& view, int age, int dx, int dy) {
    double nearest = std::numeric_limits<double>::max();
    for (int t = 1; t <= LookAhead; ++t) {
        const double x = std::clamp(Player.X + dx * t, 24, 476);
        const double y = std::clamp(Player.Y + dy * t, 20, 580);
        for (const BulletRecord& bullet : view.Bullets) {
            const double radius = bullet.Frame >= BulletHoming ? 24 : 12;
            const double bx = bullet.X + bullet.DX * (t + age);
            const double by = bullet.Y + bullet.DY * (t + age);
            const double gap = std::hypot(bx - x, by - y) - radius;
            // Near frames matter most.
            nearest = std::min(nearest, gap + 3.0 * (t - 1));
        }
    }
    return nearest;
}

// Where a bot would like to be: under the boss, or under the lowest living enemy.
int TargetX(const FieldView& view) {
    if (view.BossFight) return view.BossX;
    int best = 250;
    int lowest = -1000;
    for (const EnemyRecord& enemy : view.Enemies) {
        if (enemy.Y > lowest && enemy.Y < 450) {
            lowest = enemy.Y;
            best = enemy.X;
        }
    }
    return best;
}

BotKeys Choose(const FieldView& view, int age) {
    BotKeys keys;
    keys.Fire = true;
    if ((GameMode != ModeStage && GameMode != ModeBoss) || Player.State == ShipEntering ||
        Player.State > ShipBlinking)
        return keys;
    const int targetX = TargetX(view);
    double bestScore = -std::numeric_limits<double>::max();
    int bestDx = 0;
    int bestDy = 0;
    for (int dy : {-12, 0, 12}) {
        for (int dx : {-12, 0, 12}) {
            const double clearance = std::min(Clearance(view, age, dx, dy), 80.0);
            const int x = std::clamp(Player.X + dx, 24, 476);
            const int y = std::clamp(Player.Y + dy, 20, 580);
            const double score =
                clearance * 4 - std::abs(x - targetX) * 0.3 - std::abs(y - 520) * 0.2;
            if (score > bestScore) {
                bestScore = score;
                bestDx = dx;
                bestDy = dy;
            }
        }
    }
    keys.Left = bestDx < 0;
    keys.Right = bestDx > 0;
    keys.Up = bestDy < 0;
    keys.Down = bestDy > 0;
    return keys;
}

}  // namespace

BotKeys BotChoice() {
    return Choose(SeeField(), 0);
}

BotKeys ReactionBot::Choice() {
    Seen.push_back(SeeField());
    if (Seen.size() > size_t(ReactionFrames) + 1) Seen.pop_front();
    // Before it has seen ReactionFrames frames it has seen nothing yet: an empty field.
    if (Seen.size() <= size_t(ReactionFrames)) return Choose(FieldView{}, ReactionFrames);
    return Choose(Seen.front(), ReactionFrames);
}
