// The one way the tests drive the game. `Seat` is a person at the virtual
// display (XTest keys and pointer, screen captures, pictures sampled from the
// files); `Driver` plays the real Game through the main loop's own turn, puts the
// character where a player would have walked it, clicks the sprites the game
// draws, and checks the match's invariants after every play frame.
//
//   Game game;
//   Driver driver(game);
//   driver.open();                          // window, pictures and sounds
//   driver.startMatch();                    // the menu's play button
//   ASSERT_TRUE(driver.insert(50, TreeSlot::Root));
//   driver.click(game.rotateRightButtonSprite);
#pragma once

#include <gtest/gtest.h>

#include <SFML/Graphics.hpp>

#include <cstdint>
#include <string>

#include "app/game.hpp"

class Seat {
public:
    Seat();
    ~Seat();  // releases every key it still holds
    Seat(const Seat&) = delete;
    Seat& operator=(const Seat&) = delete;

    // A key pressed or released through XTest: real key state and key events.
    void key(sf::Keyboard::Key key, bool down);
    void hold(sf::Keyboard::Key key) { this->key(key, true); }
    void release(sf::Keyboard::Key key) { this->key(key, false); }
    void tap(sf::Keyboard::Key key);
    // The pointer moved through XTest to a screen point; sends motion events.
    void point(sf::Vector2i screen);
    void button(bool down);
    // Waits until the X server has handled everything sent so far.
    void sync();

    // The top-left corner of the viewable window titled "Jogo"; false when none.
    bool findGame(sf::Vector2i& corner);
    // The part of the screen at `area` (screen coordinates).
    sf::Image grab(sf::IntRect area);

    struct _XDisplay* display;

private:
    bool held[sf::Keyboard::KeyCount] = {};
};

// The game program itself, started in `folder` as a player would start it.
class RunningBinary {
public:
    RunningBinary(const std::string& binary, const std::string& folder);
    ~RunningBinary();  // kills it if it still runs
    // Waits (up to 20 s) for its window; false if it never showed or the program ended.
    bool waitForWindow(Seat& seat);
    // Waits up to `seconds` for the program to end; its exit status, or -1.
    int waitForExit(float seconds);
    bool running();

    sf::Vector2i corner;

private:
    int pid = -1;
};

// True when a dozen opaque pixels spread over `sprite`, drawn where it stands
// (shifted by `offset`), show unchanged in `shot`: it was drawn, nothing covers it.
::testing::AssertionResult shows(const sf::Image& shot, const sf::Sprite& sprite,
                                 sf::Vector2f offset = {0, 0});

class Driver {
public:
    explicit Driver(Game& game);

    // Opens the window as the program does, loads every picture and sound when
    // asked, and lifts the frame limit and the menus' pause so tests run fast.
    void open(bool loadAssets = true);
    // Turns of the main loop; every play frame is followed by checkFrame().
    void turn(int count = 1);
    // Points at the centre of what `sprite` covers, buffers a left press there and
    // runs one turn; the release is left in the buffer afterwards.
    void click(const sf::Sprite& sprite);
    void clickAt(sf::Vector2i point);
    // Reads every pending window event, keeping the buffered one.
    void drain();

    // Clicks the menu's play button and runs the match's first frame.
    void startMatch();
    // Lets lane fruit `fruit` fall onto the character in the lanes: true once carried.
    bool carry(int32_t fruit);
    // Stands the character against stall `slot` and clicks the insert button drawn
    // beside it: true when the fruit left the hand.
    bool deliverTo(int32_t slot);
    bool insert(int32_t fruit, int32_t slot) { return carry(fruit) && deliverTo(slot); }
    // Clicks the rotation button that names `kind`.
    void answer(int32_t kind);
    // A place where the character touches exactly stall `slot` (its picture, not
    // its solid area), nothing else, and a player can stand.
    sf::Vector2f spotAgainst(int32_t slot);

    // What the window shows after the last frame.
    sf::Image capture();

    // The rules that hold after every play frame: the reference tree is a balanced
    // search tree, the player's tree and the slots agree with it between moves,
    // the falling numbers differ, the character stays in the market and out of
    // every solid area, and an outcome once reached never changes.
    ::testing::AssertionResult checkFrame();
    bool checking = true;
    // Frames checked so far (for tests that assert how much they saw).
    int64_t framesChecked = 0;

    Game& game;
    Seat seat;

private:
    int32_t seenLoss = LossCause::None;
    int32_t seenWon = 0;
};
