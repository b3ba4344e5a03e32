// Six lanes on the left of the market bring fruits down, one at a time each, and
// the six numbers falling at once are always pairwise different. The numbers come
// by chance, or from a teacher's list; each number has one sprite, so a listed
// number still falling makes the list wait. An empty hand takes a fruit it
// touches; the bin takes whatever the character carries into it.
#include <algorithm>
#include <cstdlib>

#include "app/game.hpp"

namespace {

constexpr float kBottomOfWindow = 600;
constexpr int32_t kLaneWidthPixels = 210;
// At the start of a match the lanes begin above the window, one after another, so
// that their fruits arrive a little apart.
constexpr float kFirstLaneStartY = -100;
constexpr float kLaneStartSpacing = 100;

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

void Game::advanceLanes() {
    for (int32_t lane = 0; lane < kLaneCount; ++lane) {
        chooseLaneFruits(lane);
        advanceLane(lane);
        if (laneFruit[lane] != kNoFruit) {
            laneFruitSprites[laneFruit[lane]].setPosition(lanePositions[lane]);
        }
    }
}

void Game::chooseLaneFruits(int32_t lane) {
    if (!fruitList.empty()) {
        chooseListedFruit(lane);
        return;
    }
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

void Game::chooseListedFruit(int32_t lane) {
    // Every match and practice starts the list from its first number.
    if (matchStarting && lane == 0) {
        std::fill(std::begin(laneFruit), std::end(laneFruit), kNoFruit);
        nextListedFruit = 0;
    }
    if (!matchStarting && lanePositions[lane].y < kBottomOfWindow) {
        return;
    }
    // The lane's own number is gone; the next one comes unless another lane still
    // brings it, and then this lane falls empty once and the list waits.
    laneFruit[lane] = kNoFruit;
    const int32_t next = fruitList[nextListedFruit];
    if (std::find(std::begin(laneFruit), std::end(laneFruit), next) == std::end(laneFruit)) {
        laneFruit[lane] = next;
        nextListedFruit = (nextListedFruit + 1) % fruitList.size();
    }
}

void Game::advanceLane(int32_t lane) {
    if (lanePositions[lane].y >= kBottomOfWindow || matchStarting) {
        laneTaken[lane] = false;
        lanePositions[lane].y = matchStarting ? kFirstLaneStartY - lane * kLaneStartSpacing : 0.f;
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

void Game::pickFruit() {
    // A fruit hidden because it was picked or thrown away cannot be picked again.
    for (int32_t lane = 0; lane < kLaneCount && !carrying; ++lane) {
        const bool brings = laneFruit[lane] != kNoFruit && !laneTaken[lane];
        if (brings && touchesCharacter(laneFruitSprites[laneFruit[lane]])) {
            playEffect(pickFruitSound);
            laneTaken[lane] = true;
            carrying = true;
            pickedLane = lane;
            carriedFruit = laneFruit[lane];
        }
    }
}

void Game::drawLaneFruits() {
    for (int32_t lane = 0; lane < kLaneCount; ++lane) {
        if (laneFruit[lane] != kNoFruit && !laneTaken[lane]) {
            window.draw(laneFruitSprites[laneFruit[lane]]);
        }
    }
    if (carrying) {
        window.draw(carriedFruitSprites[carriedFruit]);
    }
}
