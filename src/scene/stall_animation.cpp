// The stall fruits. After a rotation is named the trees are already the rotated
// ones, but each fruit takes a moment to travel from the stall it stood in to its
// stall in the rotated tree, paced by the match's own steps.
#include <algorithm>
#include <iterator>

#include "app/game.hpp"
#include "assets/layout.hpp"

namespace {

// Slow at both ends, fast in the middle; 0 at 0, 1/2 at 1/2, 1 at 1.
float easeInOut(float t) { return t * t * (3.f - 2.f * t); }

}  // namespace

void Game::drawStallFruits() {
    const float progress = easeInOut(match.animationSeconds / kStallAnimationSeconds);
    const std::vector<int32_t>& before = match.stallFruitsBefore;
    for (int32_t slot = 0; slot < match.stallCount(); ++slot) {
        const int32_t fruit = match.stallFruits[slot];
        if (fruit == kNoFruit) {
            continue;
        }
        // A fruit the tree before did not show starts where it ends.
        const auto shown = std::find(before.begin(), before.end(), fruit);
        const bool moving = match.phase == Phase::StallsMoving && shown != before.end();
        const int32_t from = moving ? static_cast<int32_t>(shown - before.begin()) : slot;
        const sf::Vector2f start = stallFruitPosition(*match.market, from);
        const sf::Vector2f target = stallFruitPosition(*match.market, slot);
        sf::Sprite& sprite = pictures.treeFruitSprites[fruit];
        sprite.setPosition(start + (target - start) * progress);
        window.draw(sprite);
    }
}
