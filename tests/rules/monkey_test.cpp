// A monkey at the controls: thousands of play frames of random pointer moves,
// presses and releases (often on the insert and rotation buttons), arrow keys held
// and let go, and a character that jumps next to stalls and onto fruits. After every
// frame the match must still make sense; matches that end are restarted through the
// main loop, so many matches (and their trees) come and go in one run.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <sstream>
#include <vector>

#include "app/game.hpp"
#include "assets/layout.hpp"
#include "support/fake_input.hpp"
#include "support/match_driver.hpp"
#include "support/tree_check.hpp"
#include "tree/slot_layout.hpp"

namespace {

constexpr int kFramesPerSeed = 1000;
constexpr int32_t kHighestFruit = kFruitCount - 1;
// Rows of the window the pointer can reach on the test display.
constexpr int kReachableHeight = 550;

const sf::Keyboard::Key kArrows[] = {sf::Keyboard::Left, sf::Keyboard::Right, sf::Keyboard::Up,
                                     sf::Keyboard::Down};

// The slot where plain search-tree insertion would put key in the player's tree,
// or -1 when that place lies below the seven slots.
int32_t rightSlotFor(const TreeNode* root, int32_t key) {
    int32_t slot = TreeSlot::Root;
    const TreeNode* node = root;
    for (int32_t depth = 0; node != nullptr; ++depth) {
        const bool left = key < node->key;
        if (depth == 0) {
            slot = left ? TreeSlot::Left : TreeSlot::Right;
        } else if (depth == 1) {
            slot = slot == TreeSlot::Left ? (left ? TreeSlot::LeftLeft : TreeSlot::LeftRight)
                                          : (left ? TreeSlot::RightLeft : TreeSlot::RightRight);
        } else {
            return TreeSlot::None;
        }
        node = left ? node->left : node->right;
    }
    return slot;
}

class Monkey : public ::testing::TestWithParam<unsigned> {
protected:
    void SetUp() override {
        random.seed(GetParam());
        driver.open();
        // The menu's and the restart's pauses only slow the run down.
        game.frameDelay = sf::Time::Zero;
        driver.startMatch();
    }

    int pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); }
    bool chance(double p) { return std::bernoulli_distribution(p)(random); }

    // Buffers a press, a release or a move at the point, after moving the pointer there.
    void pointerAction(sf::Vector2i at) {
        movePointer(game, at.x, at.y);
        flushDisplay(game);
        switch (pick(3)) {
        case 0: bufferMouseButton(game, sf::Event::MouseButtonPressed, sf::Mouse::Left, at.x, at.y); break;
        case 1: bufferMouseButton(game, sf::Event::MouseButtonReleased, sf::Mouse::Left, at.x, at.y); break;
        default: bufferMouseMove(game, at.x, at.y); break;
        }
    }

    sf::Vector2i insertButtonOf(int32_t slot) {
        return sf::Vector2i(static_cast<int>(kInsertButtonPositions[slot].x) + kSmallButtonWidth / 2,
                            static_cast<int>(kInsertButtonPositions[slot].y) + kSmallButtonHeight / 2);
    }

    sf::Vector2i rotationButtonOf(int32_t kind) {
        return sf::Vector2i(static_cast<int>(kRotationButtonPositions[kind].x) + kButtonWidth / 2,
                            static_cast<int>(kRotationButtonPositions[kind].y) + kButtonHeight / 2);
    }

    // The character walks (jumps) somewhere only while it could walk at all: mostly
    // where a player would go next, onto a visible fruit with an empty hand, to a
    // stall (the right one, most often) with a full one.
    void maybeTeleport() {
        if (!game.movementEnabled || !chance(0.25)) {
            return;
        }
        const int where = pick(5);
        if (where <= 1 && !game.carrying) {
            // Onto a falling fruit, hidden or not.
            const int32_t lane = pick(kLaneCount);
            const sf::Vector2f fruit = game.lanePositions[lane];
            driver.placeCharacter(sf::Vector2f(fruit.x - pick(30), fruit.y + kFallPixelsPerFrame - pick(40)));
        } else if (where <= 3) {
            int32_t slot = pick(kStallCount);
            if (game.carrying && chance(0.8)) {
                const int32_t right = rightSlotFor(game.playerRoot, game.carriedFruit);
                slot = right != TreeSlot::None ? right : slot;
            }
            driver.placeCharacter(driver.spotTouchingStalls({slot}));
        } else {
            driver.placeCharacter(sf::Vector2f(pick(757), 103 + pick(440)));
        }
    }

    void maybeUsePointer() {
        if (!chance(0.6)) {
            return;
        }
        const int target = pick(10);
        if (target < 4) {
            int32_t slot = game.offeredSlot != TreeSlot::None && chance(0.8) ? game.offeredSlot
                                                                           : pick(kStallCount);
            pointerAction(insertButtonOf(slot));
        } else if (target < 7) {
            int32_t kind = game.pendingRotation != RotationKind::None && chance(0.7)
                               ? game.pendingRotation
                               : pick(4);
            pointerAction(rotationButtonOf(kind));
        } else {
            // The virtual screen ends before the window's bottom rows.
            pointerAction(sf::Vector2i(pick(800), pick(kReachableHeight)));
        }
    }

    void maybeUseKeys() {
        if (!chance(0.1)) {
            return;
        }
        const sf::Keyboard::Key key = kArrows[pick(4)];
        if (chance(0.5)) {
            keys.press(key);
        } else {
            keys.release(key);
        }
    }

    // Everything that must hold after any frame.
    void checkFrame(int frame) {
        SCOPED_TRACE(::testing::Message() << "seed " << GetParam() << ", frame " << frame);
        ASSERT_GE(game.lossCause, LossCause::None);
        ASSERT_LE(game.lossCause, LossCause::TimeOut);
        ASSERT_TRUE(game.matchWon == 0 || game.matchWon == 1);
        ASSERT_FALSE(game.matchWon == 1 && game.lossCause != LossCause::None) << "two outcomes";
        ASSERT_GE(game.shownSeconds, 0);
        ASSERT_LE(game.shownSeconds, kMatchSeconds);
        ASSERT_EQ(game.carrying, game.carriedFruit != kNoFruit);
        ASSERT_GE(game.carriedFruit, kNoFruit);
        ASSERT_LE(game.carriedFruit, kHighestFruit);
        for (int32_t slot = 0; slot < kStallCount; ++slot) {
            ASSERT_GE(game.slotFruit[slot], kNoFruit) << "slot " << slot;
            ASSERT_LE(game.slotFruit[slot], kHighestFruit) << "slot " << slot;
            ASSERT_EQ(game.slotFilled[slot], game.slotFruit[slot] != kNoFruit) << "slot " << slot;
        }

        // An outcome is final.
        if (outcomeSeen) {
            ASSERT_EQ(game.lossCause, lossSeen);
            ASSERT_EQ(game.matchWon, wonSeen);
        } else if (game.hasOutcome()) {
            outcomeSeen = true;
            lossSeen = game.lossCause;
            wonSeen = game.matchWon;
        }

        // The reference tree is a balanced search tree of distinct fruit numbers,
        // and neither tree holds more than the fruits sent to it.
        const std::vector<int32_t> keys = inOrderKeys(game.balancedRoot);
        ASSERT_TRUE(isBalancedSearchTree(game.balancedRoot, keys));
        for (std::size_t i = 1; i < keys.size(); ++i) {
            ASSERT_LT(keys[i - 1], keys[i]) << describeTree(game.balancedRoot);
        }
        ASSERT_LE(nodeCount(game.balancedRoot), requestsGranted);
        ASSERT_LE(nodeCount(game.playerRoot), requestsGranted);
        if (game.insertRequested) {
            ++requestsGranted;
        }

        if (game.hasOutcome()) {
            return;
        }
        const bool agree = sameShapeAndKeys(game.balancedRoot, game.playerRoot);
        ASSERT_TRUE(agree || game.pendingRotation != RotationKind::None)
            << describeTree(game.balancedRoot) << " vs " << describeTree(game.playerRoot);
        if (game.insertRequested) {
            return;  // the clicked fruit is shown before the trees have it
        }
        // The slots show the player's tree; while a rotation is asked, only the fruit
        // that caused it may be shown where that tree has no such node.
        int32_t shownElsewhere = 0;
        for (int32_t slot = 0; slot < kStallCount; ++slot) {
            const TreeNode* node = nodeAtSlot(game.playerRoot, slot);
            if (node != nullptr) {
                ASSERT_EQ(game.slotFruit[slot], node->key) << "slot " << slot;
            } else if (game.slotFilled[slot]) {
                ++shownElsewhere;
            }
        }
        const int32_t allowed = game.pendingRotation == RotationKind::None ? 0 : 1;
        ASSERT_LE(shownElsewhere, allowed) << describeTree(game.playerRoot);
    }

    void restartWhenAsked() {
        if (game.restartRequested == 0) {
            return;
        }
        keys.releaseAll();
        game.loopTurn();
        ASSERT_TRUE(game.menuActive);
        ASSERT_EQ(game.balancedRoot, nullptr);
        ASSERT_EQ(game.playerRoot, nullptr);
        outcomeSeen = false;
        requestsGranted = 0;
        ++matchesPlayed;
        driver.startMatch();
    }

    std::unique_ptr<Game> owner = std::make_unique<Game>();
    Game& game = *owner;
    MatchDriver driver{game};
    FakeKeyboard keys;
    std::mt19937 random;
    bool outcomeSeen = false;
    int32_t lossSeen = 0;
    int32_t wonSeen = 0;
    int32_t requestsGranted = 0;
    int matchesPlayed = 1;
    int rotationsAsked = 0;
    bool rotationOpen = false;
    int32_t deepest = 0;
    int wins = 0;
    bool wonCounted = false;
};

TEST_P(Monkey, RandomPlayKeepsTheMatchConsistent) {
    for (int frame = 0; frame < kFramesPerSeed; ++frame) {
        maybeTeleport();
        maybeUsePointer();
        maybeUseKeys();
        // Now and then the clock is found past the end, as after a stalled loop.
        if (chance(0.002)) {
            game.matchTime = sf::seconds(kMatchSeconds + pick(5));
            game.updateTimer();
        }
        // An ended match is left through its play-again button after a while.
        if (game.hasOutcome() && chance(0.2)) {
            driver.clickPlayAgain();
        } else {
            game.playFrame();
        }
        checkFrame(frame);
        rotationsAsked += game.pendingRotation != RotationKind::None && !rotationOpen;
        rotationOpen = game.pendingRotation != RotationKind::None;
        deepest = std::max(deepest, nodeCount(game.playerRoot));
        wins += game.matchWon == 1 && !wonCounted;
        wonCounted = game.matchWon == 1;
        if (HasFatalFailure()) {
            return;
        }
        restartWhenAsked();
        if (HasFatalFailure()) {
            return;
        }
    }
    RecordProperty("matches", matchesPlayed);
    RecordProperty("rotationsAsked", rotationsAsked);
    RecordProperty("largestTree", deepest);
    RecordProperty("wins", wins);
    // Every node of both trees is freed; the sanitizer build reports any leak.
    destroyTree(&game.balancedRoot);
    destroyTree(&game.playerRoot);
    EXPECT_EQ(game.balancedRoot, nullptr);
    EXPECT_EQ(game.playerRoot, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Seeds, Monkey, ::testing::Values(1u, 2u, 3u, 5u, 8u, 13u, 21u, 34u, 55u, 89u));

}  // namespace
