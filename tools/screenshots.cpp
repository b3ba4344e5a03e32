// Photographs the game's screens for the README: the menu and the instructions,
// each also with the big market chosen and on its page, a match in progress, the
// rotation question, the stall fruits halfway through a rotation and every end
// screen with its answer, and a practice (its badges, a corrected mistake, the
// finished card), in Portuguese; the menu (also with the big market), the big
// market's instructions, a match, an end screen and the practice in English (en/).
// Each screen is reached by playing, through the same driver the tests use, and the
// window is saved as it was displayed.
//
//   tools/screenshots.sh     (builds this and writes docs/screenshots/*.png)
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
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
    bool practice = false;  // started with P, the balance factors shown with H
    bool big = false;       // in the market of fifteen stalls
};

// The big market's worked example: 50, 30, 70, 20, 40, then 10 unbalances the root.
const std::vector<std::pair<int32_t, int32_t>> kBigExample = {{50, 0}, {30, 1}, {70, 2}, {20, 3}, {40, 4}, {10, 7}};

// Climbs from 10 to the root with Up and answers with Enter.
void answerWhere(Driver& d) {
    d.press(sf::Keyboard::Up);
    d.press(sf::Keyboard::Up);
    d.press(sf::Keyboard::Up);
    d.press(sf::Keyboard::Enter);
}

// Points at the stall of 30, which is not the lowest out of balance.
void pointWrongWhere(Driver& d) {
    const Box& stall = d.game.match.market->stalls[TreeSlot::Left];
    d.clickAt({static_cast<int32_t>(stall.left + 20), static_cast<int32_t>(stall.top + 30)});
}

// A big market well on its way, a fruit in hand by a fourth-level stall.
void bigMatch(Driver& d) {
    d.carry(57);
    d.game.match.character = d.spotAgainst(11);
}

// Spreads the six falling fruits down the lanes, as they are a while into a match.
void spreadLanes(Game& game) {
    for (int32_t lane = 0; lane < static_cast<int32_t>(game.match.lanes.size()); ++lane) {
        Lane& it = game.match.lanes[lane];
        it.taken = game.match.carried != kNoFruit && lane == game.match.pickedLane;
        it.position = {30.f * lane + 15.f * (lane % 2), 40.f + 95.f * lane};
    }
}

// A won match is over in a moment here; the card is shown as after a match of
// `seconds` with `stored` as the best time before it, kept in a scratch folder.
void winAfter(Driver& d, float seconds, const char* stored) {
    const std::filesystem::path data = std::filesystem::temp_directory_path() / "jogo-screenshots";
    std::filesystem::create_directories(data / "jogo");
    setenv("XDG_DATA_HOME", data.c_str(), 1);
    d.answer(RotationKind::SingleRight);
    for (const auto& [fruit, slot] : {std::pair{10, 3}, {25, 4}, {40, 5}, {60, 6}}) d.insert(fruit, slot);
    std::ofstream(data / "jogo" / "best-time") << stored;
    d.game.match.wonSeconds = static_cast<int32_t>(seconds);
    d.game.keepBestTime();
    std::filesystem::remove_all(data);
}

// The menu with the pointer away from its buttons.
void pointAway(Driver& d) { d.clickAt({700, 20}); }

// A practice finished after one wrong stall taken back, as if it took 73 seconds.
void completePractice(Driver& d) {
    d.press(sf::Keyboard::Enter, 2);
    d.deliverTo(TreeSlot::LeftLeft);
    d.answer(RotationKind::SingleRight);
    while (d.game.match.phase == Phase::StallsMoving) d.turn();
    for (const auto& [fruit, slot] : {std::pair{10, 3}, {25, 4}, {40, 5}, {60, 6}}) d.insert(fruit, slot);
    d.game.match.wonSeconds = 73;
}

// The results of a class's week: a history written here, every third match in the big market, and both
// markets' records, then R on the menu.
void results(Driver& d) {
    const std::filesystem::path data = std::filesystem::temp_directory_path() / "jogo-screenshots";
    std::filesystem::create_directories(data / "jogo");
    setenv("XDG_DATA_HOME", data.c_str(), 1);
    std::ofstream(data / "jogo" / "best-time") << "41\n";
    std::ofstream(data / "jogo" / "best-time-15") << "127\n";
    std::ofstream history(data / "jogo" / "history.csv");
    history << "time,match,mode,event,fruit,chosen,expected,correct,seconds\n";
    const char* kinds[] = {"single-right", "double-right", "single-left", "double-left"};
    const char* endings[] = {"won,,,,1", "stall,20,LR,LL,0", "stall,10,RR,bin,0", "repeat,30,RL,,0",
                             "timeout,,5,7,0"};
    for (int match = 0; match < 24; ++match) {
        const std::string start = "2026-12-0" + std::to_string(1 + match / 6) + "T1" + std::to_string(match % 6) +
                                  ":00:00-03:00";
        const bool big = match % 3 == 2;
        const std::string mode = (match % 5 == 4 ? "practice" : "match") + std::string(big ? "15" : "");
        const auto line = [&](const std::string& rest) {
            history << start << "," << start << "," << mode << "," << rest << ",30.0\n";
        };
        for (int stall = 0; stall < 5; ++stall) line("stall,50,root,root,1");
        if (big) line(match % 4 == 1 ? "balance,20,L,R,0" : "balance,20,R,R,1");
        if (big && match % 4 == 1 && mode == "match15") continue;
        const bool named = match % 7 != 1;
        line(std::string("rotation,20,") + kinds[named ? match % 4 : 3 - match % 4] + "," + kinds[match % 4] + "," +
             (named ? "1" : "0"));
        const bool won = match % 3 == 0 || match % 6 == 2;
        if (named) line(mode[0] == 'p' ? "complete,,,,1" : endings[won ? 0 : 1 + match % 4]);
    }
    history.close();
    d.press(sf::Keyboard::R, 2);
    std::filesystem::remove_all(data);
}

void match(Driver& d) {
    d.carry(41);
    d.game.match.character = d.spotAgainst(TreeSlot::LeftRight);
}

// The big market chosen with Tab, and the instructions' second page, about it.
void chooseBigMarket(Driver& d) {
    d.press(sf::Keyboard::Tab);
    pointAway(d);
}
void instructionsPageTwo(Driver& d) {
    d.click(d.game.pictures.instructionsButtonSprite);
    d.press(sf::Keyboard::Right);
}

const Scene kScenes[] = {
    {"menu", {}, pointAway},
    {"menu-big-market", {}, chooseBigMarket},
    {"instructions", {}, [](Driver& d) { d.click(d.game.pictures.instructionsButtonSprite); }},
    {"instructions-big-market", {}, instructionsPageTwo},
    {"match", {{50, 0}, {30, 1}, {72, 2}, {18, 3}}, match},
    {"rotation", {{50, 0}, {30, 1}, {20, 3}}, nullptr},
    {"rotation-halfway", {{50, 0}, {30, 1}, {20, 3}}, [](Driver& d) {
         d.answer(RotationKind::SingleRight);
         while (d.game.match.phase == Phase::StallsMoving &&
                d.game.match.animationSeconds < kStallAnimationSeconds * 0.45f) {
             d.turn();
         }
     }},
    {"won", {{50, 0}, {30, 1}, {20, 3}}, [](Driver& d) { winAfter(d, 47.4f, "38\n"); }},
    {"won-new-record", {{50, 0}, {30, 1}, {20, 3}}, [](Driver& d) { winAfter(d, 47.4f, "52\n"); }},
    {"lost-position", {{50, 0}, {30, 1}, {20, 4}}, nullptr},
    {"lost-position-bin", {{50, 0}, {30, 1}, {70, 2}, {20, 3}, {40, 4}, {60, 5}, {10, 6}}, nullptr},
    {"lost-rotation", {{50, 0}, {30, 1}, {40, 4}}, [](Driver& d) { d.answer(RotationKind::SingleRight); }},
    {"lost-key", {{50, 0}, {30, 1}, {70, 2}, {30, 4}}, nullptr},
    {"lost-stuck", {{50, 0}, {49, 1}}, nullptr},
    {"lost-time", {{50, 0}, {30, 1}, {70, 2}}, [](Driver& d) {
         d.game.match.seconds = kMatchSeconds;
         d.turn();
     }},
    {"results", {}, results},
    {"practice-badges", {{50, 0}, {30, 1}, {20, 3}}, nullptr, true},
    {"practice-wrong-stall", {{50, 0}, {30, 1}, {20, 4}}, nullptr, true},
    {"practice-complete", {{50, 0}, {30, 1}, {20, 4}}, completePractice, true},
    // The game's own language is asked for by name above, whatever the session's
    // locale; a scene under en/ is taken in English.
    {"en/menu", {}, pointAway},
    {"en/menu-big-market", {}, chooseBigMarket},
    {"en/instructions-big-market", {}, instructionsPageTwo},
    {"en/match", {{50, 0}, {30, 1}, {72, 2}, {18, 3}}, match},
    {"en/lost-rotation", {{50, 0}, {30, 1}, {40, 4}}, [](Driver& d) { d.answer(RotationKind::SingleRight); }},
    {"en/lost-stuck", {{50, 0}, {49, 1}}, nullptr},
    {"en/results", {}, results},
    {"en/practice-badges", {{50, 0}, {30, 1}, {20, 3}}, nullptr, true},
    {"en/practice-wrong-stall", {{50, 0}, {30, 1}, {20, 4}}, nullptr, true},
    {"en/practice-complete", {{50, 0}, {30, 1}, {20, 4}}, completePractice, true},
    {"big-match", {{50, 0}, {30, 1}, {75, 2}, {20, 3}, {40, 4}, {60, 5}, {90, 6}, {10, 7}, {45, 10}, {80, 13}},
     bigMatch, false, true},
    {"big-where", kBigExample, [](Driver& d) { d.press(sf::Keyboard::Up); }, false, true},
    {"big-rotation", kBigExample, answerWhere, false, true},
    {"big-rotation-halfway", kBigExample, [](Driver& d) {
         answerWhere(d);
         d.answer(RotationKind::SingleRight);
         while (d.game.match.phase == Phase::StallsMoving &&
                d.game.match.animationSeconds < kStallAnimationSeconds * 0.45f) {
             d.turn();
         }
     }, false, true},
    {"big-lost-where", kBigExample, pointWrongWhere, false, true},
    {"big-lost-position-bin", {{50, 0}, {30, 1}, {70, 2}, {20, 3}, {40, 4}, {60, 5}, {80, 6}, {10, 7}, {5, 8}},
     nullptr, false, true},
    {"big-practice-badges", kBigExample, nullptr, true, true},
    {"en/big-where", kBigExample, [](Driver& d) { d.press(sf::Keyboard::Up); }, false, true},
    {"en/big-lost-where", kBigExample, pointWrongWhere, false, true},
    {"en/big-practice-wrong-where", kBigExample, pointWrongWhere, true, true},
};

class Screenshot : public ::testing::TestWithParam<Scene> {};

}  // namespace

TEST_P(Screenshot, Take) {
    // The same lanes on every run, so the pictures only change when the game does.
    std::srand(2026);
    const Scene& scene = GetParam();
    const std::string file = scene.file;
    const bool english = file.rfind("en/", 0) == 0;
    setenv("LANGUAGE", english ? "en" : "pt", 1);
    Game game;
    Driver driver(game);
    driver.open();
    if (scene.big) {
        game.chooseMarket(TreeSlot::FourLevelCount);
    }
    if (scene.practice) {
        driver.turn();
        driver.press(sf::Keyboard::P, 2);
        driver.press(sf::Keyboard::H);
        for (const auto& [fruit, slot] : scene.deliveries) ASSERT_TRUE(driver.insert(fruit, slot));
    } else if (const std::string name = file.substr(english ? 3 : 0);
               name.rfind("menu", 0) != 0 && name.rfind("instructions", 0) != 0 && name != "results") {
        driver.startMatch();
        for (const auto& [fruit, slot] : scene.deliveries) ASSERT_TRUE(driver.insert(fruit, slot));
    } else {
        driver.turn();
    }
    if (scene.finish) scene.finish(driver);
    if ((game.screen == GameScreen::Match)) {
        spreadLanes(game);
        driver.clickAt({799, 599});  // the pointer out of the way, over no button
    }
    driver.turn(2);
    const char* folder = std::getenv("JOGO_SCREENSHOT_DIR");
    const std::filesystem::path path =
        (folder ? std::string(folder) : std::string(JOGO_SOURCE_DIR) + "/docs/screenshots") + "/" + file + ".png";
    std::filesystem::create_directories(path.parent_path());
    ASSERT_TRUE(driver.capture().saveToFile(path.string())) << path;
}

INSTANTIATE_TEST_SUITE_P(Readme, Screenshot, ::testing::ValuesIn(kScenes),
                         [](const auto& info) {
                             std::string name = info.param.file;
                             name.erase(std::remove_if(name.begin(), name.end(), [](char c) { return !std::isalnum(c); }),
                                        name.end());
                             return name;
                         });
