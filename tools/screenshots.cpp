// Photographs the game's screens for the README: the menu, the instructions, a
// match in progress, the rotation question and every end screen. Each screen is
// reached by playing, through the same match driver the tests use, and the window
// is saved as it was displayed.
//
//   tools/screenshots.sh     (builds this and writes docs/screenshots/*.png)
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/fake_input.hpp"
#include "support/match_driver.hpp"

namespace {

std::string outputFolder() {
    const char* folder = std::getenv("JOGO_SCREENSHOT_DIR");
    return folder != nullptr ? folder : std::string(JOGO_SOURCE_DIR) + "/docs/screenshots";
}

class Screenshot : public ::testing::Test {
protected:
    void SetUp() override {
        // The same lanes on every run, so the pictures only change when the game does.
        std::srand(2026);
        driver.open();
    }

    void save(const std::string& name) {
        const std::string path = outputFolder() + "/" + name + ".png";
        ASSERT_TRUE(driver.capture().saveToFile(path)) << path;
    }

    // Spreads the six falling fruits down the lanes, as they are a while into a match.
    void spreadLanes() {
        for (int32_t lane = 0; lane < kLaneCount; ++lane) {
            game.laneTaken[lane] = game.carrying && lane == game.pickedLane;
            game.lanePositions[lane] = sf::Vector2f(30.f * lane + 15.f * (lane % 2), 40.f + 95.f * lane);
        }
    }

    // Runs the menu screen once with no pause after it.
    void menuFrame() {
        game.frameDelay = sf::Time::Zero;
        game.showMenu();
    }

    Game game;
    MatchDriver driver{game};
};

TEST_F(Screenshot, Menu) {
    movePointer(game, 120, 125);
    bufferMouseMove(game, 120, 125);
    menuFrame();
    save("menu");
}

TEST_F(Screenshot, Instructions) {
    game.menuActive = false;
    game.instructionsActive = true;
    game.frameDelay = sf::Time::Zero;
    movePointer(game, 700, 20);
    bufferMouseMove(game, 700, 20);
    game.showInstructions();
    save("instructions");
}

TEST_F(Screenshot, MatchInProgress) {
    driver.startMatch();
    ASSERT_TRUE(driver.insert(50, TreeSlot::Root));
    ASSERT_TRUE(driver.insert(30, TreeSlot::Left));
    ASSERT_TRUE(driver.insert(72, TreeSlot::Right));
    ASSERT_TRUE(driver.insert(18, TreeSlot::LeftLeft));
    ASSERT_TRUE(driver.carryFruit(41));
    driver.placeCharacter(driver.spotTouchingStalls({TreeSlot::LeftRight}));
    driver.releasePointer();
    spreadLanes();
    driver.runFrames(2);
    save("match");
}

TEST_F(Screenshot, RotationQuestion) {
    driver.startMatch();
    ASSERT_TRUE(driver.insert(50, TreeSlot::Root));
    ASSERT_TRUE(driver.insert(30, TreeSlot::Left));
    ASSERT_TRUE(driver.insert(20, TreeSlot::LeftLeft));
    driver.releasePointer();
    spreadLanes();
    driver.runFrames(2);
    ASSERT_NE(game.pendingRotation, RotationKind::None);
    save("rotation");
}

TEST_F(Screenshot, Won) {
    driver.startMatch();
    ASSERT_TRUE(driver.insert(50, TreeSlot::Root));
    ASSERT_TRUE(driver.insert(30, TreeSlot::Left));
    ASSERT_TRUE(driver.insert(20, TreeSlot::LeftLeft));
    driver.answerRotation(RotationKind::SingleRight);
    for (const auto& [fruit, slot] : {std::pair{10, TreeSlot::LeftLeft}, {25, TreeSlot::LeftRight},
                                      {40, TreeSlot::RightLeft}, {60, TreeSlot::RightRight}}) {
        ASSERT_TRUE(driver.insert(fruit, slot));
    }
    driver.runFrames(5);
    ASSERT_EQ(game.matchWon, 1);
    save("won");
}

TEST_F(Screenshot, LostByWrongSlot) {
    driver.startMatch();
    ASSERT_TRUE(driver.insert(50, TreeSlot::Root));
    ASSERT_TRUE(driver.insert(70, TreeSlot::Left));
    driver.runFrames(5);
    ASSERT_EQ(game.lossCause, LossCause::WrongSlot);
    save("lost-position");
}

TEST_F(Screenshot, LostByWrongRotation) {
    driver.startMatch();
    ASSERT_TRUE(driver.insert(50, TreeSlot::Root));
    ASSERT_TRUE(driver.insert(30, TreeSlot::Left));
    ASSERT_TRUE(driver.insert(40, TreeSlot::LeftRight));
    driver.answerRotation(RotationKind::SingleRight);
    driver.runFrames(5);
    ASSERT_EQ(game.lossCause, LossCause::WrongRotation);
    save("lost-rotation");
}

TEST_F(Screenshot, LostByRepeatedNumber) {
    driver.startMatch();
    ASSERT_TRUE(driver.insert(50, TreeSlot::Root));
    ASSERT_TRUE(driver.insert(50, TreeSlot::Right));
    driver.runFrames(5);
    ASSERT_EQ(game.lossCause, LossCause::RepeatedKey);
    save("lost-key");
}

TEST_F(Screenshot, LostByTimeOut) {
    driver.startMatch();
    ASSERT_TRUE(driver.insert(50, TreeSlot::Root));
    game.matchTime = sf::seconds(kMatchSeconds);
    game.updateTimer();
    driver.runFrames(5);
    ASSERT_EQ(game.lossCause, LossCause::TimeOut);
    save("lost-time");
}

}  // namespace
