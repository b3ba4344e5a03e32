// Photographs the game's screens for the README: the menu, the instructions, a
// match in progress, the rotation question and every end screen. Each screen is
// reached by playing, through the same driver the tests use, and the window is
// saved as it was displayed.
//
//   tools/screenshots.sh     (builds this and writes docs/screenshots/*.png)
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "support/driver.hpp"

namespace {

struct Scene {
    const char* file;
    std::vector<std::pair<int32_t, int32_t>> deliveries;  // fruit, slot
    std::function<void(Driver&)> finish;
};

// Spreads the six falling fruits down the lanes, as they are a while into a match.
void spreadLanes(Game& game) {
    for (int32_t lane = 0; lane < kLaneCount; ++lane) {
        game.laneTaken[lane] = game.carrying && lane == game.pickedLane;
        game.lanePositions[lane] = sf::Vector2f(30.f * lane + 15.f * (lane % 2), 40.f + 95.f * lane);
    }
}

const Scene kScenes[] = {
    {"menu", {}, [](Driver& d) { d.clickAt({700, 20}); }},
    {"instructions", {}, [](Driver& d) { d.click(d.game.instructionsButtonSprite); }},
    {"match", {{50, 0}, {30, 1}, {72, 2}, {18, 3}}, [](Driver& d) {
         d.carry(41);
         d.game.characterSprite.setPosition(d.spotAgainst(TreeSlot::LeftRight));
     }},
    {"rotation", {{50, 0}, {30, 1}, {20, 3}}, nullptr},
    {"won", {{50, 0}, {30, 1}, {20, 3}}, [](Driver& d) {
         d.answer(RotationKind::SingleRight);
         for (const auto& [fruit, slot] : {std::pair{10, 3}, {25, 4}, {40, 5}, {60, 6}}) d.insert(fruit, slot);
     }},
    {"lost-position", {{50, 0}, {70, 1}}, nullptr},
    {"lost-rotation", {{50, 0}, {30, 1}, {40, 4}}, [](Driver& d) { d.answer(RotationKind::SingleRight); }},
    {"lost-key", {{50, 0}, {50, 2}}, nullptr},
    {"lost-time", {{50, 0}}, [](Driver& d) {
         d.game.matchTime = sf::seconds(kMatchSeconds);
         d.game.updateTimer();
     }},
};

class Screenshot : public ::testing::TestWithParam<Scene> {};

}  // namespace

TEST_P(Screenshot, Take) {
    // The same lanes on every run, so the pictures only change when the game does.
    std::srand(2026);
    Game game;
    Driver driver(game);
    driver.open();
    const Scene& scene = GetParam();
    if (std::string(scene.file) != "menu" && std::string(scene.file) != "instructions") {
        driver.startMatch();
        for (const auto& [fruit, slot] : scene.deliveries) ASSERT_TRUE(driver.insert(fruit, slot));
    } else {
        driver.turn();
    }
    if (scene.finish) scene.finish(driver);
    if (game.playActive) {
        spreadLanes(game);
        driver.clickAt({799, 599});  // the pointer out of the way, over no button
    }
    driver.turn(2);
    const char* folder = std::getenv("JOGO_SCREENSHOT_DIR");
    const std::string path = (folder ? std::string(folder) : std::string(JOGO_SOURCE_DIR) + "/docs/screenshots") +
                             "/" + scene.file + ".png";
    ASSERT_TRUE(driver.capture().saveToFile(path)) << path;
}

INSTANTIATE_TEST_SUITE_P(Readme, Screenshot, ::testing::ValuesIn(kScenes),
                         [](const auto& info) {
                             std::string name = info.param.file;
                             name.erase(std::remove(name.begin(), name.end(), '-'), name.end());
                             return name;
                         });
