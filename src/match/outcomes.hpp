// How a match ends, as the game keeps it in lossCause and the history's summary
// tells its last matches: None for a match won (or not over), else the cause of
// the loss. Nothing here draws, so the history can use the codes without SFML.
#pragma once

#include <cstdint>

namespace LossCause {
constexpr int32_t None = 0;
constexpr int32_t WrongSlot = 1;
constexpr int32_t WrongRotation = 2;
constexpr int32_t RepeatedKey = 3;
constexpr int32_t TimeOut = 4;
// No fruit can fill some free stall any more: the tree cannot be completed.
constexpr int32_t Stuck = 5;
// The player left the match for the menu before it ended.
constexpr int32_t Left = 6;
// The big market asks which stall lost its balance before the rotation: the
// wrong stall was named.
constexpr int32_t WrongWhere = 7;
constexpr int32_t Count = 8;
}  // namespace LossCause

// The codes the history writes, the same in every language: the stalls by their
// slot (L for left, R for right, from the root down; the big market's fourth level
// after the seven of the small one) and the RotationKinds.
inline constexpr const char* kSlotCodes[] = {"root", "L",   "R",   "LL",  "LR",  "RL",  "RR",  "LLL",
                                             "LLR",  "LRL", "LRR", "RLL", "RLR", "RRL", "RRR"};
inline constexpr const char* kRotationCodes[] = {"single-right", "double-right", "single-left", "double-left"};

// The code of a TreeSlot; bin for TreeSlot::None; empty for anything else.
const char* slotCode(int32_t slot);
// The code of a RotationKind; empty for anything else.
const char* rotationCode(int32_t kind);
