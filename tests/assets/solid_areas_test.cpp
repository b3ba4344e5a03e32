// The stalls and the bin are solid, and the stalls must still be reachable: a
// player who walks into a stall from the left, the right or below has to end up
// touching the stall picture (which offers the insert button) while the solid area
// keeps them out. These tests walk the character with real arrow keys against
// every stall of the real pictures.
#include <gtest/gtest.h>

#include <SFML/Graphics.hpp>

#include "app/game.hpp"
#include "assets/layout.hpp"
#include "support/fake_input.hpp"

namespace {

// Frames of walking at 60 frames per second: enough to cover the run-up below.
constexpr int kWalkFrames = 45;
constexpr float kRunUpPixels = 40;
// One step at 60 frames per second: the bin stands close to the root stall.
constexpr float kShortestRunUpPixels = 3;
// The lowest the character gets: Down moves it only while it is above this.
constexpr float kLowestWalkY = 541;
constexpr float kRightmostWalkX = 757;
const sf::Time kFrameTime = sf::milliseconds(16);

struct Approach {
    const char* side;
    sf::Keyboard::Key key;
};

class SolidAreas : public ::testing::Test {
protected:
    void SetUp() override {
        openGameWindow(game, true);
        ASSERT_GT(game.stallAreaTexture.getSize().x, 0u) << "Imagens/BarracaInvisivel.png did not load";
        ASSERT_GT(game.binAreaTexture.getSize().x, 0u) << "Imagens/LixeiraInvisivel.png did not load";
        // The character shows one frame of its sheet while it walks.
        game.standStill();
    }

    sf::Vector2f characterSize() const {
        const sf::FloatRect bounds = game.characterSprite.getGlobalBounds();
        return {bounds.width, bounds.height};
    }

    // True when the character at `position` stands inside the walkable area and
    // clear of every solid thing and of the picture it is heading for.
    bool freeToStart(sf::Vector2f position, const sf::FloatRect& target) const {
        if (position.x < 0 || position.x >= kRightmostWalkX || position.y < 103 || position.y >= 542) {
            return false;
        }
        const sf::Vector2f size = characterSize();
        const sf::FloatRect body(position, size);
        if (body.intersects(target) || body.intersects(game.binAreaSprite.getGlobalBounds())) {
            return false;
        }
        for (const sf::Sprite& area : game.stallAreaSprites) {
            if (body.intersects(area.getGlobalBounds())) {
                return false;
            }
        }
        return true;
    }

    // A start for a run-up towards `target` (a stall picture or the bin) with the
    // key held, facing the middle of `solid`: the longest free run-up, at the
    // first height (or column) along the solid area from which one exists.
    bool runUpStart(const sf::FloatRect& target, const sf::FloatRect& solid, sf::Keyboard::Key key,
                    sf::Vector2f& start) const {
        const sf::Vector2f size = characterSize();
        for (float runUp = kRunUpPixels; runUp >= kShortestRunUpPixels; runUp -= 1) {
            for (float along = 0; along < 150; along += 3) {
                for (float sign : {1.f, -1.f}) {
                    const float y = solid.top + solid.height / 2 - size.y / 2 + sign * along;
                    const float x = solid.left + solid.width / 2 - size.x / 2 + sign * along;
                    switch (key) {
                    case sf::Keyboard::Right: start = {target.left - size.x - runUp, y}; break;
                    case sf::Keyboard::Left: start = {target.left + target.width + runUp, y}; break;
                    default: start = {x, target.top + target.height + runUp}; break;
                    }
                    // The run must end against the solid area, not pass beside it.
                    const bool facesSolid =
                        key == sf::Keyboard::Up
                            ? start.x < solid.left + solid.width && start.x + size.x > solid.left
                            : start.y < solid.top + solid.height && start.y + size.y > solid.top;
                    if (facesSolid && freeToStart(start, target)) {
                        return true;
                    }
                }
            }
        }
        return false;
    }

    // Walks with the key held, frame by frame as the play frame does: the step,
    // then every stall's solid area pushing back.
    void walkInto(sf::Keyboard::Key key) {
        FakeKeyboard keyboard;
        keyboard.press(key);
        game.stepClock.restart();
        for (int frame = 0; frame < kWalkFrames; ++frame) {
            sf::sleep(kFrameTime);
            game.moveCharacter();
            game.updateBin();
            game.deliverFruit();
        }
    }

    // Walks right along the bottom edge, under stall k; true when on some frame the
    // character touches the stall picture from below without entering its area.
    bool walkUnder(int32_t stall) {
        FakeKeyboard keyboard;
        keyboard.press(sf::Keyboard::Right);
        game.stepClock.restart();
        bool touched = false;
        for (int frame = 0; frame < kWalkFrames; ++frame) {
            sf::sleep(kFrameTime);
            game.moveCharacter();
            game.updateBin();
            game.deliverFruit();
            touched = touched || (game.touchesCharacter(game.stallSprites[stall]) &&
                                  !game.touchesCharacter(game.stallAreaSprites[stall]));
        }
        return touched;
    }

    Game game;
};

TEST_F(SolidAreas, EveryStallCanBeTouchedFromTheLeftTheRightAndBelowButNotEntered) {
    const Approach approaches[] = {
        {"the left", sf::Keyboard::Right}, {"the right", sf::Keyboard::Left}, {"below", sf::Keyboard::Up}};
    for (int32_t stall = 0; stall < kStallCount; ++stall) {
        for (const Approach& approach : approaches) {
            SCOPED_TRACE(::testing::Message() << "stall " << stall << " from " << approach.side);
            const sf::FloatRect picture = game.stallSprites[stall].getGlobalBounds();
            sf::Vector2f start;
            if (approach.key == sf::Keyboard::Up && picture.top + picture.height > kLowestWalkY) {
                // The bottom row reaches below the lowest walkable line: a player
                // touches it from below by walking along the bottom edge under it.
                start = {picture.left - characterSize().x - kShortestRunUpPixels, kLowestWalkY};
                ASSERT_TRUE(freeToStart(start, picture));
                game.characterSprite.setPosition(start);
                EXPECT_TRUE(walkUnder(stall)) << "walking under the stall never touches its picture";
                continue;
            }
            if (approach.key == sf::Keyboard::Left &&
                picture.left + picture.width + kShortestRunUpPixels >= kRightmostWalkX) {
                // The rightmost stall stands against the edge of the walkable area.
                continue;
            }
            ASSERT_TRUE(runUpStart(picture, game.stallAreaSprites[stall].getGlobalBounds(), approach.key,
                                   start))
                << "no free place to walk up from";
            game.characterSprite.setPosition(start);
            walkInto(approach.key);
            EXPECT_NE(game.characterSprite.getPosition(), start) << "the character never moved";
            EXPECT_TRUE(game.touchesCharacter(game.stallSprites[stall]))
                << "walking up to the stall does not reach its picture, so no insert button";
            EXPECT_FALSE(game.touchesCharacter(game.stallAreaSprites[stall]))
                << "the character walked into the stall's solid area";
        }
    }
}

TEST_F(SolidAreas, StallAreasLieInsideTheirStalls) {
    for (int32_t stall = 0; stall < kStallCount; ++stall) {
        const sf::FloatRect picture = game.stallSprites[stall].getGlobalBounds();
        const sf::FloatRect area = game.stallAreaSprites[stall].getGlobalBounds();
        sf::FloatRect overlap;
        ASSERT_TRUE(picture.intersects(area, overlap)) << "stall " << stall;
        EXPECT_EQ(overlap, area) << "the solid area of stall " << stall << " sticks out of its picture";
    }
}

TEST_F(SolidAreas, BinBlocksTheCharacterFromEverySide) {
    const sf::FloatRect bin = game.binAreaSprite.getGlobalBounds();
    for (sf::Keyboard::Key key : {sf::Keyboard::Right, sf::Keyboard::Left, sf::Keyboard::Up}) {
        sf::Vector2f start;
        ASSERT_TRUE(runUpStart(bin, bin, key, start)) << "no free place to walk up to the bin";
        game.characterSprite.setPosition(start);
        walkInto(key);
        const sf::Vector2f end = game.characterSprite.getPosition();
        EXPECT_NE(end, start) << "the character never moved";
        EXPECT_FALSE(game.touchesCharacter(game.binAreaSprite))
            << "walked into the bin from (" << start.x << ", " << start.y << ")";
        // Stopped by the bin, not short of it: within one step of its edge.
        const sf::FloatRect body = game.characterSprite.getGlobalBounds();
        const float gap = key == sf::Keyboard::Right  ? bin.left - (body.left + body.width)
                          : key == sf::Keyboard::Left ? body.left - (bin.left + bin.width)
                                                      : body.top - (bin.top + bin.height);
        EXPECT_LT(gap, kLongestStepSeconds * kWalkPixelsPerSecond);
    }
}

// The bin is painted into the market picture; its solid area must cover what the
// player sees as the bin, and little else.
TEST_F(SolidAreas, BinAreaMatchesTheBinDrawnInTheMarket) {
    const sf::Image market = game.sceneBackgroundTexture.copyToImage();
    ASSERT_EQ(market.getSize(), sf::Vector2u(800, 600));
    const sf::IntRect area(sf::Vector2i(game.binAreaSprite.getPosition()),
                           sf::Vector2i(game.binAreaTexture.getSize()));
    // The ground around the bin, sampled well away from it.
    const sf::Color ground = market.getPixel(area.left - 30, area.top + area.height / 2);
    auto differsFromGround = [&](int x, int y) {
        const sf::Color c = market.getPixel(x, y);
        return std::abs(c.r - ground.r) + std::abs(c.g - ground.g) + std::abs(c.b - ground.b) > 60;
    };
    int inside = 0;
    int painted = 0;
    for (int y = area.top; y < area.top + area.height; ++y) {
        for (int x = area.left; x < area.left + area.width; ++x) {
            ++inside;
            painted += differsFromGround(x, y) ? 1 : 0;
        }
    }
    EXPECT_GT(painted, inside * 6 / 10) << "most of the solid area should be the bin itself";
    // A ring a few pixels outside the left, right and top edges is ground (the
    // shadow below the bin may differ).
    constexpr int kRing = 4;
    int ring = 0;
    int ringPainted = 0;
    for (int y = area.top - kRing; y < area.top + area.height; ++y) {
        for (int x = area.left - kRing; x < area.left + area.width + kRing; ++x) {
            if (area.contains(x, y)) {
                continue;
            }
            ++ring;
            ringPainted += differsFromGround(x, y) ? 1 : 0;
        }
    }
    EXPECT_LT(ringPainted, ring / 5) << "the bin is drawn well outside its solid area";
}

}  // namespace
