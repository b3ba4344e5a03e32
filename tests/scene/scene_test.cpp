// The market as a player walks it with real keys: the edges stop the character,
// stalls and the bin are solid yet can be touched, no step is longer than a tenth
// of a second's walk, and the lanes bring numbers that always differ.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <utility>

#include "assets/layout.hpp"
#include "support/driver.hpp"

namespace {

class Market : public ::testing::Test {
protected:
    void SetUp() override {
        std::srand(5);
        driver.open();
        driver.startMatch();
    }
    // Holds `key` until the character has stood still for a while (or 8 s went by);
    // returns how far it went. The driver's invariants run on every frame.
    float walkUntilStopped(sf::Keyboard::Key key) {
        const sf::Vector2f start = game.characterSprite.getPosition();
        driver.seat.hold(key);
        sf::Clock clock;
        sf::Clock still;
        sf::Vector2f last = start;
        while (still.getElapsedTime() < sf::seconds(0.3f) && clock.getElapsedTime() < sf::seconds(8)) {
            driver.turn();
            if (game.characterSprite.getPosition() != last) {
                last = game.characterSprite.getPosition();
                still.restart();
            }
        }
        driver.seat.release(key);
        return std::hypot(last.x - start.x, last.y - start.y);
    }
    Game game;
    Driver driver{game};
};

}  // namespace

TEST_F(Market, EveryEdgeStopsTheCharacterInsideTheMarket) {
    // From a little way off each edge, along paths where nothing stands.
    const struct {
        sf::Keyboard::Key key;
        sf::Vector2f from;
    } edges[] = {{sf::Keyboard::Left, {60, 400}},
                 {sf::Keyboard::Up, {105, 180}},
                 {sf::Keyboard::Down, {105, 480}},
                 {sf::Keyboard::Right, {700, 560}}};
    for (const auto& edge : edges) {
        SCOPED_TRACE("key " + std::to_string(edge.key));
        game.characterSprite.setPosition(edge.from);
        EXPECT_GT(walkUntilStopped(edge.key), 20.f);
        EXPECT_LT(walkUntilStopped(edge.key), 1.f) << "walking on once stopped";
    }
    EXPECT_GT(driver.framesChecked, 20);
}

TEST_F(Market, StallsAndTheBinCanBeTouchedFromBesideAndBelowButNeverEntered) {
    const sf::FloatRect body = game.characterSprite.getGlobalBounds();
    // Where the character may start: inside the window, off every solid area.
    auto free = [&](sf::Vector2f at) {
        const sf::FloatRect box(at.x, at.y, body.width, body.height);
        bool clear = at.x >= 0 && at.x + body.width <= 800 && at.y + body.height <= 600 &&
                     !box.intersects(game.binAreaSprite.getGlobalBounds());
        for (int32_t s = 0; s < kStallCount; ++s) {
            clear = clear && !box.intersects(game.stallAreaSprites[s].getGlobalBounds());
        }
        return clear;
    };
    // Walks at `box` from a pixel off its left, its right and below (the floor's
    // lowest line lies above the bottom row's lower edge) until `touched`, then
    // pushes on; the driver's invariants keep it out of every solid area.
    auto approach = [&](sf::FloatRect box, const std::function<bool()>& touched) {
        const float middleY = box.top + box.height / 2 - body.height / 2;
        const std::pair<sf::Keyboard::Key, sf::Vector2f> sides[] = {
            {sf::Keyboard::Right, {box.left - body.width - 1, middleY}},
            {sf::Keyboard::Left, {box.left + box.width + 1, middleY}},
            {sf::Keyboard::Up, {box.left + box.width / 2 - body.width / 2,
                                std::min(box.top + box.height + 1, 600 - body.height)}},
        };
        int tried = 0;
        for (const auto& [key, from] : sides) {
            if (!free(from)) continue;
            ++tried;
            SCOPED_TRACE("key " + std::to_string(key));
            game.characterSprite.setPosition(from);
            driver.seat.hold(key);
            bool reached = false;
            for (int frame = 0; frame < 400 && !reached; ++frame) {
                driver.turn();
                reached = touched();
            }
            driver.turn(20);
            driver.seat.release(key);
            EXPECT_TRUE(reached) << "never touched";
        }
        EXPECT_GE(tried, 2) << "reachable from one side only";
    };
    for (int32_t stall = 0; stall < kStallCount; ++stall) {
        SCOPED_TRACE("stall " + std::to_string(stall));
        approach(game.stallSprites[stall].getGlobalBounds(), [&] { return game.offeredSlot == stall; });
    }
    SCOPED_TRACE("bin");
    ASSERT_TRUE(driver.carry(42));
    approach(game.binAreaSprite.getGlobalBounds(), [&] {
        // It takes what the hand holds; the next fruit to throw is picked up here.
        const bool took = !game.carrying;
        if (took) {
            const sf::Vector2f at = game.characterSprite.getPosition();
            driver.carry(42);
            game.characterSprite.setPosition(at);
        }
        return took;
    });
}

TEST_F(Market, StepAfterALongPauseCoversATenthOfASecondAtMost) {
    driver.seat.hold(sf::Keyboard::Down);
    driver.turn();
    const float before = game.characterSprite.getPosition().y;
    sf::sleep(sf::seconds(0.5f));
    driver.turn();
    driver.seat.release(sf::Keyboard::Down);
    const float moved = game.characterSprite.getPosition().y - before;
    EXPECT_GT(moved, 0.f);
    EXPECT_LE(moved, kWalkPixelsPerSecond * kLongestStepSeconds + 0.01f);
}

TEST_F(Market, LanesBringDifferentNumbersFromTheFirstLaneToTheLast) {
    ASSERT_TRUE(driver.carry(50));  // a full hand picks nothing more
    int32_t first[kLaneCount];
    std::copy(game.laneFruit, game.laneFruit + kLaneCount, first);
    bool wrapped[kLaneCount] = {};
    float lastY[kLaneCount];
    for (int32_t lane = 0; lane < kLaneCount; ++lane) lastY[lane] = game.lanePositions[lane].y;
    // Every lane leaves the window a dozen times: some seventy new numbers, each
    // unlike the five others falling (checked on every frame).
    for (int frame = 0; frame < 12 * 800 / static_cast<int>(kFallPixelsPerFrame); ++frame) {
        driver.turn();
        for (int32_t lane = 0; lane < kLaneCount; ++lane) {
            wrapped[lane] = wrapped[lane] || game.lanePositions[lane].y < lastY[lane];
            lastY[lane] = game.lanePositions[lane].y;
            ASSERT_LE(lastY[lane], 600 + kFallPixelsPerFrame);
        }
    }
    for (int32_t lane = 0; lane < kLaneCount; ++lane) {
        EXPECT_TRUE(wrapped[lane]) << "lane " << lane << " never came back to the top";
    }
    EXPECT_FALSE(std::equal(first, first + kLaneCount, game.laneFruit)) << "no lane brought a new number";
}
