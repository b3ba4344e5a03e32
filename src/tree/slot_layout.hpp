// Where each of the seven slots shows itself on screen: the insert button offered
// beside its stall, and the fruit drawn in it. Indexed by TreeSlot.
#pragma once

#include <SFML/System/Vector2.hpp>

#include "tree/tree.hpp"

inline const sf::Vector2f kInsertButtonPositions[TreeSlot::Count] = {
    {482, 89}, {355, 228}, {614, 228}, {283, 400}, {420, 400}, {551, 400}, {682, 400},
};

inline const sf::Vector2f kSlotFruitPositions[TreeSlot::Count] = {
    {516, 153}, {389, 293}, {649, 293}, {320, 465}, {454, 465}, {586, 465}, {718, 465},
};
