// The busy moment both frame programs draw: six fruits falling, seven fruits in
// the stalls and the rotation question on screen. Shared so that the game's
// frame and the bare program's frame show the same things.
#pragma once

#include <cstdint>

namespace busy {

constexpr int32_t kLaneFruits[6] = {3, 17, 28, 44, 61, 95};
constexpr float kLaneX[6] = {0, 40, 80, 120, 160, 200};
constexpr float kFirstLaneY = 40;
constexpr float kLaneSpacingY = 90;
// A complete three-level tree, listed by slot (root, left, right, then the four
// grandchildren from left to right).
constexpr int32_t kSlotFruits[7] = {50, 25, 75, 12, 37, 62, 87};
constexpr int32_t kWarmUpFrames = 100;
// The big market's busy moment: a complete four-level tree in its fifteen stalls,
// listed by slot, and the question of where up with its highlight on the stall
// of slot kHighlighted.
constexpr int32_t kBigSlotFruits[15] = {50, 25, 75, 12, 37, 62, 87, 6, 18, 31, 43, 56, 68, 81, 93};
constexpr int32_t kHighlighted = 7;

}  // namespace busy
