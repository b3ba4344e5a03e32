// How many of each thing the game has: the numbers the Game's arrays and the
// sprite layout are both sized by. Nothing here knows a pixel or a picture.
#pragma once

#include <cstdint>

#include "match/market.hpp"
#include "tree/tree.hpp"

constexpr int32_t kStallCount = TreeSlot::Count;
constexpr int32_t kMatchSeconds = 90;
// One timer picture for each whole second left, from 90 down to 0.
constexpr int32_t kTimerPictureCount = kMatchSeconds + 1;
// The instructions: the rules and the small market, then the big market.
constexpr int32_t kInstructionsPages = 2;
