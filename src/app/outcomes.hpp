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
}  // namespace LossCause
