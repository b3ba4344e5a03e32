// After a rotation is named the trees are already resynced, but the stall fruits
// take a moment to get there: each fruit travels from the stall it stood in to
// its stall in the rotated tree. A rotation at the root of a tree of at most three
// levels keeps every fruit within the seven stalls, so each one has a stall to
// leave from. The animation is paced by the measured frame step, never by a clock
// of its own, and the character waits for it.
#include <algorithm>
#include <iterator>

#include "app/game.hpp"
#include "assets/layout.hpp"

namespace {

// Slow at both ends, fast in the middle; 0 at 0, 1/2 at 1/2, 1 at 1.
float easeInOut(float t) { return t * t * (3.f - 2.f * t); }

int32_t slotShowing(const int32_t (&fruits)[kStallCount], int32_t fruit) {
    for (int32_t slot = 0; slot < kStallCount; ++slot) {
        if (fruits[slot] == fruit) {
            return slot;
        }
    }
    return TreeSlot::None;
}

}  // namespace

void Game::startStallAnimation(const int32_t (&fruitsBefore)[kStallCount]) {
    std::copy(std::begin(fruitsBefore), std::end(fruitsBefore), std::begin(stallFruitsBefore));
    stallsMoving = true;
    stallAnimationSeconds = 0;
    movementEnabled = false;
    // The first step is counted from here, not from the last walk before the question.
    stepClock.restart();
}

void Game::advanceStallAnimation() {
    measureFrameStep();
    stallAnimationSeconds += frameSeconds;
    if (hasOutcome() || stallAnimationSeconds >= kStallAnimationSeconds) {
        finishStallAnimation();
    }
}

void Game::finishStallAnimation() {
    stallsMoving = false;
    stallAnimationSeconds = kStallAnimationSeconds;
    if (!hasOutcome()) {
        movementEnabled = true;
    }
}

void Game::placeStallFruits() {
    const float progress = easeInOut(stallAnimationSeconds / kStallAnimationSeconds);
    for (int32_t slot = 0; slot < kStallCount; ++slot) {
        if (!slotFilled[slot] || slotFruit[slot] == kNoFruit) {
            continue;
        }
        const sf::Vector2f target = kSlotFruitPositions[slot];
        // A guard: a fruit the tree before did not show starts where it ends.
        const int32_t from = stallsMoving ? slotShowing(stallFruitsBefore, slotFruit[slot]) : slot;
        const sf::Vector2f start = kSlotFruitPositions[from == TreeSlot::None ? slot : from];
        treeFruitSprites[slotFruit[slot]].setPosition(start + (target - start) * progress);
    }
}

void Game::drawStallFruits() {
    for (int32_t slot = 0; slot < kStallCount; ++slot) {
        if (slotFilled[slot] && slotFruit[slot] != kNoFruit) {
            window.draw(treeFruitSprites[slotFruit[slot]]);
        }
    }
}
