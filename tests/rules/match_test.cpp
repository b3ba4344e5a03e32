// Whole matches played through the real play frame: every outcome, the rotation
// question, and the faults once found in them. The driver checks the match's
// invariants after every frame of every test here.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "assets/layout.hpp"
#include "support/driver.hpp"
#include "support/tree_check.hpp"

namespace {

constexpr int32_t kNoAnswer = -2;

struct Step {
    int32_t fruit;
    int32_t slot;
    int32_t answer = kNoAnswer;  // the rotation named right after this delivery
};

class Match : public ::testing::Test {
protected:
    void SetUp() override {
        std::srand(7);
        driver.open();
        driver.startMatch();
    }
    void play(const std::vector<Step>& steps) {
        for (const Step& step : steps) {
            ASSERT_TRUE(driver.insert(step.fruit, step.slot)) << "fruit " << step.fruit;
            if (step.answer != kNoAnswer) driver.answer(step.answer);
        }
    }
    // Walks into `obstacle` from its left with the real Right key.
    void walkInto(const sf::Sprite& obstacle) {
        const sf::FloatRect area = obstacle.getGlobalBounds();
        const sf::FloatRect body = game.characterSprite.getGlobalBounds();
        game.characterSprite.setPosition(area.left - body.width - 0.01f, area.top);
        driver.seat.hold(sf::Keyboard::Right);
        driver.turn(3);
        driver.seat.release(sf::Keyboard::Right);
    }
    Game game;
    Driver driver{game};
};

struct Ending {
    const char* name;
    std::vector<Step> steps;
    int32_t loss;
    sf::Sprite Game::*card;
};

class Endings : public Match, public ::testing::WithParamInterface<Ending> {};

struct Rotation {
    const char* name;
    int32_t kind;
    std::vector<Step> steps;
};

class Rotations : public Match, public ::testing::WithParamInterface<Rotation> {};

template <typename Row>
std::string rowName(const ::testing::TestParamInfo<Row>& info) {
    return info.param.name;
}

}  // namespace

TEST_P(Endings, OutcomeOfRealPlayShowsItsEndPicture) {
    play(GetParam().steps);
    driver.turn(2);
    const bool won = GetParam().loss == LossCause::None;
    EXPECT_EQ(game.lossCause, GetParam().loss);
    EXPECT_EQ(game.matchWon, won ? 1 : 0);
    EXPECT_EQ((won ? game.wonSound : game.lostSound).getStatus(), sf::SoundSource::Playing);
    const sf::Image shot = driver.capture();
    EXPECT_TRUE(shows(shot, game.playAgainButtonSprite));
    // The card above the play-again button, where nothing else is drawn over it.
    sf::Sprite card = game.*GetParam().card;
    card.setTextureRect(sf::IntRect(0, 0, 800, static_cast<int>(game.playAgainButtonSprite.getPosition().y)));
    EXPECT_TRUE(shows(shot, card));
}

INSTANTIATE_TEST_SUITE_P(
    Match, Endings,
    ::testing::Values(
        Ending{"SmallerFruitInTheRightChild", {{50, TreeSlot::Root}, {30, TreeSlot::Right}},
               LossCause::WrongSlot, &Game::lostPositionSprite},
        Ending{"WrongRotationNamed",
               {{50, TreeSlot::Root}, {30, TreeSlot::Left}, {20, TreeSlot::LeftLeft, RotationKind::SingleLeft}},
               LossCause::WrongRotation, &Game::lostRotationSprite},
        Ending{"ZeroDeliveredTwice", {{0, TreeSlot::Root}, {0, TreeSlot::Right}}, LossCause::RepeatedKey,
               &Game::lostKeySprite},
        Ending{"NinetyNineDeliveredTwice", {{99, TreeSlot::Root}, {50, TreeSlot::Left}, {99, TreeSlot::Right}},
               LossCause::RepeatedKey, &Game::lostKeySprite},
        Ending{"RepeatIntoTheLastFreeStallLosesInsteadOfWinning",
               {{50, 0}, {25, 1}, {75, 2}, {12, 3}, {37, 4}, {62, 5}, {50, 6}}, LossCause::RepeatedKey,
               &Game::lostKeySprite},
        Ending{"SevenStallsInOrderWin", {{50, 0}, {25, 1}, {75, 2}, {0, 3}, {37, 4}, {62, 5}, {99, 6}},
               LossCause::None, &Game::wonSprite},
        Ending{"SevenStallsAfterARotationWin",
               {{50, 0}, {30, 1}, {20, 3, RotationKind::SingleRight}, {10, 3}, {25, 4}, {40, 5}, {60, 6}},
               LossCause::None, &Game::wonSprite}),
    rowName<Ending>);

TEST_P(Rotations, RightAnswerShowsTheRebalancedTreeInTheStalls) {
    play(GetParam().steps);
    ASSERT_EQ(game.pendingRotation, GetParam().kind);
    EXPECT_FALSE(game.movementEnabled);
    driver.turn();  // the buttons take their frames as the question is first asked
    const sf::Image question = driver.capture();
    for (const sf::Sprite* button : {&game.rotateRightButtonSprite, &game.doubleRotateRightButtonSprite,
                                     &game.rotateLeftButtonSprite, &game.doubleRotateLeftButtonSprite}) {
        EXPECT_TRUE(shows(question, *button));
    }
    driver.answer(GetParam().kind);
    driver.turn();
    EXPECT_EQ(game.pendingRotation, RotationKind::None);
    EXPECT_TRUE(game.movementEnabled);
    EXPECT_FALSE(game.hasOutcome());
    const sf::Image after = driver.capture();
    for (int32_t slot = 0; slot < kStallCount; ++slot) {
        const TreeNode* node = nodeAtSlot(game.balancedRoot, slot);
        EXPECT_EQ(game.slotFruit[slot], node != nullptr ? node->key : kNoFruit);
        EXPECT_TRUE(node == nullptr || shows(after, game.treeFruitSprites[node->key])) << "slot " << slot;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Match, Rotations,
    ::testing::Values(Rotation{"SingleRight", RotationKind::SingleRight, {{50, 0}, {30, 1}, {20, 3}}},
                      Rotation{"DoubleRight", RotationKind::DoubleRight, {{50, 0}, {30, 1}, {40, 4}}},
                      Rotation{"SingleLeft", RotationKind::SingleLeft, {{0, 0}, {70, 2}, {99, 6}}},
                      Rotation{"DoubleLeft", RotationKind::DoubleLeft, {{50, 0}, {99, 2}, {60, 5}}},
                      // Misplaced in a free stall: the question still comes first.
                      Rotation{"AfterAMisplacedThirdFruit", RotationKind::SingleRight, {{50, 0}, {30, 1}, {20, 2}}}),
    rowName<Rotation>);

TEST_F(Match, OutcomeIsFinalEvenForTheRightRotationUnderTheEndPicture) {
    play({{50, 0}, {30, 1}, {20, 3}});
    ASSERT_EQ(game.pendingRotation, RotationKind::SingleRight);
    // A stalled loop: the clock is read long past the end in one frame.
    game.matchTime = sf::seconds(59);
    game.updateTimer();
    game.matchTime = sf::seconds(1e12f);
    game.updateTimer();
    EXPECT_EQ(game.lossCause, LossCause::TimeOut);
    EXPECT_EQ(game.shownSeconds, kMatchSeconds);
    driver.turn();
    const std::string before = describeTree(game.playerRoot);
    driver.answer(RotationKind::SingleRight);
    driver.turn(3);
    EXPECT_EQ(game.lossCause, LossCause::TimeOut);
    EXPECT_EQ(describeTree(game.playerRoot), before);
}

TEST_F(Match, InsertButtonAnswersOnlyWhereItIsDrawnAndNoSlotShowsAFruitNotDelivered) {
    ASSERT_TRUE(driver.insert(50, TreeSlot::Root));
    ASSERT_TRUE(driver.carry(30));
    // Against a filled stall no button is offered; a click where it stood does nothing.
    game.characterSprite.setPosition(driver.spotAgainst(TreeSlot::Root));
    driver.turn();
    EXPECT_EQ(game.offeredSlot, TreeSlot::None);
    driver.click(game.insertButtonSprite);
    driver.turn();
    EXPECT_TRUE(game.carrying);
    EXPECT_EQ(game.slotFruit[TreeSlot::Root], 50);
    // Clicked beside a free stall, then walked off before the delivery.
    game.characterSprite.setPosition(driver.spotAgainst(TreeSlot::Left));
    driver.turn();
    driver.click(game.insertButtonSprite);
    game.characterSprite.setPosition(kCharacterStart);
    driver.turn();
    EXPECT_TRUE(game.carrying);
    EXPECT_FALSE(game.slotFilled[TreeSlot::Left]);
    // Clicked, then the bin took the fruit before the delivery.
    game.characterSprite.setPosition(driver.spotAgainst(TreeSlot::Left));
    driver.turn();
    driver.click(game.insertButtonSprite);
    walkInto(game.binAreaSprite);
    EXPECT_FALSE(game.carrying);
    EXPECT_FALSE(game.slotFilled[TreeSlot::Left]);
    EXPECT_EQ(describeTree(game.playerRoot), "50");
}

TEST_F(Match, FruitThrownIntoTheBinCannotBePickedWhileItsLaneIsHidden) {
    ASSERT_TRUE(driver.carry(42));
    const int32_t lane = game.pickedLane;
    walkInto(game.binAreaSprite);
    ASSERT_FALSE(game.carrying);
    ASSERT_TRUE(game.laneTaken[lane]);
    // Stand right on the hidden fruit as it keeps falling.
    const sf::Vector2f fruit = game.lanePositions[lane];
    game.characterSprite.setPosition(fruit.x, fruit.y + kFallPixelsPerFrame);
    driver.checking = false;  // stood wherever the fruit is, maybe in no walkable place
    driver.turn(2);
    EXPECT_FALSE(game.carrying && game.carriedFruit == 42);
}

TEST_F(Match, PlayAgainLeadsThroughTheMenuToAFreshMatch) {
    play({{50, 0}, {30, 2}});
    ASSERT_EQ(game.lossCause, LossCause::WrongSlot);
    driver.turn();
    driver.click(game.playAgainButtonSprite);
    driver.turn();
    EXPECT_TRUE(game.menuActive);
    EXPECT_EQ(game.balancedRoot, nullptr);
    EXPECT_EQ(game.playerRoot, nullptr);
    driver.click(game.playButtonSprite);
    driver.turn();
    EXPECT_EQ(game.shownSeconds, 0);
    EXPECT_TRUE(game.movementEnabled);
    // The same numbers again are no repeats in the new match.
    play({{50, 0}, {30, 1}});
    EXPECT_FALSE(game.hasOutcome());
    EXPECT_EQ(describeTree(game.playerRoot), "50(30,-)");
}

TEST_F(Match, MusicStartsAgainWhenItEndsAndTimerAndMusicStopAtTheOutcome) {
    // A track of a fifth of a second, so that it ends while the test watches.
    const std::string track = ::testing::TempDir() + "short-track.wav";
    std::vector<sf::Int16> silence(8000 / 5, 0);
    sf::SoundBuffer buffer;
    ASSERT_TRUE(buffer.loadFromSamples(silence.data(), silence.size(), 1, 8000));
    ASSERT_TRUE(buffer.saveToFile(track));
    ASSERT_TRUE(game.music.openFromFile(track));
    for (int round = 0; round < 2; ++round) {
        driver.turn();
        ASSERT_EQ(game.music.getStatus(), sf::SoundSource::Playing);
        for (int wait = 0; wait < 200 && game.music.getStatus() == sf::SoundSource::Playing; ++wait) {
            sf::sleep(sf::milliseconds(10));
        }
        ASSERT_EQ(game.music.getStatus(), sf::SoundSource::Stopped) << "the track never ended";
    }
    play({{50, 0}, {30, 2}});
    ASSERT_TRUE(game.hasOutcome());
    sf::sleep(sf::milliseconds(1100));  // past the next second, which the timer must not show
    driver.turn(3);
    EXPECT_EQ(game.music.getStatus(), sf::SoundSource::Stopped);
}

TEST(LongRun, UntouchedMatchEndsByTimeOutAfterNinetySeconds) {
    Game game;
    Driver driver(game);
    driver.open();
    driver.startMatch();
    sf::Clock clock;
    while (!game.hasOutcome() && clock.getElapsedTime() < sf::seconds(kMatchSeconds + 30)) driver.turn();
    EXPECT_EQ(game.lossCause, LossCause::TimeOut);
    EXPECT_GE(clock.getElapsedTime(), sf::seconds(kMatchSeconds - 1));
    driver.turn();
    EXPECT_TRUE(shows(driver.capture(), game.playAgainButtonSprite));
}
