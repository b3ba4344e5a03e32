// Six lanes on the left of the market bring fruits down, one at a time each, and
// the six numbers falling at once are always pairwise different. The bin takes
// whatever the character carries into it.
#include <cstdlib>

#include "app/game.hpp"

namespace {

constexpr float kBottomOfWindow = 600;
constexpr int32_t kLaneWidthPixels = 210;

bool allDifferent(const int32_t (&numbers)[kLaneCount]) {
    for (int32_t a = 0; a < kLaneCount; ++a) {
        for (int32_t b = a + 1; b < kLaneCount; ++b) {
            if (numbers[a] == numbers[b]) {
                return false;
            }
        }
    }
    return true;
}

int32_t randomFruit() { return std::rand() % kFruitCount; }

}  // namespace

void Game::chooseLaneFruits(int32_t lane) {
    if (matchStarting) {
        do {
            for (int32_t each = 0; each < kLaneCount; ++each) {
                laneFruit[each] = randomFruit();
            }
        } while (!allDifferent(laneFruit));
        return;
    }
    if (lanePositions[lane].y < kBottomOfWindow) {
        return;
    }
    // Gone below the window: a new fruit unlike the five still falling.
    do {
        laneFruit[lane] = randomFruit();
    } while (!allDifferent(laneFruit));
}

void Game::advanceLane(int32_t lane) {
    if (lanePositions[lane].y >= kBottomOfWindow || matchStarting) {
        laneTaken[lane] = false;
        lanePositions[lane].y = matchStarting ? static_cast<float>(laneStartY[lane]) : 0.f;
        lanePositions[lane].x = static_cast<float>(std::rand() % kLaneWidthPixels);
    }
    lanePositions[lane].y += kFallPixelsPerFrame;
}

void Game::updateBin() {
    if (!touchesCharacter(binAreaSprite)) {
        return;
    }
    pushBack(binAreaSprite);
    if (carriedFruit != kNoFruit) {
        playEffect(throwInBinSound);
        carriedFruit = kNoFruit;
        carrying = false;
    }
}
