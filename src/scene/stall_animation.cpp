// After a rotation is named the trees are already resynced, but the stall fruits
// take a moment to get there: each fruit travels from the stall it stood in to
// its stall in the rotated tree, one that comes into the seven stalls (from below
// the third level) fades in at its stall, one that goes out of them fades out.
// The animation is paced by the measured frame step, never by a clock of its own,
// and the character waits for it.
#include <algorithm>
#include <iterator>

#include "app/game.hpp"
#include "tree/slot_layout.hpp"

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

sf::Color withAlpha(float opacity) {
    return sf::Color(255, 255, 255, static_cast<sf::Uint8>(255.f * opacity));
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
    for (sf::Sprite& fruit : treeFruitSprites) {
        fruit.setColor(sf::Color::White);
    }
    if (!hasOutcome()) {
        movementEnabled = true;
    }
}

void Game::drawStallFruits() {
    const float progress = easeInOut(stallAnimationSeconds / kStallAnimationSeconds);
    for (int32_t slot = 0; slot < kStallCount; ++slot) {
        if (!slotFilled[slot] || slotFruit[slot] == kNoFruit) {
            continue;
        }
        sf::Sprite& fruit = treeFruitSprites[slotFruit[slot]];
        const sf::Vector2f target = kSlotFruitPositions[slot];
        const int32_t from = stallsMoving ? slotShowing(stallFruitsBefore, slotFruit[slot])
                                          : slot;
        if (from == TreeSlot::None) {
            fruit.setColor(withAlpha(progress));
            fruit.setPosition(target);
        } else {
            const sf::Vector2f start = kSlotFruitPositions[from];
            fruit.setPosition(start + (target - start) * progress);
        }
        window.draw(fruit);
    }
    if (!stallsMoving) {
        return;
    }
    // Fruits the rotation took below the third level leave from where they stood.
    for (int32_t slot = 0; slot < kStallCount; ++slot) {
        const int32_t leaving = stallFruitsBefore[slot];
        if (leaving == kNoFruit || slotShowing(slotFruit, leaving) != TreeSlot::None) {
            continue;
        }
        sf::Sprite& fruit = treeFruitSprites[leaving];
        fruit.setColor(withAlpha(1.f - progress));
        fruit.setPosition(kSlotFruitPositions[slot]);
        window.draw(fruit);
    }
}
