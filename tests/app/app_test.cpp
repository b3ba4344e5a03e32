// The shell around a match: the buttons' three frames, the screen changes of the
// menu, and every way out (Escape, a close request, the quit button) freeing
// both trees from whichever screen it comes.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#undef None
#undef Status
#undef Bool

#include <cstdlib>
#include <functional>
#include <string>

#include "support/driver.hpp"
#include "support/tree_check.hpp"

namespace {

class Shell : public ::testing::Test {
protected:
    void SetUp() override {
        std::srand(3);
        driver.open();
        driver.turn();
    }
    // Asks the window to close the way a desktop does.
    void requestClose() {
        Display* display = driver.seat.display;
        XEvent message{};
        message.xclient.type = ClientMessage;
        message.xclient.window = game.window.getSystemHandle();
        message.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
        message.xclient.format = 32;
        message.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
        XSendEvent(display, message.xclient.window, False, NoEventMask, &message);
        driver.seat.sync();
    }
    // Keyboard focus follows the pointer on a display without a window manager.
    void pointIntoTheWindow() {
        const sf::Vector2i corner = game.window.getPosition();
        driver.seat.point(corner + sf::Vector2i(700, 560));
    }
    Game game;
    Driver driver{game};
};

struct Exit {
    const char* name;
    std::function<void(Driver&)> reach;
};

class Exits : public Shell, public ::testing::WithParamInterface<std::tuple<Exit, bool>> {};

}  // namespace

TEST_F(Shell, ButtonShowsRestHoverAndPressedFramesFromTheLastEvent) {
    sf::Sprite& play = game.playButtonSprite;
    const sf::FloatRect box = play.getGlobalBounds();
    const int middle = static_cast<int>(box.top + box.height / 2);
    const sf::Vector2i centre(static_cast<int>(box.left + box.width / 2), middle);
    // The frame after `type` happened at `at`, the pointer there too.
    auto frameAfter = [&](sf::Event::EventType type, sf::Vector2i at, sf::Mouse::Button button = sf::Mouse::Left) {
        sf::Mouse::setPosition(at, game.window);
        while (sf::Mouse::getPosition(game.window) != at) sf::sleep(sf::milliseconds(2));
        driver.drain();
        game.event.type = type;
        game.event.mouseButton = {button, at.x, at.y};  // a move reads the same x and y
        if (type == sf::Event::MouseMoved) game.event.mouseMove = {at.x, at.y};
        game.updateButton(play);
        return play.getTextureRect();
    };
    const sf::IntRect rest = frameAfter(sf::Event::GainedFocus, centre);
    const sf::IntRect hover = frameAfter(sf::Event::MouseMoved, centre);
    const sf::IntRect pressed = frameAfter(sf::Event::MouseButtonPressed, centre);
    EXPECT_TRUE(rest != hover && hover != pressed && rest != pressed);
    EXPECT_EQ(frameAfter(sf::Event::MouseButtonReleased, centre), hover);
    EXPECT_EQ(frameAfter(sf::Event::MouseButtonPressed, centre, sf::Mouse::Right), rest);
    // The edges are outside.
    EXPECT_EQ(frameAfter(sf::Event::MouseMoved, {static_cast<int>(box.left + box.width), middle}), rest);
    EXPECT_EQ(frameAfter(sf::Event::MouseButtonPressed, {static_cast<int>(box.left), middle}), rest);
}

TEST_F(Shell, MenuLeadsToTheInstructionsBackAndIntoAMatch) {
    EXPECT_TRUE(shows(driver.capture(), game.quitButtonSprite));
    driver.click(game.instructionsButtonSprite);
    EXPECT_TRUE(game.instructionsActive);
    EXPECT_FALSE(game.menuActive);
    driver.turn();
    EXPECT_TRUE(shows(driver.capture(), game.backButtonSprite));
    driver.turn(3);  // nothing clicked: the instructions stay
    EXPECT_TRUE(game.instructionsActive);
    driver.click(game.backButtonSprite);
    EXPECT_TRUE(game.menuActive);
    driver.turn();
    driver.click(game.playButtonSprite);
    EXPECT_TRUE(game.playActive);
    EXPECT_FALSE(game.menuActive);
    driver.turn();
    EXPECT_TRUE(shows(driver.capture(), game.timerSprites[kMatchSeconds]));
}

TEST_P(Exits, FreeBothTreesAndCloseTheWindowFromEveryScreen) {
    const Exit& exit = std::get<0>(GetParam());
    exit.reach(driver);
    ASSERT_TRUE(game.window.isOpen());
    if (std::get<1>(GetParam())) {
        pointIntoTheWindow();
        driver.seat.tap(sf::Keyboard::Escape);
    } else {
        requestClose();
    }
    // Whatever X delivered is read by the window's own connection before the turn.
    sf::Mouse::getPosition(game.window);
    game.loopTurn();
    EXPECT_FALSE(game.window.isOpen());
    EXPECT_EQ(game.balancedRoot, nullptr);
    EXPECT_EQ(game.playerRoot, nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Shell, Exits,
    ::testing::Combine(
        ::testing::Values(Exit{"Menu", [](Driver&) {}},
                          Exit{"Instructions", [](Driver& d) { d.click(d.game.instructionsButtonSprite); }},
                          Exit{"Match", [](Driver& d) {
                                   d.startMatch();
                                   d.insert(50, 0);
                                   d.insert(30, 1);
                               }},
                          Exit{"RotationQuestion", [](Driver& d) {
                                   d.startMatch();
                                   d.insert(50, 0);
                                   d.insert(30, 1);
                                   d.insert(20, 3);
                               }},
                          Exit{"EndScreen", [](Driver& d) {
                                   d.startMatch();
                                   d.insert(50, 0);
                                   d.insert(60, 1);
                                   d.turn();
                               }}),
        ::testing::Bool()),
    [](const auto& info) {
        return std::string(std::get<0>(info.param).name) + (std::get<1>(info.param) ? "Escape" : "CloseRequest");
    });

TEST_F(Shell, QuitButtonClosesTheWindow) {
    driver.click(game.quitButtonSprite);
    EXPECT_FALSE(game.window.isOpen());
    EXPECT_EQ(game.balancedRoot, nullptr);
}

TEST_F(Shell, EventsQueuedTogetherAreAllReadInOneTurn) {
    driver.startMatch();
    ASSERT_TRUE(driver.insert(50, 0));
    // A pointer move and Escape behind it, both waiting before the same turn.
    pointIntoTheWindow();
    driver.seat.tap(sf::Keyboard::Escape);
    sf::Mouse::getPosition(game.window);
    game.loopTurn();
    EXPECT_FALSE(game.window.isOpen());
    EXPECT_EQ(game.balancedRoot, nullptr);
}
