// The walking character, driven with real key state: the arrow keys are held down
// on the X server through XTest, which is what sf::Keyboard::isKeyPressed reads.
// Step lengths are not assumed: each test lets a known pause pass, reads back the
// frameSeconds the step measured and expects 180 pixels per second of it.
#include <gtest/gtest.h>

#include <vector>

#include "app/game.hpp"
#include "support/fake_input.hpp"
#include "support/scratch_assets.hpp"

namespace {

constexpr float kPixelsPerSecond = 180;
constexpr float kCapSeconds = 0.1f;
constexpr float kTolerance = 1e-3f;
constexpr int kFrameWidth = 43;
constexpr int kFrameHeight = 58;
// Long enough for every step to move the character visibly, well below the cap.
const sf::Time kShortPause = sf::milliseconds(20);
// Far beyond the cap: a step after it must still be a tenth of a second long.
const sf::Time kLongPause = sf::milliseconds(500);
// Somewhere in the open middle of the market, away from every bound.
const sf::Vector2f kOpenGround(300, 300);

sf::IntRect characterFrame(int walkFrame, int facing) {
    return sf::IntRect(walkFrame * kFrameWidth, facing * kFrameHeight, kFrameWidth, kFrameHeight);
}

int facingFor(sf::Keyboard::Key key) {
    switch (key) {
    case sf::Keyboard::Left: return Facing::Left;
    case sf::Keyboard::Right: return Facing::Right;
    case sf::Keyboard::Up: return Facing::Up;
    default: return Facing::Down;
    }
}

// A solid thing of the given size for push-back tests.
sf::Sprite obstacleAt(sf::Vector2f corner, int width, int height) {
    sf::Sprite obstacle;
    obstacle.setTextureRect(sf::IntRect(0, 0, width, height));
    obstacle.setPosition(corner);
    return obstacle;
}

class Character : public ::testing::Test {
protected:
    void SetUp() override {
        // Three walking columns of 43 pixels, four facing rows of 58.
        assets.writePicture("Personagem.png", 3 * kFrameWidth, 4 * kFrameHeight);
        openGameWindow(game, true);
        // No arrow may be left down by an earlier test on the same display.
        for (sf::Keyboard::Key key : {sf::Keyboard::Left, sf::Keyboard::Right, sf::Keyboard::Up,
                                      sf::Keyboard::Down}) {
            keyboard.release(key);
        }
        // One standing step gives the character its 43x58 frame (47.3x63.8 on screen).
        game.moveCharacter();
    }

    // One movement step a known pause after the previous one.
    void stepAfter(sf::Time pause) {
        game.stepClock.restart();
        sf::sleep(pause);
        game.moveCharacter();
    }

    void placeCharacter(sf::Vector2f corner) { game.characterSprite.setPosition(corner); }
    sf::Vector2f where() const { return game.characterSprite.getPosition(); }
    float stepLength() const { return kPixelsPerSecond * game.frameSeconds; }

    ScratchAssetDir assets;
    Game game;
    FakeKeyboard keyboard;
};

TEST_F(Character, StartsStandingAtItsPlaceWithTheScaledFrame) {
    EXPECT_EQ(where(), sf::Vector2f(105, 400));
    EXPECT_EQ(game.characterSprite.getTextureRect(), characterFrame(0, Facing::Right));
    const sf::FloatRect bounds = game.characterSprite.getGlobalBounds();
    EXPECT_NEAR(bounds.width, 47.3f, kTolerance);
    EXPECT_NEAR(bounds.height, 63.8f, kTolerance);
}

TEST_F(Character, EachArrowMovesAtWalkingSpeedAndSetsFacing) {
    struct Case {
        sf::Keyboard::Key key;
        sf::Vector2f direction;
        int facing;
    };
    const std::vector<Case> cases = {
        {sf::Keyboard::Left, {-1, 0}, Facing::Left},
        {sf::Keyboard::Right, {1, 0}, Facing::Right},
        {sf::Keyboard::Up, {0, -1}, Facing::Up},
        {sf::Keyboard::Down, {0, 1}, Facing::Down},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.facing);
        placeCharacter(kOpenGround);
        game.facing = (each.facing + 1) % 4;
        keyboard.press(each.key);
        stepAfter(kShortPause);
        keyboard.release(each.key);

        ASSERT_GT(game.frameSeconds, 0.f);
        EXPECT_NEAR(where().x, kOpenGround.x + each.direction.x * stepLength(), kTolerance);
        EXPECT_NEAR(where().y, kOpenGround.y + each.direction.y * stepLength(), kTolerance);
        EXPECT_EQ(game.facing, each.facing);
    }
}

TEST_F(Character, LeftWinsOverUpWhenBothAreHeld) {
    placeCharacter(kOpenGround);
    keyboard.press(sf::Keyboard::Up);
    keyboard.press(sf::Keyboard::Left);
    stepAfter(kShortPause);
    EXPECT_NEAR(where().x, kOpenGround.x - stepLength(), kTolerance);
    EXPECT_EQ(where().y, kOpenGround.y);
    EXPECT_EQ(game.facing, Facing::Left);
}

TEST_F(Character, LeftBlockedAtTheEdgeStopsUpToo) {
    const sf::Vector2f leftEdge(0, 300);
    placeCharacter(leftEdge);
    game.facing = Facing::Down;
    keyboard.press(sf::Keyboard::Left);
    keyboard.press(sf::Keyboard::Up);
    stepAfter(kShortPause);
    EXPECT_EQ(where(), leftEdge);
    EXPECT_EQ(game.facing, Facing::Down);
    EXPECT_EQ(game.walkFrame, 1);

    // Up alone moves from the same place.
    keyboard.release(sf::Keyboard::Left);
    stepAfter(kShortPause);
    EXPECT_NEAR(where().y, leftEdge.y - stepLength(), kTolerance);
    EXPECT_EQ(game.facing, Facing::Up);
}

TEST_F(Character, EachBoundIsTestedBeforeTheStep) {
    struct Case {
        const char* name;
        sf::Keyboard::Key key;
        sf::Vector2f start;
        bool moves;
        sf::Vector2f direction;
    };
    const std::vector<Case> cases = {
        {"left at x 0", sf::Keyboard::Left, {0, 300}, false, {-1, 0}},
        {"left beyond x 0", sf::Keyboard::Left, {-2, 300}, false, {-1, 0}},
        {"left at x 1", sf::Keyboard::Left, {1, 300}, true, {-1, 0}},
        {"right at x 757", sf::Keyboard::Right, {757, 300}, false, {1, 0}},
        {"right beyond x 757", sf::Keyboard::Right, {759, 300}, false, {1, 0}},
        {"right at x 756", sf::Keyboard::Right, {756, 300}, true, {1, 0}},
        {"up at y 103", sf::Keyboard::Up, {300, 103}, true, {0, -1}},
        {"up at y 102.5", sf::Keyboard::Up, {300, 102.5f}, false, {0, -1}},
        {"down at y 542", sf::Keyboard::Down, {300, 542}, false, {0, 1}},
        {"down beyond y 542", sf::Keyboard::Down, {300, 544}, false, {0, 1}},
        {"down at y 541", sf::Keyboard::Down, {300, 541}, true, {0, 1}},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.name);
        placeCharacter(each.start);
        // A facing no key of this table sets when it moves, so a refused step shows.
        game.facing = each.key == sf::Keyboard::Down ? Facing::Up : Facing::Down;
        const int facingBefore = game.facing;
        keyboard.press(each.key);
        stepAfter(kShortPause);
        keyboard.release(each.key);

        if (each.moves) {
            // The step may end beyond the limit: only the start is tested.
            EXPECT_NEAR(where().x, each.start.x + each.direction.x * stepLength(), kTolerance);
            EXPECT_NEAR(where().y, each.start.y + each.direction.y * stepLength(), kTolerance);
            EXPECT_EQ(game.facing, facingFor(each.key));
        } else {
            EXPECT_EQ(where(), each.start);
            EXPECT_EQ(game.facing, facingBefore);
        }
    }
}

TEST_F(Character, WalkingCyclesColumnsOneTwoZeroAndStandingShowsZero) {
    placeCharacter(kOpenGround);
    keyboard.press(sf::Keyboard::Down);
    const int expectedColumns[] = {1, 2, 0, 1, 2, 0, 1};
    for (int column : expectedColumns) {
        stepAfter(sf::milliseconds(1));
        EXPECT_EQ(game.walkFrame, column);
        EXPECT_EQ(game.characterSprite.getTextureRect(), characterFrame(column, Facing::Down));
    }
    keyboard.release(sf::Keyboard::Down);
    stepAfter(sf::milliseconds(1));
    EXPECT_EQ(game.walkFrame, 0);
    EXPECT_EQ(game.facing, Facing::Down);
    EXPECT_EQ(game.characterSprite.getTextureRect(), characterFrame(0, Facing::Down));
}

TEST_F(Character, HeldAgainstABoundKeepsWalkingOnTheSpot) {
    const sf::Vector2f rightEdge(757, 300);
    placeCharacter(rightEdge);
    game.facing = Facing::Up;
    keyboard.press(sf::Keyboard::Right);
    const int expectedColumns[] = {1, 2, 0, 1};
    for (int column : expectedColumns) {
        stepAfter(kShortPause);
        EXPECT_EQ(where(), rightEdge);
        EXPECT_EQ(game.walkFrame, column);
        EXPECT_EQ(game.characterSprite.getTextureRect(), characterFrame(column, Facing::Up));
    }
}

TEST_F(Character, StepAfterALongPauseCoversATenthOfASecond) {
    placeCharacter(kOpenGround);
    keyboard.press(sf::Keyboard::Right);
    stepAfter(kLongPause);
    EXPECT_EQ(game.frameSeconds, kCapSeconds);
    EXPECT_NEAR(where().x, kOpenGround.x + kPixelsPerSecond * kCapSeconds, kTolerance);
    EXPECT_LE(where().x - kOpenGround.x, 18.f + kTolerance);
    EXPECT_EQ(where().y, kOpenGround.y);
}

TEST_F(Character, TouchRequiresOverlapBeyondAnEdge) {
    placeCharacter(kOpenGround);
    const sf::FloatRect body = game.characterSprite.getGlobalBounds();
    const sf::Sprite edgeToEdge = obstacleAt({body.left + body.width, body.top}, 30, 30);
    const sf::Sprite overlapping = obstacleAt({body.left + body.width - 1, body.top}, 30, 30);
    const sf::Sprite below = obstacleAt({body.left, body.top + body.height}, 30, 30);
    EXPECT_FALSE(game.touchesCharacter(edgeToEdge));
    EXPECT_FALSE(game.touchesCharacter(below));
    EXPECT_TRUE(game.touchesCharacter(overlapping));
}

TEST_F(Character, ObstacleUndoesTheStepOfEachKey) {
    const std::vector<sf::Keyboard::Key> keys = {sf::Keyboard::Left, sf::Keyboard::Right,
                                                 sf::Keyboard::Up, sf::Keyboard::Down};
    // Covers the character wherever one step takes it.
    const sf::Sprite wall = obstacleAt({250, 250}, 150, 150);
    for (sf::Keyboard::Key key : keys) {
        SCOPED_TRACE(static_cast<int>(key));
        placeCharacter(kOpenGround);
        keyboard.press(key);
        stepAfter(kShortPause);
        ASSERT_NE(where(), kOpenGround);
        const int facingAfterStep = game.facing;
        const int walkFrameAfterStep = game.walkFrame;
        game.pushBack(wall);
        keyboard.release(key);
        EXPECT_NEAR(where().x, kOpenGround.x, kTolerance);
        EXPECT_NEAR(where().y, kOpenGround.y, kTolerance);
        EXPECT_EQ(game.facing, facingAfterStep);
        EXPECT_EQ(game.walkFrame, walkFrameAfterStep);
    }
}

TEST_F(Character, ObstacleWithNoKeyHeldDoesNotMove) {
    placeCharacter(kOpenGround);
    stepAfter(kShortPause);
    const sf::Sprite wall = obstacleAt({250, 250}, 150, 150);
    ASSERT_TRUE(game.touchesCharacter(wall));
    game.pushBack(wall);
    EXPECT_EQ(where(), kOpenGround);
}

TEST_F(Character, ObstacleOutOfReachDoesNotPush) {
    placeCharacter(kOpenGround);
    keyboard.press(sf::Keyboard::Right);
    stepAfter(kShortPause);
    const sf::Vector2f afterStep = where();
    const sf::FloatRect body = game.characterSprite.getGlobalBounds();
    game.pushBack(obstacleAt({body.left + body.width, body.top}, 30, 30));
    game.pushBack(obstacleAt({600, 100}, 30, 30));
    EXPECT_EQ(where(), afterStep);
}

TEST_F(Character, TwoObstaclesTouchedTogetherPushBackTwice) {
    placeCharacter(kOpenGround);
    keyboard.press(sf::Keyboard::Right);
    stepAfter(kShortPause);
    const float step = stepLength();
    const sf::Sprite first = obstacleAt({250, 250}, 150, 150);
    const sf::Sprite second = obstacleAt({260, 260}, 150, 150);
    game.pushBack(first);
    game.pushBack(second);
    EXPECT_NEAR(where().x, kOpenGround.x - step, kTolerance);
    EXPECT_EQ(where().y, kOpenGround.y);
}

TEST_F(Character, PushBackAfterALongPauseUsesTheCappedStep) {
    placeCharacter(kOpenGround);
    keyboard.press(sf::Keyboard::Down);
    stepAfter(kLongPause);
    ASSERT_NEAR(where().y, kOpenGround.y + kPixelsPerSecond * kCapSeconds, kTolerance);
    game.pushBack(obstacleAt({250, 250}, 150, 150));
    EXPECT_NEAR(where().y, kOpenGround.y, kTolerance);
}

TEST_F(Character, StandingPoseFacesRightOnColumnZero) {
    placeCharacter(kOpenGround);
    keyboard.press(sf::Keyboard::Up);
    stepAfter(kShortPause);
    stepAfter(kShortPause);
    ASSERT_EQ(game.walkFrame, 2);
    game.standStill();
    EXPECT_EQ(game.walkFrame, 0);
    EXPECT_EQ(game.facing, Facing::Right);
    EXPECT_EQ(game.characterSprite.getTextureRect(), characterFrame(0, Facing::Right));
}

}  // namespace
