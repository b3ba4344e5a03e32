// Random play, replayable by its seed: the driver's invariants hold after every
// frame, and the matches reach the rotation question and trees of four or more.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "support/driver.hpp"
#include "support/tree_check.hpp"

namespace {

struct Reached {
    int questions = 0;
    int largestTree = 0;
    int outcomes = 0;
};

// Plays `matches` matches from the menu with moves drawn from `seed`: picks,
// deliveries to any free stall, the bin, right and wrong answers, real walking.
Reached playRandomly(Driver& driver, unsigned seed, int matches) {
    Game& game = driver.game;
    std::mt19937 random(seed);
    std::srand(seed);
    auto chance = [&](int percent) { return static_cast<int>(random() % 100) < percent; };
    Reached reached;
    driver.startMatch();
    while (reached.outcomes < matches && !::testing::Test::HasFatalFailure()) {
        if (game.hasOutcome()) {
            ++reached.outcomes;
            driver.click(game.playAgainButtonSprite);
            driver.turn();
            EXPECT_EQ(game.balancedRoot, nullptr);
            EXPECT_EQ(game.playerRoot, nullptr);
            if (reached.outcomes < matches) driver.startMatch();
        } else if (game.pendingRotation != RotationKind::None) {
            ++reached.questions;
            driver.answer(chance(80) ? game.pendingRotation : static_cast<int32_t>(random() % 4));
        } else if (!game.carrying) {
            // Mostly numbers near the middle, so that trees grow; the ends too.
            const int32_t fruit = chance(10) ? (chance(50) ? 0 : 99) : static_cast<int32_t>(25 + random() % 50);
            driver.carry(fruit);
        } else if (chance(10)) {
            driver.walkInto(game.binAreaSprite);
        } else {
            // Mostly the stall where the number belongs, so that matches go on.
            int32_t slot = static_cast<int32_t>(random() % kStallCount);
            if (chance(75)) {
                slot = 0;
                for (const TreeNode* node = game.balancedRoot; node != nullptr && slot < kStallCount;) {
                    const bool left = game.carriedFruit < node->key;
                    slot = 2 * slot + (left ? 1 : 2);
                    node = left ? node->left : node->right;
                }
                slot = slot < kStallCount ? slot : static_cast<int32_t>(random() % kStallCount);
            }
            if (!game.slotFilled[slot]) driver.deliverTo(slot);
        }
        reached.largestTree = std::max<int>(reached.largestTree, static_cast<int>(inOrderKeys(game.balancedRoot).size()));
    }
    return reached;
}

}  // namespace

TEST(Monkey, RandomPlayKeepsEveryInvariantAndReachesQuestionsAndLargeTrees) {
    Reached total;
    Game game;
    Driver driver(game);
    driver.open();
    for (unsigned seed : {1u, 2u, 3u, 5u, 8u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        const Reached reached = playRandomly(driver, seed, 6);
        total.questions += reached.questions;
        total.largestTree = std::max(total.largestTree, reached.largestTree);
    }
    EXPECT_GT(total.questions, 0);
    EXPECT_GE(total.largestTree, 4);
    EXPECT_GT(driver.framesChecked, 100);
}

TEST(LongRun, ThreeHundredMatchesInOneProcessFreeEveryTree) {
    Game game;
    Driver driver(game);
    driver.open();
    const Reached reached = playRandomly(driver, 2026, 300);
    EXPECT_EQ(reached.outcomes, 300);
    EXPECT_GT(reached.questions, 0);
}
