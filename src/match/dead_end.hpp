// Dead ends: whether the player's tree can still be completed. A tree can be completed while some sequence of
// legal moves fills every stall (slotCount: seven, or fifteen in the big market): each move a number of the range
// not yet in the tree, taken to the stall where it belongs within the market's levels, every rotation it asks for
// named right (the tree then is the AVL tree). Among seven stalls, after 50 at the root and 49 at its left no such
// sequence exists: the only whole number that belongs right of 49 is 49 itself. Nothing here draws or reads a file;
// the game asks it after every change to the tree.
#pragma once

#include <cstdint>

#include "match/market.hpp"
#include "tree/tree.hpp"

struct DeadEnd {
    bool stuck = false;
    // When stuck: the free stall no number fits, the first in reading order (slot 0 up) if several, and the two
    // numbers that close it, its neighbours in the tree. Where the range itself closes it, the bound past the
    // range stands in: -1 below 0, `numbers` (100) above 99. (In a range smaller than the game's a tree can be
    // stuck with a number for every free stall; then the stall is the first with the fewest.)
    int32_t slot = TreeSlot::None;
    int32_t below = -1;
    int32_t above = kFruitCount;
};

// The dead end of the AVL tree at root, whose numbers are 0 to numbers - 1. Numbers between the same two
// neighbours land alike, so the search runs over those gaps, each with the count of free numbers it holds (which
// number of a gap is chosen decides how that count splits between the two gaps it leaves). A few microseconds;
// the slowest tree takes some 20 (bench/dead_end_bench). An empty or complete tree is never stuck.
DeadEnd findDeadEnd(TreeNode* root, int32_t numbers = kFruitCount, int32_t slotCount = TreeSlot::Count);
