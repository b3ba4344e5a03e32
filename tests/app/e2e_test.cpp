// The game program itself on the display, driven as a person would: the menu,
// a match, a walk, Escape; and a start in a folder of no pictures or of broken ones.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "assets/layout.hpp"
#include "support/driver.hpp"

namespace fs = std::filesystem;

namespace {

// The part of picture `name` at `area`, placed where the window shows it.
sf::Sprite pictureAt(sf::Texture& texture, const std::string& name, sf::IntRect area) {
    EXPECT_TRUE(texture.loadFromFile(std::string(JOGO_SOURCE_DIR) + "/Imagens/" + name));
    sf::Sprite sprite(texture, area);
    sprite.setPosition(area.left, area.top);
    return sprite;
}

// Waits up to 10 s for the window to show `sprite`.
::testing::AssertionResult waitToShow(Seat& seat, RunningBinary& game, const sf::Sprite& sprite) {
    ::testing::AssertionResult last = ::testing::AssertionFailure() << "nothing grabbed";
    for (sf::Clock clock; clock.getElapsedTime() < sf::seconds(10); sf::sleep(sf::milliseconds(50))) {
        last = shows(seat.grab(sf::IntRect(game.corner.x, game.corner.y, 800, 600)), sprite);
        if (last) break;
    }
    return last;
}

sf::Vector2i centreOfMenuButton(const RunningBinary& game, int index) {
    return game.corner + sf::Vector2i(static_cast<int>(kMenuButtonPositions[index].x) + kButtonWidth / 2,
                                      static_cast<int>(kMenuButtonPositions[index].y) + kButtonHeight / 2);
}

void click(Seat& seat, sf::Vector2i at) {
    seat.point(at);
    sf::sleep(sf::milliseconds(150));
    seat.button(true);
    sf::sleep(sf::milliseconds(150));
    seat.button(false);
}

// Clicks play and quits with Escape: with whatever pictures there are, the
// program neither crashes nor hangs and ends with status 0.
void playAndEscape(const std::string& folder) {
    Seat seat;
    RunningBinary game(JOGO_BINARY, folder);
    ASSERT_TRUE(game.waitForWindow(seat));
    click(seat, centreOfMenuButton(game, 0));
    sf::sleep(sf::milliseconds(500));
    ASSERT_TRUE(game.running()) << "the game ended on its own";
    seat.tap(sf::Keyboard::Escape);
    EXPECT_EQ(game.waitForExit(10), 0);
}

}  // namespace

TEST(EndToEnd, MenuPlayWalkAndEscapeEndWithStatusZero) {
    Seat seat;
    RunningBinary game(JOGO_BINARY, JOGO_SOURCE_DIR);
    ASSERT_TRUE(game.waitForWindow(seat));
    sf::Texture button, scene;
    sf::Sprite play = pictureAt(button, "BotaoJogar.png", {0, 0, kButtonWidth, kButtonHeight});
    play.setPosition(kMenuButtonPositions[0]);
    EXPECT_TRUE(waitToShow(seat, game, play));
    click(seat, centreOfMenuButton(game, 0));
    // The market's top right, where only the scene itself is drawn.
    EXPECT_TRUE(waitToShow(seat, game, pictureAt(scene, "TelaJogo.png", {560, 0, 240, 100})));
    const sf::IntRect start(game.corner.x + static_cast<int>(kCharacterStart.x), game.corner.y + static_cast<int>(kCharacterStart.y), 40, 50);
    const sf::Image before = seat.grab(start);
    seat.hold(sf::Keyboard::Right);
    sf::sleep(sf::milliseconds(600));
    seat.release(sf::Keyboard::Right);
    const sf::Image after = seat.grab(start);
    int changed = 0;
    for (unsigned y = 0; y < 50; ++y)
        for (unsigned x = 0; x < 40; ++x) changed += before.getPixel(x, y) != after.getPixel(x, y);
    EXPECT_GT(changed, 200) << "the character did not walk away from where it started";
    seat.tap(sf::Keyboard::Escape);
    EXPECT_EQ(game.waitForExit(10), 0);
}

TEST(EndToEnd, StartsAndEndsCleanlyInAFolderWithoutPicturesOrSounds) {
    const fs::path folder = fs::path(::testing::TempDir()) / "jogo-empty";
    fs::create_directories(folder);
    playAndEscape(folder);
}

TEST(EndToEnd, StartsAndEndsCleanlyWithEveryPictureAndSoundBroken) {
    const fs::path folder = fs::path(::testing::TempDir()) / "jogo-corrupt";
    for (const char* kind : {"Imagens", "Sons"}) {
        fs::create_directories(folder / kind);
        for (const auto& file : fs::directory_iterator(fs::path(JOGO_SOURCE_DIR) / kind)) {
            // The first bytes kept, so each file still claims its format.
            std::ifstream in(file.path(), std::ios::binary);
            std::string head(24, '\0');
            in.read(head.data(), 24);
            std::ofstream(folder / kind / file.path().filename(), std::ios::binary) << head << "broken";
        }
    }
    playAndEscape(folder);
}
