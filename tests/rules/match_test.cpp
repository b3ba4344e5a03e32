// Whole matches played through the play frame on the real window: fruits carried
// and clicked into stalls, rotations answered with the real buttons, the outcomes
// and their end screens, and play-again back to the menu and into a new match.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "app/game.hpp"
#include "assets/layout.hpp"
#include "support/fake_input.hpp"
#include "support/match_driver.hpp"
#include "support/tree_check.hpp"

namespace {

constexpr int kFramesToWatch = 5;
const sf::IntRect kStandingFrame(0, Facing::Right * kCharacterFrameHeight, kCharacterFrameWidth,
                                 kCharacterFrameHeight);

std::vector<int32_t> shownSlots(const Game& game) {
    return std::vector<int32_t>(game.slotFruit, game.slotFruit + kStallCount);
}

class Match : public ::testing::Test {
protected:
    void SetUp() override {
        driver.open();
        driver.startMatch();
    }

    // The end screen of an outcome: its picture over the scene, the play-again
    // button over the picture, the music off, the character standing and frozen.
    void expectEndScreen(const sf::Sprite& picture) {
        const sf::Image shot = driver.capture();
        const sf::IntRect playAgain(static_cast<int>(kPlayAgainButtonPosition.x),
                                    static_cast<int>(kPlayAgainButtonPosition.y), kButtonWidth,
                                    kButtonHeight);
        EXPECT_TRUE(MatchDriver::showsOnTop(shot, picture, {playAgain}));
        EXPECT_TRUE(MatchDriver::showsOnTop(shot, game.playAgainButtonSprite));
        EXPECT_EQ(game.music.getStatus(), sf::SoundSource::Stopped);
        EXPECT_FALSE(game.movementEnabled);
        EXPECT_EQ(game.characterSprite.getTextureRect(), kStandingFrame);

        // Held arrows move nothing any more, and the verdict does not sound again.
        driver.silenceEffects();
        const sf::Vector2f standing = game.characterSprite.getPosition();
        {
            FakeKeyboard keys;
            keys.press(sf::Keyboard::Left);
            driver.runFrames(kFramesToWatch);
        }
        EXPECT_EQ(game.characterSprite.getPosition(), standing);
        EXPECT_EQ(game.characterSprite.getTextureRect(), kStandingFrame);
        EXPECT_EQ(game.lostSound.getStatus(), sf::SoundSource::Stopped);
        EXPECT_EQ(game.wonSound.getStatus(), sf::SoundSource::Stopped);
        EXPECT_EQ(game.music.getStatus(), sf::SoundSource::Stopped);
        EXPECT_TRUE(MatchDriver::showsOnTop(driver.capture(), picture, {playAgain}));
    }

    void expectNoOutcome() {
        EXPECT_EQ(game.lossCause, LossCause::None);
        EXPECT_EQ(game.matchWon, 0);
    }

    std::unique_ptr<Game> owner = std::make_unique<Game>();
    Game& game = *owner;
    MatchDriver driver{game};
};

TEST_F(Match, SevenFruitsWithOneRightRotationWin) {
    ASSERT_TRUE(driver.insert(50, TreeSlot::Root));
    ASSERT_TRUE(driver.insert(30, TreeSlot::Left));
    expectNoOutcome();
    EXPECT_EQ(game.music.getStatus(), sf::SoundSource::Playing);

    // The chain 50, 30, 20 needs a single right rotation: the character stops.
    ASSERT_TRUE(driver.insert(20, TreeSlot::LeftLeft));
    expectNoOutcome();
    EXPECT_EQ(game.pendingRotation, RotationKind::SingleRight);
    EXPECT_FALSE(game.movementEnabled);

    driver.silenceEffects();
    driver.answerRotation(RotationKind::SingleRight);
    EXPECT_EQ(game.placeInTreeSound.getStatus(), sf::SoundSource::Playing);
    EXPECT_EQ(game.pendingRotation, RotationKind::None);
    EXPECT_TRUE(game.movementEnabled);
    EXPECT_EQ(describeTree(game.balancedRoot), "30(20,50)");
    EXPECT_EQ(describeTree(game.playerRoot), "30(20,50)");
    EXPECT_EQ(shownSlots(game), (std::vector<int32_t>{30, 20, 50, -1, -1, -1, -1}));

    ASSERT_TRUE(driver.insert(10, TreeSlot::LeftLeft));
    ASSERT_TRUE(driver.insert(25, TreeSlot::LeftRight));
    ASSERT_TRUE(driver.insert(40, TreeSlot::RightLeft));
    expectNoOutcome();
    EXPECT_EQ(game.music.getStatus(), sf::SoundSource::Playing);

    driver.silenceEffects();
    ASSERT_TRUE(driver.insert(60, TreeSlot::RightRight));
    EXPECT_EQ(game.matchWon, 1);
    EXPECT_EQ(game.lossCause, LossCause::None);
    EXPECT_EQ(game.wonSound.getStatus(), sf::SoundSource::Playing);
    EXPECT_EQ(game.lostSound.getStatus(), sf::SoundSource::Stopped);
    EXPECT_TRUE(isBalancedSearchTree(game.balancedRoot, {50, 30, 20, 10, 25, 40, 60}));
    EXPECT_EQ(describeTree(game.balancedRoot), "30(20(10,25),50(40,60))");
    EXPECT_EQ(describeTree(game.playerRoot), "30(20(10,25),50(40,60))");
    EXPECT_EQ(shownSlots(game), (std::vector<int32_t>{30, 20, 50, 10, 25, 40, 60}));
    expectEndScreen(game.wonSprite);
    EXPECT_EQ(game.matchWon, 1);
}

TEST_F(Match, SecondFruitInTheWrongChildSlotLoses) {
    ASSERT_TRUE(driver.insert(50, TreeSlot::Root));
    driver.silenceEffects();
    ASSERT_TRUE(driver.insert(30, TreeSlot::Right));
    EXPECT_EQ(game.lossCause, LossCause::WrongSlot);
    EXPECT_EQ(game.matchWon, 0);
    EXPECT_EQ(game.lostSound.getStatus(), sf::SoundSource::Playing);
    EXPECT_EQ(describeTree(game.balancedRoot), "50(30,-)");
    EXPECT_EQ(describeTree(game.playerRoot), "50(-,30)");
    expectEndScreen(game.lostPositionSprite);
}

TEST_F(Match, WrongRotationAnswerLoses) {
    ASSERT_TRUE(driver.insert(50, TreeSlot::Root));
    ASSERT_TRUE(driver.insert(30, TreeSlot::Left));
    ASSERT_TRUE(driver.insert(20, TreeSlot::LeftLeft));
    ASSERT_EQ(game.pendingRotation, RotationKind::SingleRight);
    driver.silenceEffects();
    driver.answerRotation(RotationKind::DoubleRight);
    EXPECT_EQ(game.lossCause, LossCause::WrongRotation);
    EXPECT_EQ(game.pendingRotation, RotationKind::None);
    EXPECT_EQ(game.lostSound.getStatus(), sf::SoundSource::Playing);
    EXPECT_EQ(game.placeInTreeSound.getStatus(), sf::SoundSource::Stopped);
    // The player's tree keeps the chain it was given; nothing was copied.
    EXPECT_EQ(describeTree(game.playerRoot), "50(30(20,-),-)");
    expectEndScreen(game.lostRotationSprite);
}

TEST_F(Match, RepeatedFruitNumberLosesAndLeavesTheTreesAlone) {
    ASSERT_TRUE(driver.insert(50, TreeSlot::Root));
    ASSERT_TRUE(driver.insert(30, TreeSlot::Left));
    driver.silenceEffects();
    ASSERT_TRUE(driver.insert(30, TreeSlot::Right));
    EXPECT_EQ(game.lossCause, LossCause::RepeatedKey);
    EXPECT_EQ(game.lostSound.getStatus(), sf::SoundSource::Playing);
    EXPECT_EQ(describeTree(game.balancedRoot), "50(30,-)");
    EXPECT_EQ(describeTree(game.playerRoot), "50(30,-)");
    expectEndScreen(game.lostKeySprite);
}

TEST_F(Match, NinetySecondsEndTheMatchByTimeOut) {
    ASSERT_TRUE(driver.insert(50, TreeSlot::Root));
    driver.silenceEffects();
    // The match clock cannot be wound forward: the timer step is shown the reading
    // a frame would take at ninety seconds.
    game.matchTime = sf::seconds(kMatchSeconds);
    game.updateTimer();
    EXPECT_EQ(game.lossCause, LossCause::TimeOut);
    EXPECT_EQ(game.shownSeconds, kMatchSeconds);
    EXPECT_EQ(game.lostSound.getStatus(), sf::SoundSource::Playing);

    driver.runFrames(1);
    EXPECT_EQ(game.shownSeconds, kMatchSeconds);
    expectEndScreen(game.lostTimeSprite);
    EXPECT_EQ(game.lossCause, LossCause::TimeOut);
}

TEST_F(Match, RepeatedNumberIntoTheLastFreeSlotLosesInsteadOfWinning) {
    const int32_t fruits[] = {50, 30, 70, 20, 40, 60};
    const int32_t slots[] = {TreeSlot::Root,     TreeSlot::Left,      TreeSlot::Right,
                             TreeSlot::LeftLeft, TreeSlot::LeftRight, TreeSlot::RightLeft};
    for (int i = 0; i < 6; ++i) {
        ASSERT_TRUE(driver.insert(fruits[i], slots[i])) << "fruit " << fruits[i];
    }
    expectNoOutcome();
    driver.silenceEffects();
    ASSERT_TRUE(driver.insert(40, TreeSlot::RightRight));
    EXPECT_EQ(game.lossCause, LossCause::RepeatedKey);
    EXPECT_EQ(game.matchWon, 0);
    EXPECT_EQ(game.wonSound.getStatus(), sf::SoundSource::Stopped);
    EXPECT_EQ(game.lostSound.getStatus(), sf::SoundSource::Playing);
    expectEndScreen(game.lostKeySprite);
    EXPECT_EQ(game.matchWon, 0);
}

TEST_F(Match, RotationButtonsUnderAnEndPictureChangeNothing) {
    ASSERT_TRUE(driver.insert(50, TreeSlot::Root));
    ASSERT_TRUE(driver.insert(30, TreeSlot::Left));
    ASSERT_TRUE(driver.insert(20, TreeSlot::LeftLeft));
    ASSERT_EQ(game.pendingRotation, RotationKind::SingleRight);
    // The time runs out while the question is open.
    game.matchTime = sf::seconds(kMatchSeconds);
    game.updateTimer();
    ASSERT_EQ(game.lossCause, LossCause::TimeOut);

    // Neither the right answer nor a wrong one reaches the trees or the verdict.
    driver.silenceEffects();
    driver.answerRotation(RotationKind::SingleRight);
    EXPECT_EQ(game.lossCause, LossCause::TimeOut);
    EXPECT_EQ(game.pendingRotation, RotationKind::SingleRight);
    driver.answerRotation(RotationKind::DoubleLeft);
    EXPECT_EQ(game.lossCause, LossCause::TimeOut);
    EXPECT_EQ(game.matchWon, 0);
    EXPECT_EQ(describeTree(game.playerRoot), "50(30(20,-),-)");
    EXPECT_EQ(game.lostSound.getStatus(), sf::SoundSource::Stopped);
    EXPECT_EQ(game.placeInTreeSound.getStatus(), sf::SoundSource::Stopped);
    expectEndScreen(game.lostTimeSprite);
}

TEST_F(Match, RepeatedNumberDeliveredAfterATimeOutKeepsTheTimeOut) {
    ASSERT_TRUE(driver.insert(50, TreeSlot::Root));
    ASSERT_TRUE(driver.carryFruit(50));
    driver.placeCharacter(driver.spotTouchingStalls({TreeSlot::Left}));
    driver.runFrames(1);
    driver.pressInsertButtonOf(TreeSlot::Left);
    driver.runFrames(1);
    ASSERT_TRUE(game.insertRequested);
    // The clicked frame was the last second: the delivery comes after the time-out.
    game.matchTime = sf::seconds(kMatchSeconds);
    game.updateTimer();
    ASSERT_EQ(game.lossCause, LossCause::TimeOut);
    driver.silenceEffects();
    driver.releasePointer();
    driver.runFrames(1);
    EXPECT_FALSE(game.carrying);
    EXPECT_EQ(game.lossCause, LossCause::TimeOut);
    EXPECT_EQ(game.lostSound.getStatus(), sf::SoundSource::Stopped);
    expectEndScreen(game.lostTimeSprite);
}

// The four rotations, each answered right: both trees become the balanced tree and
// the slots show it, and the character walks again.
struct RotationCase {
    const char* name;
    int32_t kind;
    int32_t fruits[3];
    int32_t slots[3];
    const char* balanced;
    std::vector<int32_t> shown;
};

class MatchRotation : public Match, public ::testing::WithParamInterface<RotationCase> {};

TEST_P(MatchRotation, RightAnswerCopiesTheBalancedTreeIntoTheSlots) {
    const RotationCase& rotation = GetParam();
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(driver.insert(rotation.fruits[i], rotation.slots[i]));
    }
    ASSERT_EQ(game.pendingRotation, rotation.kind);
    EXPECT_FALSE(game.movementEnabled);
    EXPECT_EQ(game.characterSprite.getTextureRect(), kStandingFrame);

    driver.silenceEffects();
    driver.answerRotation(rotation.kind);
    expectNoOutcome();
    EXPECT_EQ(game.placeInTreeSound.getStatus(), sf::SoundSource::Playing);
    EXPECT_EQ(game.pendingRotation, RotationKind::None);
    EXPECT_EQ(describeTree(game.balancedRoot), rotation.balanced);
    EXPECT_EQ(describeTree(game.playerRoot), rotation.balanced);
    EXPECT_EQ(shownSlots(game), rotation.shown);
    for (int32_t slot = 0; slot < kStallCount; ++slot) {
        EXPECT_EQ(game.slotFilled[slot], rotation.shown[slot] != kNoFruit) << "slot " << slot;
    }

    // Walking again: a held arrow moves the character on the next frames.
    const sf::Vector2f before = game.characterSprite.getPosition();
    {
        FakeKeyboard keys;
        keys.press(sf::Keyboard::Up);
        driver.runFrames(kFramesToWatch);
    }
    EXPECT_NE(game.characterSprite.getPosition(), before);
    expectNoOutcome();
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, MatchRotation,
    ::testing::Values(
        RotationCase{"SingleRight", RotationKind::SingleRight, {50, 30, 20},
                     {TreeSlot::Root, TreeSlot::Left, TreeSlot::LeftLeft}, "30(20,50)",
                     {30, 20, 50, -1, -1, -1, -1}},
        RotationCase{"DoubleRight", RotationKind::DoubleRight, {50, 30, 40},
                     {TreeSlot::Root, TreeSlot::Left, TreeSlot::LeftRight}, "40(30,50)",
                     {40, 30, 50, -1, -1, -1, -1}},
        RotationCase{"SingleLeft", RotationKind::SingleLeft, {50, 70, 80},
                     {TreeSlot::Root, TreeSlot::Right, TreeSlot::RightRight}, "70(50,80)",
                     {70, 50, 80, -1, -1, -1, -1}},
        RotationCase{"DoubleLeft", RotationKind::DoubleLeft, {50, 70, 60},
                     {TreeSlot::Root, TreeSlot::Right, TreeSlot::RightLeft}, "60(50,70)",
                     {60, 50, 70, -1, -1, -1, -1}}),
    [](const ::testing::TestParamInfo<RotationCase>& info) { return std::string(info.param.name); });

TEST_F(Match, MisplacedThirdFruitAnsweredRightShowsTheTrueTree) {
    ASSERT_TRUE(driver.insert(50, TreeSlot::Root));
    ASSERT_TRUE(driver.insert(30, TreeSlot::Left));
    // 20 belongs left of 30, the player puts it right of 30: the reference tree
    // still rotated, so the question is asked all the same.
    ASSERT_TRUE(driver.insert(20, TreeSlot::LeftRight));
    ASSERT_EQ(game.pendingRotation, RotationKind::SingleRight);
    expectNoOutcome();

    driver.answerRotation(RotationKind::SingleRight);
    expectNoOutcome();
    EXPECT_EQ(describeTree(game.playerRoot), "30(20,50)");
    EXPECT_EQ(shownSlots(game), (std::vector<int32_t>{30, 20, 50, -1, -1, -1, -1}));
    EXPECT_FALSE(game.slotFilled[TreeSlot::LeftRight]);
    EXPECT_TRUE(game.slotFilled[TreeSlot::Left]);

    // The freed slot is offered again and the match goes on normally.
    ASSERT_TRUE(driver.insert(25, TreeSlot::LeftRight));
    expectNoOutcome();
    EXPECT_EQ(describeTree(game.playerRoot), "30(20(-,25),50)");
}

TEST_F(Match, PlayAgainLeadsToTheMenuWithAFreshMatch) {
    ASSERT_TRUE(driver.insert(50, TreeSlot::Root));
    ASSERT_TRUE(driver.insert(30, TreeSlot::Left));
    ASSERT_TRUE(driver.insert(20, TreeSlot::LeftLeft));
    driver.answerRotation(RotationKind::SingleLeft);
    ASSERT_EQ(game.lossCause, LossCause::WrongRotation);

    driver.clickPlayAgain();
    EXPECT_EQ(game.restartRequested, 1);
    // The main loop's next turn restarts: the end screen gives way to the menu.
    game.loopTurn();

    EXPECT_TRUE(game.menuActive);
    EXPECT_FALSE(game.instructionsActive);
    EXPECT_FALSE(game.playActive);
    EXPECT_EQ(game.restartRequested, 0);
    EXPECT_EQ(game.balancedRoot, nullptr);
    EXPECT_EQ(game.playerRoot, nullptr);
    EXPECT_EQ(game.lossCause, LossCause::None);
    EXPECT_EQ(game.matchWon, 0);
    EXPECT_EQ(game.pendingRotation, RotationKind::None);
    EXPECT_EQ(game.currentSlot, TreeSlot::None);
    EXPECT_EQ(game.offeredSlot, TreeSlot::None);
    EXPECT_FALSE(game.insertRequested);
    EXPECT_FALSE(game.carrying);
    EXPECT_EQ(game.carriedFruit, kNoFruit);
    EXPECT_TRUE(game.movementEnabled);
    EXPECT_TRUE(game.matchStarting);
    EXPECT_EQ(game.shownSeconds, 0);
    EXPECT_EQ(game.frameSeconds, 0);
    EXPECT_EQ(game.walkFrame, 0);
    EXPECT_EQ(game.facing, Facing::Right);
    EXPECT_EQ(game.horizontalVelocity, sf::Vector2f(kWalkPixelsPerSecond, 0));
    EXPECT_EQ(game.verticalVelocity, sf::Vector2f(0, kWalkPixelsPerSecond));
    EXPECT_EQ(game.characterSprite.getPosition(), kCharacterStart);
    for (int32_t slot = 0; slot < kStallCount; ++slot) {
        EXPECT_FALSE(game.slotFilled[slot]) << "slot " << slot;
        EXPECT_EQ(game.slotFruit[slot], kNoFruit) << "slot " << slot;
    }
    for (int32_t lane = 0; lane < kLaneCount; ++lane) {
        EXPECT_EQ(game.laneFruit[lane], kNoFruit) << "lane " << lane;
        EXPECT_FALSE(game.laneTaken[lane]) << "lane " << lane;
        EXPECT_EQ(game.laneStartY[lane], -100 * (lane + 1)) << "lane " << lane;
    }
    for (int32_t fruit = 0; fruit < kFruitCount; ++fruit) {
        EXPECT_EQ(game.treeFruitSprites[fruit].getPosition(), kFruitParking);
        EXPECT_EQ(game.laneFruitSprites[fruit].getPosition(), kFruitParking);
    }

    // A second match through the menu plays as the first did.
    driver.startMatch();
    expectNoOutcome();
    EXPECT_EQ(game.shownSeconds, 0);
    EXPECT_EQ(game.music.getStatus(), sf::SoundSource::Playing);
    ASSERT_TRUE(driver.insert(50, TreeSlot::Root));
    ASSERT_TRUE(driver.insert(30, TreeSlot::Left));
    ASSERT_TRUE(driver.insert(70, TreeSlot::Right));
    expectNoOutcome();
    EXPECT_EQ(describeTree(game.playerRoot), "50(30,70)");
    EXPECT_EQ(describeTree(game.balancedRoot), "50(30,70)");
    EXPECT_EQ(shownSlots(game), (std::vector<int32_t>{50, 30, 70, -1, -1, -1, -1}));
}

}  // namespace
