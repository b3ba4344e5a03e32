// One frame of a match on the real window: what is drawn over what, the timer, the
// background music, picking fruits from the lanes and where the insert button is
// offered. Each case plays its own match through the match driver.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/game.hpp"
#include "assets/layout.hpp"
#include "support/fake_input.hpp"
#include "support/match_driver.hpp"
#include "support/tree_check.hpp"
#include "tree/slot_layout.hpp"

namespace {

// A track this short ends within a few frames of waiting.
constexpr unsigned kShortTrackSampleRate = 8000;
constexpr float kShortTrackSeconds = 0.15f;
// Waiting for the audio thread is bounded; the checks do not depend on the time taken.
const sf::Time kLongestAudioWait = sf::seconds(5);
const sf::Time kAudioPoll = sf::milliseconds(10);

class PlayFrame : public ::testing::Test {
protected:
    void SetUp() override {
        driver.open();
        driver.startMatch();
    }

    // The whole pixels a sprite may touch.
    static sf::IntRect boundsOf(const sf::Sprite& sprite) {
        const sf::FloatRect bounds = sprite.getGlobalBounds();
        return sf::IntRect(static_cast<int>(bounds.left) - 1, static_cast<int>(bounds.top) - 1,
                           static_cast<int>(bounds.width) + 3, static_cast<int>(bounds.height) + 3);
    }

    sf::Sprite placedAt(const sf::Sprite& sprite, sf::Vector2f position) {
        sf::Sprite copy(sprite);
        copy.setPosition(position);
        return copy;
    }

    std::unique_ptr<Game> owner = std::make_unique<Game>();
    Game& game = *owner;
    MatchDriver driver{game};
};

TEST_F(PlayFrame, RotationOverlayLiesOverTheSceneAndUnderTheTreeFruitsAndTimer) {
    ASSERT_TRUE(driver.insert(50, TreeSlot::Root));
    ASSERT_TRUE(driver.insert(30, TreeSlot::Left));
    ASSERT_TRUE(driver.insert(20, TreeSlot::LeftLeft));
    ASSERT_EQ(game.pendingRotation, RotationKind::SingleRight);
    driver.runFrames(1);

    const sf::Image shot = driver.capture();
    // The four buttons are whole, on top of the warning and the scene.
    EXPECT_TRUE(MatchDriver::showsOnTop(shot, game.rotateRightButtonSprite));
    EXPECT_TRUE(MatchDriver::showsOnTop(shot, game.doubleRotateRightButtonSprite));
    EXPECT_TRUE(MatchDriver::showsOnTop(shot, game.rotateLeftButtonSprite));
    EXPECT_TRUE(MatchDriver::showsOnTop(shot, game.doubleRotateLeftButtonSprite));
    // The fruits in the slots and the timer come after the overlay.
    EXPECT_TRUE(MatchDriver::showsOnTop(shot, game.treeFruitSprites[50]));
    EXPECT_TRUE(MatchDriver::showsOnTop(shot, game.treeFruitSprites[30]));
    EXPECT_TRUE(MatchDriver::showsOnTop(shot, game.treeFruitSprites[20]));
    EXPECT_TRUE(MatchDriver::showsOnTop(shot, game.timerSprites[kMatchSeconds - game.shownSeconds]));
    // The warning itself lies over everything drawn before it (scene, stalls,
    // character, lanes, hand, insert button): its opaque pixels are what is seen,
    // except where the buttons, the slot fruits and the timer come later.
    const sf::IntRect buttonColumn(static_cast<int>(kRotationButtonPositions[0].x),
                                   static_cast<int>(kRotationButtonPositions[0].y), kButtonWidth,
                                   static_cast<int>(kRotationButtonPositions[3].y -
                                                    kRotationButtonPositions[0].y) +
                                       kButtonHeight);
    EXPECT_TRUE(MatchDriver::showsOnTop(
        shot, game.rotationWarningSprite,
        {buttonColumn, boundsOf(game.treeFruitSprites[50]), boundsOf(game.treeFruitSprites[30]),
         boundsOf(game.treeFruitSprites[20]), boundsOf(game.timerSprites[0])}));
}

TEST_F(PlayFrame, SlotFruitsAreDrawnWhereTheirSlotsAre) {
    ASSERT_TRUE(driver.insert(50, TreeSlot::Root));
    ASSERT_TRUE(driver.insert(70, TreeSlot::Right));
    driver.runFrames(1);
    EXPECT_EQ(game.treeFruitSprites[50].getPosition(), kSlotFruitPositions[TreeSlot::Root]);
    EXPECT_EQ(game.treeFruitSprites[70].getPosition(), kSlotFruitPositions[TreeSlot::Right]);
    const sf::Image shot = driver.capture();
    EXPECT_TRUE(MatchDriver::showsOnTop(shot, game.treeFruitSprites[50]));
    EXPECT_TRUE(MatchDriver::showsOnTop(shot, game.treeFruitSprites[70]));
}

TEST_F(PlayFrame, TimerShowsNinetyOnTheFirstFrame) {
    EXPECT_EQ(game.shownSeconds, 0);
    EXPECT_TRUE(MatchDriver::showsOnTop(driver.capture(), game.timerSprites[kMatchSeconds]));
}

TEST_F(PlayFrame, TimerReachingNinetyShowsZeroAndEndsByTimeOut) {
    driver.silenceEffects();
    game.window.clear();
    game.matchTime = sf::seconds(kMatchSeconds);
    game.updateTimer();
    // Read back before presenting: the timer step has drawn picture 0.
    EXPECT_TRUE(MatchDriver::showsOnTop(driver.capture(), game.timerSprites[0]));
    EXPECT_EQ(game.lossCause, LossCause::TimeOut);
    EXPECT_EQ(game.lostSound.getStatus(), sf::SoundSource::Playing);
}

TEST_F(PlayFrame, FrameThatFirstCountsPastNinetyStillEndsByTimeOut) {
    game.matchTime = sf::seconds(59);
    game.updateTimer();
    ASSERT_EQ(game.shownSeconds, 59);
    driver.silenceEffects();
    // A stall of the loop: the next reading is already well past the end.
    game.window.clear();
    game.matchTime = sf::seconds(93.7f);
    game.updateTimer();
    EXPECT_TRUE(MatchDriver::showsOnTop(driver.capture(), game.timerSprites[0]));
    EXPECT_EQ(game.lossCause, LossCause::TimeOut);
    EXPECT_EQ(game.shownSeconds, kMatchSeconds);
    EXPECT_EQ(game.lostSound.getStatus(), sf::SoundSource::Playing);

    driver.runFrames(1);
    const sf::Image shot = driver.capture();
    EXPECT_TRUE(MatchDriver::showsOnTop(shot, game.lostTimeSprite,
                                        {boundsOf(game.playAgainButtonSprite)}));
    EXPECT_TRUE(MatchDriver::showsOnTop(shot, game.playAgainButtonSprite));
}

TEST_F(PlayFrame, AbsurdClockReadingEndsByTimeOutShowingZero) {
    // Far beyond what an int of seconds holds: the count stops at ninety.
    game.window.clear();
    game.matchTime = sf::seconds(1e12f);
    game.updateTimer();
    EXPECT_EQ(game.shownSeconds, kMatchSeconds);
    EXPECT_EQ(game.lossCause, LossCause::TimeOut);
    EXPECT_TRUE(MatchDriver::showsOnTop(driver.capture(), game.timerSprites[0]));
}

TEST_F(PlayFrame, TimerFreezesAtTheSecondOfTheOutcome) {
    ASSERT_TRUE(driver.insert(50, TreeSlot::Root));
    ASSERT_TRUE(driver.insert(30, TreeSlot::Right));
    ASSERT_EQ(game.lossCause, LossCause::WrongSlot);
    const int32_t frozen = game.shownSeconds;
    ASSERT_LT(frozen, kMatchSeconds);
    // Later readings, even past ninety, move nothing and bring no time-out.
    game.window.clear();
    game.matchTime = sf::seconds(95);
    game.updateTimer();
    EXPECT_EQ(game.shownSeconds, frozen);
    EXPECT_EQ(game.lossCause, LossCause::WrongSlot);
    EXPECT_TRUE(MatchDriver::showsOnTop(driver.capture(), game.timerSprites[kMatchSeconds - frozen]));
}

// Writes a mono tone of the given length as a WAV file.
void writeShortTrack(const std::string& path, float seconds) {
    std::vector<sf::Int16> samples(static_cast<std::size_t>(seconds * kShortTrackSampleRate));
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<sf::Int16>((i / 8) % 2 == 0 ? 3000 : -3000);
    }
    sf::SoundBuffer buffer;
    ASSERT_TRUE(buffer.loadFromSamples(samples.data(), samples.size(), 1, kShortTrackSampleRate));
    ASSERT_TRUE(buffer.saveToFile(path));
}

// Waits on the audio thread until the music has played to its end.
bool waitUntilStopped(sf::Music& music) {
    sf::Clock waited;
    while (music.getStatus() != sf::SoundSource::Stopped) {
        if (waited.getElapsedTime() > kLongestAudioWait) {
            return false;
        }
        sf::sleep(kAudioPoll);
    }
    return true;
}

class PlayFrameMusic : public PlayFrame {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/jogo-music-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        const std::string track = folder + "/short.wav";
        writeShortTrack(track, kShortTrackSeconds);
        PlayFrame::SetUp();
        ASSERT_TRUE(game.music.openFromFile(track));
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    std::string folder;
};

TEST_F(PlayFrameMusic, TrackThatEndsDuringTheMatchStartsAgain) {
    driver.runFrames(1);
    ASSERT_EQ(game.music.getStatus(), sf::SoundSource::Playing);
    ASSERT_TRUE(waitUntilStopped(game.music)) << "the silent audio device never finished the track";
    driver.runFrames(1);
    EXPECT_EQ(game.music.getStatus(), sf::SoundSource::Playing);
    // It plays from its beginning again: it runs for its whole length once more.
    EXPECT_LT(game.music.getPlayingOffset(), sf::seconds(kShortTrackSeconds / 2));
    ASSERT_TRUE(waitUntilStopped(game.music));
    driver.runFrames(1);
    EXPECT_EQ(game.music.getStatus(), sf::SoundSource::Playing);
}

TEST_F(PlayFrameMusic, TrackStaysSilentAfterAnOutcome) {
    ASSERT_TRUE(driver.insert(50, TreeSlot::Root));
    ASSERT_TRUE(driver.insert(30, TreeSlot::Right));
    ASSERT_EQ(game.lossCause, LossCause::WrongSlot);
    EXPECT_EQ(game.music.getStatus(), sf::SoundSource::Stopped);
    sf::sleep(sf::seconds(kShortTrackSeconds * 2));
    driver.runFrames(3);
    EXPECT_EQ(game.music.getStatus(), sf::SoundSource::Stopped);
}

// Puts lane `lane`'s fruit over the character for the next frame.
void dropOnCharacter(Game& game, int32_t lane, sf::Vector2f offset) {
    const sf::Vector2f at = game.characterSprite.getPosition();
    game.lanePositions[lane] = sf::Vector2f(at.x + offset.x, at.y + offset.y - kFallPixelsPerFrame);
}

TEST_F(PlayFrame, PickedFruitIsCarriedAndShownInHandOnTheSameFrame) {
    driver.silenceEffects();
    ASSERT_TRUE(driver.carryFruit(42));
    EXPECT_EQ(game.pickFruitSound.getStatus(), sf::SoundSource::Playing);
    const sf::Image shot = driver.capture();
    EXPECT_TRUE(MatchDriver::showsOnTop(shot, game.carriedFruitSprites[42]));
    EXPECT_TRUE(game.laneTaken[game.pickedLane]);
    EXPECT_EQ(game.laneFruit[game.pickedLane], 42);
}

TEST_F(PlayFrame, OnlyTheFirstTouchingLaneIsPickedInAFrame) {
    driver.placeCharacter(driver.laneSpot());
    dropOnCharacter(game, 1, sf::Vector2f(2, 2));
    dropOnCharacter(game, 4, sf::Vector2f(6, 20));
    driver.runFrames(1);
    ASSERT_TRUE(game.carrying);
    EXPECT_EQ(game.pickedLane, 1);
    EXPECT_EQ(game.carriedFruit, game.laneFruit[1]);
    EXPECT_FALSE(game.laneTaken[4]);
    // The other fruit is drawn and keeps falling while the hand is full.
    const sf::Image shot = driver.capture();
    EXPECT_TRUE(MatchDriver::showsOnTop(shot, game.laneFruitSprites[game.laneFruit[4]],
                                        {boundsOf(game.carriedFruitSprites[game.carriedFruit])}));
    const float fallenTo = game.lanePositions[4].y;
    driver.runFrames(1);
    EXPECT_EQ(game.carriedFruit, game.laneFruit[1]);
    EXPECT_EQ(game.lanePositions[4].y, fallenTo + kFallPixelsPerFrame);
}

TEST_F(PlayFrame, FruitThrownIntoTheBinCannotBePickedWhileHidden) {
    ASSERT_TRUE(driver.carryFruit(42));
    const int32_t lane = game.pickedLane;
    // Walk into the bin: it takes the fruit, the lane keeps it hidden.
    const sf::FloatRect bin = game.binAreaSprite.getGlobalBounds();
    driver.placeCharacter(sf::Vector2f(bin.left + 1, bin.top + 1));
    driver.silenceEffects();
    driver.runFrames(1);
    ASSERT_FALSE(game.carrying);
    EXPECT_EQ(game.throwInBinSound.getStatus(), sf::SoundSource::Playing);
    ASSERT_TRUE(game.laneTaken[lane]);

    // The hidden fruit comes down over the empty-handed character: not picked.
    driver.placeCharacter(driver.laneSpot());
    for (int32_t other = 0; other < kLaneCount; ++other) {
        game.lanePositions[other].y = -100;
    }
    dropOnCharacter(game, lane, sf::Vector2f(4, 10));
    driver.silenceEffects();
    driver.runFrames(1);
    EXPECT_FALSE(game.carrying);
    EXPECT_EQ(game.carriedFruit, kNoFruit);
    EXPECT_EQ(game.pickFruitSound.getStatus(), sf::SoundSource::Stopped);
}

TEST_F(PlayFrame, TwoTouchedFreeStallsOfferTheHigherOne) {
    driver.placeCharacter(driver.spotTouchingStalls({TreeSlot::Root, TreeSlot::Left}));
    driver.runFrames(1);
    EXPECT_EQ(game.currentSlot, TreeSlot::Left);
    EXPECT_EQ(game.offeredSlot, TreeSlot::Left);
    EXPECT_EQ(game.insertButtonSprite.getPosition(), kInsertButtonPositions[TreeSlot::Left]);
    // Drawn beside both stalls on that frame.
    const sf::Image shot = driver.capture();
    EXPECT_TRUE(MatchDriver::showsOnTop(
        shot, placedAt(game.insertButtonSprite, kInsertButtonPositions[TreeSlot::Root])));
    EXPECT_TRUE(MatchDriver::showsOnTop(
        shot, placedAt(game.insertButtonSprite, kInsertButtonPositions[TreeSlot::Left])));

    // A click there puts the fruit into the higher slot.
    ASSERT_TRUE(driver.carryFruit(40));
    driver.placeCharacter(driver.spotTouchingStalls({TreeSlot::Root, TreeSlot::Left}));
    driver.runFrames(1);
    driver.pressInsertButtonOf(TreeSlot::Left);
    driver.runFrames(1);
    EXPECT_TRUE(game.slotFilled[TreeSlot::Left]);
    EXPECT_EQ(game.slotFruit[TreeSlot::Left], 40);
    EXPECT_FALSE(game.slotFilled[TreeSlot::Root]);
}

TEST_F(PlayFrame, FilledStallOffersNoButtonAndKeepsTheCurrentSlot) {
    ASSERT_TRUE(driver.insert(50, TreeSlot::Root));
    driver.placeCharacter(driver.spotTouchingStalls({TreeSlot::Right}));
    driver.runFrames(1);
    ASSERT_EQ(game.currentSlot, TreeSlot::Right);
    driver.placeCharacter(driver.spotTouchingStalls({TreeSlot::Root}));
    driver.runFrames(1);
    EXPECT_EQ(game.offeredSlot, TreeSlot::None);
    EXPECT_EQ(game.currentSlot, TreeSlot::Right);
}

TEST_F(PlayFrame, ClickWhereTheButtonIsNotDrawnDoesNothing) {
    ASSERT_TRUE(driver.insert(50, TreeSlot::Root));
    ASSERT_TRUE(driver.carryFruit(70));
    // Against the filled root stall: no button there now, though it stood there last.
    driver.placeCharacter(driver.spotTouchingStalls({TreeSlot::Root}));
    driver.runFrames(1);
    ASSERT_EQ(game.offeredSlot, TreeSlot::None);
    driver.silenceEffects();
    driver.pressInsertButtonOf(TreeSlot::Root);
    driver.runFrames(1);
    EXPECT_FALSE(game.insertRequested);
    EXPECT_EQ(game.placeInTreeSound.getStatus(), sf::SoundSource::Stopped);
    EXPECT_EQ(game.slotFruit[TreeSlot::Root], 50);
    driver.runFrames(1);
    EXPECT_TRUE(game.carrying);
    EXPECT_EQ(game.carriedFruit, 70);
    EXPECT_EQ(describeTree(game.playerRoot), "50");
    EXPECT_EQ(describeTree(game.balancedRoot), "50");
    EXPECT_EQ(game.lossCause, LossCause::None);
}

TEST_F(PlayFrame, ClickedSlotIsFreedWhenTheCharacterLeavesBeforeDelivery) {
    ASSERT_TRUE(driver.carryFruit(50));
    driver.placeCharacter(driver.spotTouchingStalls({TreeSlot::Root}));
    driver.runFrames(1);
    driver.pressInsertButtonOf(TreeSlot::Root);
    driver.runFrames(1);
    // Shown from the click on, before the trees have it.
    ASSERT_TRUE(game.slotFilled[TreeSlot::Root]);
    ASSERT_EQ(game.slotFruit[TreeSlot::Root], 50);
    driver.releasePointer();
    driver.placeCharacter(driver.laneSpot());
    driver.runFrames(1);
    EXPECT_FALSE(game.slotFilled[TreeSlot::Root]);
    EXPECT_EQ(game.slotFruit[TreeSlot::Root], kNoFruit);
    EXPECT_TRUE(game.carrying);
    EXPECT_EQ(game.carriedFruit, 50);
    EXPECT_EQ(game.playerRoot, nullptr);
    EXPECT_EQ(game.balancedRoot, nullptr);
    // The slot is offered again and takes the fruit normally.
    ASSERT_TRUE(driver.deliverTo(TreeSlot::Root));
    EXPECT_EQ(describeTree(game.playerRoot), "50");
    EXPECT_EQ(game.lossCause, LossCause::None);
}

TEST_F(PlayFrame, ClickedSlotIsFreedWhenTheBinTakesTheFruit) {
    ASSERT_TRUE(driver.carryFruit(50));
    driver.placeCharacter(driver.spotTouchingStalls({TreeSlot::Root}));
    driver.runFrames(1);
    driver.pressInsertButtonOf(TreeSlot::Root);
    driver.runFrames(1);
    ASSERT_TRUE(game.slotFilled[TreeSlot::Root]);
    driver.releasePointer();
    const sf::FloatRect bin = game.binAreaSprite.getGlobalBounds();
    driver.placeCharacter(sf::Vector2f(bin.left + 1, bin.top + 1));
    driver.runFrames(1);
    EXPECT_FALSE(game.carrying);
    EXPECT_FALSE(game.slotFilled[TreeSlot::Root]);
    EXPECT_EQ(game.slotFruit[TreeSlot::Root], kNoFruit);
    EXPECT_EQ(game.playerRoot, nullptr);
    // Seven slots can no longer be shown with fewer fruits in the player's tree.
    EXPECT_EQ(game.lossCause, LossCause::None);
    EXPECT_EQ(game.matchWon, 0);
}

}  // namespace
