// The market as a player walks it with real keys: the edges stop the character, the stalls stand as a tree, they
// and the bin are solid yet can be touched, no step is longer than a tenth of a second's walk, keys typed into
// another window walk nobody, lanes' numbers differ, and a teacher's list of numbers falls in its order.
#include <X11/Xlib.h>
#undef None
#undef Status
#undef Bool
#include <cmath>
#include <cstdlib>
#include <functional>
#include <tuple>
#include <vector>
#include "assets/layout.hpp"
#include "support/driver.hpp"

namespace {

class Market : public Session<5> {
protected:
    void SetUp() override {
        Session::SetUp();
        driver.startMatch();
    }
    // Holds `key` from `from` until `done`, or it stood still 0.3 s; how far it went.
    float walk(sf::Keyboard::Key key, sf::Vector2f from, const std::function<bool()>& done = [] { return false; }) {
        game.characterSprite.setPosition(from);
        driver.seat.hold(key);
        sf::Vector2f last = from;
        const sf::Time stillFor = sf::seconds(0.3f);
        const sf::Time longest = sf::seconds(8);
        for (sf::Clock clock, still; still.getElapsedTime() < stillFor && clock.getElapsedTime() < longest;) {
            driver.turn();
            if (done()) break;
            if (game.characterSprite.getPosition() != last) still.restart();
            last = game.characterSprite.getPosition();
        }
        // Pushing on for a fifth of a second, well past any solid area's edge.
        for (sf::Clock push; push.getElapsedTime() < sf::seconds(0.2f);) driver.turn();
        driver.seat.release(key);
        return std::hypot(last.x - from.x, last.y - from.y);
    }
};

}  // namespace

TEST_F(Market, EachArrowStopsAtItsLimitOfTheMarketAndNotAStepBefore) {
    // At each limit and half a pixel inside it, on paths where nothing stands: the top limit is the last place Up
    // still steps from, the three others the first places their arrow no longer steps from.
    const std::tuple<sf::Keyboard::Key, sf::Vector2f, bool> rows[] = {
        {sf::Keyboard::Left, {0, 400}, false},      {sf::Keyboard::Left, {0.5f, 400}, true},
        {sf::Keyboard::Right, {757, 560}, false},   {sf::Keyboard::Right, {756.5f, 560}, true},
        {sf::Keyboard::Up, {105, 103}, true},       {sf::Keyboard::Up, {105, 102.5f}, false},
        {sf::Keyboard::Down, {105, 542}, false},    {sf::Keyboard::Down, {105, 541.5f}, true}};
    for (const auto& [key, from, steps] : rows) {
        SCOPED_TRACE("key " + std::to_string(key) + " at " + std::to_string(from.x) + "," + std::to_string(from.y));
        game.characterSprite.setPosition(from);
        driver.seat.hold(key);
        driver.turn();
        driver.seat.release(key);
        EXPECT_EQ(game.characterSprite.getPosition() != from, steps);
    }
}

TEST_F(Market, StallsStandAsATreeAndWithTheBinCanBeTouchedFromBesideAndBelowButNeverEntered) {
    const sf::FloatRect body = game.characterSprite.getGlobalBounds();
    // A start inside the window and off every solid area.
    auto free = [&](sf::Vector2f at) {
        const sf::FloatRect box(at.x, at.y, body.width, body.height);
        bool clear = at.x >= 0 && at.x + body.width <= 800 && at.y + body.height <= 600 &&
                     !box.intersects(game.binAreaSprite.getGlobalBounds());
        for (const sf::Sprite& area : game.stallAreaSprites) clear = clear && !box.intersects(area.getGlobalBounds());
        return clear;
    };
    // From a pixel off its left, its right and below (the floor's lowest line lies above the bottom row's lower
    // edge), wherever a player can stand there.
    auto approach = [&](sf::FloatRect area, const std::function<bool()>& touched) {
        const float middle = area.top + area.height / 2 - body.height / 2;
        const std::pair<sf::Keyboard::Key, sf::Vector2f> sides[] = {
            {sf::Keyboard::Right, {area.left - body.width - 1, middle}},
            {sf::Keyboard::Left, {area.left + area.width + 1, middle}},
            {sf::Keyboard::Up,
             {area.left + area.width / 2 - body.width / 2, std::min(area.top + area.height + 1, 600 - body.height)}}};
        int tried = 0;
        for (const auto& [key, from] : sides) {
            if (!free(from)) continue;
            ++tried;
            SCOPED_TRACE("key " + std::to_string(key));
            bool reached = false;
            walk(key, from, [&] { return reached = touched(); });
            EXPECT_TRUE(reached) << "never touched";
        }
        EXPECT_GE(tried, 2) << "reachable from one side only";
    };
    const auto box = [&](int32_t k) { return game.stallSprites[k].getGlobalBounds(); };
    const auto middle = [&](int32_t k) { return box(k).left + box(k).width / 2; };
    const auto gap = [&](int32_t k) { return middle(k) - middle(k - 1); };
    for (int32_t k = 0; k < kStallCount; ++k) {
        SCOPED_TRACE("stall " + std::to_string(k));
        const int32_t parent = (k - 1) / 2;  // slot k's children are 2k + 1 and 2k + 2
        EXPECT_TRUE(k == 0 || box(k).top >= box(parent).top + box(parent).height) << "not below its parent";
        EXPECT_TRUE(k == 0 || (middle(k) < middle(parent)) == (k % 2 == 1)) << "on the wrong side of its parent";
        // Levels of slots 0, 1 to 2, 3 to 6: each on one line, left to right, evenly spaced.
        const auto sameLevel = [](int32_t a, int32_t b) { return a >= 0 && (a < 1) == (b < 1) && (a < 3) == (b < 3); };
        EXPECT_TRUE(!sameLevel(k - 1, k) || (box(k).top == box(k - 1).top && gap(k) > 0)) << "off its level's line";
        EXPECT_TRUE(!sameLevel(k - 2, k) || std::abs(gap(k) - gap(k - 1)) < gap(k - 1) / 10) << "spaced unevenly";
        EXPECT_FALSE(box(k).intersects(game.binAreaSprite.getGlobalBounds()));
        // Touched, a stall offers its insert button just above it, clear of every other stall.
        approach(box(k), [&] { return game.offeredSlot == k; });
        ASSERT_EQ(game.offeredSlot, k);
        const sf::FloatRect button = game.insertButtonSprite.getGlobalBounds();
        EXPECT_TRUE(std::abs(button.left + button.width / 2 - middle(k)) < box(k).width / 10 &&
                    std::abs(button.top + button.height - box(k).top) < button.height / 2)
            << "not centred just above its stall";
        for (int32_t other = 0; other < kStallCount; ++other) {
            EXPECT_TRUE(other == k || !(box(other).intersects(box(k)) || box(other).intersects(button))) << other;
        }
    }
    SCOPED_TRACE("bin");
    ASSERT_TRUE(driver.carry(42));
    approach(game.binAreaSprite.getGlobalBounds(), [&] {
        // It takes what the hand holds; then the next fruit is fetched for the next side.
        const bool took = !game.carrying;
        const sf::Vector2f at = game.characterSprite.getPosition();
        driver.carry(42);
        game.characterSprite.setPosition(at);
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
    EXPECT_TRUE(moved > 0 && moved <= kWalkPixelsPerSecond * kLongestStepSeconds + 0.01f) << moved;
}

TEST_F(Market, ArrowsWalkOnlyWhileTheWindowHasTheKeyboard) {
    const auto giveKeyboardTo = [&](::Window window) {
        XSetInputFocus(driver.seat.display, window, RevertToPointerRoot, CurrentTime);
        driver.seat.sync();
    };
    // Someone clicked into another window: the keyboard is the desktop's now.
    giveKeyboardTo(DefaultRootWindow(driver.seat.display));
    EXPECT_LT(walk(sf::Keyboard::Right, {105, 480}), 1.f);
    giveKeyboardTo(game.window.getSystemHandle());
    EXPECT_GT(walk(sf::Keyboard::Right, {105, 480}), 20.f);
    giveKeyboardTo(PointerRoot);  // as a display without a window manager has it
}

TEST_F(Market, LanesBringDifferentNumbersFromTheFirstLaneToTheLast) {
    ASSERT_TRUE(driver.carry(50));  // a full hand picks nothing more
    int32_t wrapped[kLaneCount] = {}, kept = 0;
    // Every lane falls out of the window three times; then each frame sends all six to its bottom edge, some hundred
    // new numbers a lane, each unlike the five others falling and, but for the draw's chance, unlike the lane's last.
    for (int frame = 0; frame < 3 * 800 / static_cast<int>(kFallPixelsPerFrame) + 100; ++frame) {
        for (int32_t lane = 0; wrapped[0] >= 3 && lane < kLaneCount; ++lane) game.lanePositions[lane].y = 600;
        const std::vector<int32_t> before(game.laneFruit, game.laneFruit + kLaneCount);
        driver.turn();
        for (int32_t lane = 0; lane < kLaneCount; ++lane) {
            const bool restarted = game.lanePositions[lane].y == kFallPixelsPerFrame;  // back at the top
            wrapped[lane] += restarted;
            kept += restarted && game.laneFruit[lane] == before[lane];
            ASSERT_LE(game.lanePositions[lane].y, 600 + kFallPixelsPerFrame);
        }
    }
    for (int32_t lane = 0; lane < kLaneCount; ++lane) EXPECT_GE(wrapped[lane], 80) << "lane " << lane;
    EXPECT_LT(kept, kLaneCount * 80 / 10) << "restarted lanes kept their number";
}

TEST_F(Market, ListedFruitsFallInOrderAndOverAgainInAsManyLanesAsTheListHasNumbers) {
    ASSERT_TRUE(driver.carry(50));  // a full hand picks nothing more
    // Seven numbers, one again at the end and so twice in a row once the list starts over; three, one twice; one alone:
    // each with the lanes it can fill. The driver sees to it on every frame that no number falls in two lanes at once.
    const std::pair<std::vector<int32_t>, int64_t> rows[] = {
        {{50, 30, 40, 70, 60, 80, 20, 50}, 6}, {{50, 30, 40, 30}, 3}, {{7}, 1}};
    for (const auto& [list, lanes] : rows) {
        SCOPED_TRACE(::testing::PrintToString(list));
        game.fruitList = list;
        game.matchStarting = true;  // as the next match starts
        std::vector<int32_t> fallen, expected;  // each number a lane began to bring, in order
        int64_t mostAtOnce = 0;
        for (int frame = 0; frame < 500; ++frame) {
            const bool starting = game.matchStarting;
            const std::vector<sf::Vector2f> before(game.lanePositions, game.lanePositions + kLaneCount);
            driver.turn();
            for (int32_t lane = 0; lane < kLaneCount; ++lane) {
                const bool began = starting || game.lanePositions[lane].y < before[lane].y;
                if (began && game.laneFruit[lane] != kNoFruit) fallen.push_back(game.laneFruit[lane]);
            }
            const int64_t empty = std::count(game.laneFruit, game.laneFruit + kLaneCount, kNoFruit);
            mostAtOnce = std::max(mostAtOnce, kLaneCount - empty);
        }
        for (size_t at = 0; at < fallen.size(); ++at) expected.push_back(list[at % list.size()]);
        EXPECT_GT(fallen.size(), list.size()) << "the list never started over";
        EXPECT_EQ(fallen, expected);
        EXPECT_EQ(mostAtOnce, lanes);
    }
}
