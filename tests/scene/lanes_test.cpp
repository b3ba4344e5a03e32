// The six fruit lanes and the bin. Lanes are advanced the way the play frame does
// it, lane by lane: choose the number, then move the fruit. Random choices are
// steered by seeding the generator and peeking at what it will draw next.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <set>
#include <vector>

#include "app/game.hpp"
#include "support/fake_input.hpp"
#include "support/scratch_assets.hpp"

namespace {

constexpr int kLanes = 6;
constexpr int kFruitNumbers = 100;
constexpr int kLaneXChoices = 210;
constexpr float kTolerance = 1e-3f;
constexpr int kSeeds = 300;
// Heights of the six fruits after the first frame of a match.
const float kFirstFrameHeights[kLanes] = {-97, -197, -297, -397, -497, -597};

// Stand-in bin area; the real picture is invisible anyway.
constexpr unsigned kBinWidth = 80;
constexpr unsigned kBinHeight = 60;
// Inside the bin area (385, 125) - (465, 185), with room for a step either way.
const sf::Vector2f kAtTheBin(400, 140);
const sf::Vector2f kFarFromTheBin(105, 400);
const sf::Time kShortPause = sf::milliseconds(20);
const sf::Time kBinSoundLength = sf::seconds(2);

bool pairwiseDifferent(const int32_t (&numbers)[kLanes]) {
    for (int a = 0; a < kLanes; ++a) {
        for (int b = a + 1; b < kLanes; ++b) {
            if (numbers[a] == numbers[b]) {
                return false;
            }
        }
    }
    return true;
}

bool isWholeLaneX(float x) {
    return x == std::floor(x) && x >= 0 && x < kLaneXChoices;
}

// What the generator will give next as a fruit number, without consuming it for
// the game: the same seed is planted again afterwards.
int peekFirstFruitNumber(unsigned seed) {
    std::srand(seed);
    const int number = std::rand() % kFruitNumbers;
    std::srand(seed);
    return number;
}

// Six lane numbers that all differ from `number` (and from each other).
std::vector<int32_t> numbersOtherThan(int number) {
    std::vector<int32_t> numbers;
    for (int lane = 0; lane < kLanes; ++lane) {
        numbers.push_back((number + 1 + lane) % kFruitNumbers);
    }
    return numbers;
}

class Lanes : public ::testing::Test {
protected:
    void SetUp() override {
        assets.writePicture("Personagem.png", 129, 232);
        assets.writePicture("LixeiraInvisivel.png", kBinWidth, kBinHeight);
        assets.writeSound("JogarLixo.wav", kBinSoundLength);
        openGameWindow(game, true);
        for (sf::Keyboard::Key key : {sf::Keyboard::Left, sf::Keyboard::Right, sf::Keyboard::Up,
                                      sf::Keyboard::Down}) {
            keyboard.release(key);
        }
    }

    // The lane part of one play frame.
    void advanceAllLanes() {
        for (int lane = 0; lane < kLanes; ++lane) {
            game.chooseLaneFruits(lane);
            game.advanceLane(lane);
        }
    }

    // A match already running with six different fruits at the given heights.
    void setLanes(const std::vector<int32_t>& numbers, const std::vector<float>& heights) {
        game.matchStarting = false;
        for (int lane = 0; lane < kLanes; ++lane) {
            game.laneFruit[lane] = numbers[lane];
            game.lanePositions[lane] = sf::Vector2f(55, heights[lane]);
        }
    }

    ScratchAssetDir assets;
    Game game;
    FakeKeyboard keyboard;
};

TEST_F(Lanes, FirstFrameStandsEveryLaneAboveTheWindow) {
    std::set<float> columnsSeen;
    for (unsigned seed = 1; seed <= 60; ++seed) {
        SCOPED_TRACE(seed);
        std::srand(seed);
        game.matchStarting = true;
        for (int lane = 0; lane < kLanes; ++lane) {
            // Whatever the previous match left behind.
            game.lanePositions[lane] = sf::Vector2f(123.5f, 700);
            game.laneTaken[lane] = true;
        }

        advanceAllLanes();

        for (int lane = 0; lane < kLanes; ++lane) {
            EXPECT_EQ(game.lanePositions[lane].y, kFirstFrameHeights[lane]);
            EXPECT_TRUE(isWholeLaneX(game.lanePositions[lane].x)) << game.lanePositions[lane].x;
            EXPECT_FALSE(game.laneTaken[lane]);
            EXPECT_GE(game.laneFruit[lane], 0);
            EXPECT_LT(game.laneFruit[lane], kFruitNumbers);
            columnsSeen.insert(game.lanePositions[lane].x);
        }
        EXPECT_TRUE(pairwiseDifferent(game.laneFruit));
    }
    // The columns are drawn at random, not fixed.
    EXPECT_GT(columnsSeen.size(), 20u);
}

TEST_F(Lanes, FirstFrameDrawsTheWholeSetAgainOnARepeat) {
    int repeatsSeen = 0;
    for (unsigned seed = 1; seed <= 2000 && repeatsSeen < 20; ++seed) {
        // Replay the generator: sets of six until one has no repeat.
        std::srand(seed);
        int32_t expected[kLanes];
        int setsDrawn = 0;
        do {
            for (int32_t& number : expected) {
                number = std::rand() % kFruitNumbers;
            }
            ++setsDrawn;
        } while (!pairwiseDifferent(expected));
        if (setsDrawn == 1) {
            continue;
        }
        ++repeatsSeen;
        SCOPED_TRACE(seed);

        std::srand(seed);
        game.matchStarting = true;
        game.chooseLaneFruits(0);

        EXPECT_TRUE(pairwiseDifferent(game.laneFruit));
        for (int lane = 0; lane < kLanes; ++lane) {
            EXPECT_EQ(game.laneFruit[lane], expected[lane]) << "lane " << lane;
        }
    }
    EXPECT_EQ(repeatsSeen, 20);
}

TEST_F(Lanes, LaneRestartsAtTheTopOnceBelowTheWindow) {
    setLanes({10, 20, 30, 40, 50, 60}, {600, 599.5f, 650.75f, 100, 0, -300});
    for (bool& taken : game.laneTaken) {
        taken = true;
    }
    std::srand(7);

    advanceAllLanes();

    // Lanes 0 and 2 had gone below the window: new number, new column, shown again.
    for (int lane : {0, 2}) {
        SCOPED_TRACE(lane);
        EXPECT_EQ(game.lanePositions[lane].y, 3.f);
        EXPECT_TRUE(isWholeLaneX(game.lanePositions[lane].x)) << game.lanePositions[lane].x;
        EXPECT_FALSE(game.laneTaken[lane]);
    }
    EXPECT_TRUE(pairwiseDifferent(game.laneFruit));
    // The others keep their number, column and hidden state, and sink 3 pixels.
    const float heightsBefore[kLanes] = {600, 599.5f, 650.75f, 100, 0, -300};
    for (int lane : {1, 3, 4, 5}) {
        SCOPED_TRACE(lane);
        EXPECT_EQ(game.laneFruit[lane], 10 * (lane + 1));
        EXPECT_EQ(game.lanePositions[lane].x, 55.f);
        EXPECT_NEAR(game.lanePositions[lane].y, heightsBefore[lane] + 3, kTolerance);
        EXPECT_TRUE(game.laneTaken[lane]);
    }

    // Lane 1 now stands at 602.5 and restarts on the next frame.
    advanceAllLanes();
    EXPECT_EQ(game.lanePositions[1].y, 3.f);
    EXPECT_FALSE(game.laneTaken[1]);
    EXPECT_TRUE(pairwiseDifferent(game.laneFruit));
}

TEST_F(Lanes, NewNumberDiffersFromTheOtherFiveLanes) {
    constexpr int kLane = 3;
    for (unsigned seed = 1; seed <= kSeeds; ++seed) {
        SCOPED_TRACE(seed);
        // Another lane already bears the number the generator gives first, so the
        // lane must draw again.
        const int first = peekFirstFruitNumber(seed);
        std::vector<int32_t> numbers;
        for (int lane = 0; lane < kLanes; ++lane) {
            numbers.push_back((first + lane) % kFruitNumbers);
        }
        numbers[kLane] = (first + 50) % kFruitNumbers;
        setLanes(numbers, {100, 200, 300, 600, 400, 500});

        game.chooseLaneFruits(kLane);

        EXPECT_NE(game.laneFruit[kLane], first);
        EXPECT_TRUE(pairwiseDifferent(game.laneFruit));
        for (int lane = 0; lane < kLanes; ++lane) {
            if (lane != kLane) {
                EXPECT_EQ(game.laneFruit[lane], numbers[lane]);
            }
        }
    }
}

TEST_F(Lanes, LaneMayBringItsOwnOldNumberBack) {
    constexpr int kLane = 3;
    for (unsigned seed = 1; seed <= 50; ++seed) {
        SCOPED_TRACE(seed);
        const int first = peekFirstFruitNumber(seed);
        std::vector<int32_t> numbers = numbersOtherThan(first);
        numbers[kLane] = first;
        setLanes(numbers, {100, 200, 300, 600, 400, 500});

        game.chooseLaneFruits(kLane);

        EXPECT_EQ(game.laneFruit[kLane], first);
    }
}

TEST_F(Lanes, LaneExactlyAtTheBottomTakesANewNumber) {
    constexpr int kLane = 1;
    for (unsigned seed = 1; seed <= 50; ++seed) {
        SCOPED_TRACE(seed);
        const int first = peekFirstFruitNumber(seed);
        std::vector<int32_t> numbers = numbersOtherThan(first);
        setLanes(numbers, {100, 600, 300, 200, 400, 500});

        game.chooseLaneFruits(kLane);

        // The first number drawn clashes with no lane, so it is the one taken.
        EXPECT_EQ(game.laneFruit[kLane], first);
    }
}

TEST_F(Lanes, LaneStillInTheWindowKeepsItsNumber) {
    setLanes({10, 20, 30, 40, 50, 60}, {599.9f, 0, -1, 597, 300, 3});
    for (int lane = 0; lane < kLanes; ++lane) {
        game.chooseLaneFruits(lane);
        EXPECT_EQ(game.laneFruit[lane], 10 * (lane + 1));
    }
}

TEST_F(Lanes, PickedFruitKeepsSinkingHiddenUntilItsLaneRestarts) {
    setLanes({10, 20, 30, 40, 50, 60}, {100, 200, 300, 400, 591, 500});
    game.laneTaken[4] = true;
    for (int frame = 0; frame < 3; ++frame) {
        advanceAllLanes();
        EXPECT_TRUE(game.laneTaken[4]);
        EXPECT_EQ(game.lanePositions[4].x, 55.f);
    }
    EXPECT_EQ(game.lanePositions[4].y, 600.f);
    advanceAllLanes();
    EXPECT_FALSE(game.laneTaken[4]);
    EXPECT_EQ(game.lanePositions[4].y, 3.f);
}

// The bin, with the character walking into it.
class Bin : public Lanes {
protected:
    void SetUp() override {
        Lanes::SetUp();
        // A standing step gives the character its 43x58 frame.
        game.moveCharacter();
    }

    void stepAfter(sf::Time pause) {
        game.stepClock.restart();
        sf::sleep(pause);
        game.moveCharacter();
    }

    void holdFruitFromLane(int32_t fruit, int32_t lane) {
        game.laneTaken[lane] = true;
        game.pickedLane = lane;
        game.carrying = true;
        game.carriedFruit = fruit;
    }

    sf::Vector2f where() const { return game.characterSprite.getPosition(); }
    bool binSounding() const { return game.throwInBinSound.getStatus() == sf::Sound::Playing; }
};

TEST_F(Bin, PushesBackWithAnEmptyHand) {
    game.characterSprite.setPosition(kAtTheBin);
    keyboard.press(sf::Keyboard::Down);
    stepAfter(kShortPause);
    ASSERT_GT(where().y, kAtTheBin.y);

    game.updateBin();

    EXPECT_NEAR(where().x, kAtTheBin.x, kTolerance);
    EXPECT_NEAR(where().y, kAtTheBin.y, kTolerance);
    EXPECT_EQ(game.carriedFruit, -1);
    EXPECT_FALSE(game.carrying);
    EXPECT_FALSE(binSounding());
}

TEST_F(Bin, TakesTheFruitOnFirstContactAndSoundsOnce) {
    holdFruitFromLane(42, 2);
    game.characterSprite.setPosition(kAtTheBin);
    keyboard.press(sf::Keyboard::Left);
    stepAfter(kShortPause);
    ASSERT_LT(where().x, kAtTheBin.x);

    game.updateBin();

    EXPECT_NEAR(where().x, kAtTheBin.x, kTolerance);
    EXPECT_EQ(game.carriedFruit, -1);
    EXPECT_FALSE(game.carrying);
    EXPECT_TRUE(binSounding());
    // A fruit thrown away stays hidden in its lane.
    EXPECT_TRUE(game.laneTaken[2]);
    EXPECT_EQ(game.pickedLane, 2);

    // Still at the bin on the next frames, with nothing left to throw.
    game.throwInBinSound.stop();
    for (int frame = 0; frame < 3; ++frame) {
        stepAfter(kShortPause);
        game.updateBin();
        EXPECT_NEAR(where().x, kAtTheBin.x, kTolerance);
        EXPECT_FALSE(binSounding());
        EXPECT_EQ(game.carriedFruit, -1);
        EXPECT_TRUE(game.laneTaken[2]);
    }
}

TEST_F(Bin, TakesTheFruitWithNoKeyHeld) {
    holdFruitFromLane(7, 5);
    game.characterSprite.setPosition(kAtTheBin);
    stepAfter(kShortPause);

    game.updateBin();

    EXPECT_EQ(where(), kAtTheBin);
    EXPECT_EQ(game.carriedFruit, -1);
    EXPECT_FALSE(game.carrying);
    EXPECT_TRUE(game.laneTaken[5]);
    EXPECT_TRUE(binSounding());
}

TEST_F(Bin, OutOfReachLeavesTheHandAlone) {
    holdFruitFromLane(42, 2);
    game.characterSprite.setPosition(kFarFromTheBin);
    keyboard.press(sf::Keyboard::Up);
    stepAfter(kShortPause);
    const sf::Vector2f afterStep = where();

    game.updateBin();

    EXPECT_EQ(where(), afterStep);
    EXPECT_EQ(game.carriedFruit, 42);
    EXPECT_TRUE(game.carrying);
    EXPECT_FALSE(binSounding());
}

}  // namespace
