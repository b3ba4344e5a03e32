// The market's shape as data: where the stalls, the bin and the lanes are, how big
// the character and a falling fruit are, and where the character may walk. A match
// is played on one market; its rules read every place and size from here.
#pragma once

#include <cstdint>
#include <vector>

#include "match/geometry.hpp"
#include "tree/tree.hpp"

// The fruits are numbered 0 to 99.
constexpr int32_t kFruitCount = 100;

struct Market {
    // Stall k stands for tree slot k. Touching a stall's picture offers its insert
    // button; its solid part, narrower than the picture, stops the character.
    std::vector<Box> stalls;
    std::vector<Box> stallAreas;
    // Solid, and it takes whatever the character carries into it.
    Box bin;
    // Lanes bring fruits down from above the picture: each starts at a whole x
    // below laneWidth, the first ones of a match one after another above the top.
    int32_t laneCount = 0;
    int32_t laneWidth = 0;
    float laneBottom = 0;
    float firstLaneStartY = 0;
    float laneStartSpacing = 0;
    float fallPixelsPerSecond = 0;
    float fruitSize = 0;
    // The character's box at its start; it walks while its corner is inside the
    // limits (left and up inclusive, right and down not).
    Box character;
    float walkPixelsPerSecond = 0;
    float leftLimit = 0;
    float rightLimit = 0;
    float topLimit = 0;
    float bottomLimit = 0;
    float matchSeconds = 0;
    // A delivery that unbalances the tree first asks which stall lost its balance,
    // then the rotation.
    bool asksWhere = false;

    int32_t stallCount() const { return static_cast<int32_t>(stalls.size()); }
};

// The market of seven stalls in three levels.
const Market& smallMarket();
// The market of fifteen stalls in four levels, where rotations move whole subtrees.
const Market& bigMarket();
// The market with that many stalls: the big one for 15, else the small one.
const Market& marketOf(int32_t stalls);
