// The one way the tests drive the game. `Seat` is a person at the virtual display (XTest keys and pointer, the
// screen); `Driver` plays the real Game through the main loop's own turn, stands the character where a player would
// have walked it, clicks the sprites the game draws, and checks what the game makes of every step of the match:
// `Driver d(game); d.open(); d.startMatch(); d.insert(50, TreeSlot::Root);`
#pragma once

#include <gtest/gtest.h>
#include <SFML/Graphics.hpp>
#include <cstdint>
#include <cstdlib>
#include "app/game.hpp"
#include "support/data_home.hpp"

class Seat {
public:
    Seat();
    ~Seat();  // lets go of every key
    Seat(const Seat&) = delete;
    // Real key state and key events, for whichever window has the focus.
    void key(sf::Keyboard::Key key, bool down);
    void hold(sf::Keyboard::Key key) { this->key(key, true); }
    void release(sf::Keyboard::Key key) { this->key(key, false); }
    void tap(sf::Keyboard::Key key);
    void point(sf::Vector2i screen);
    void leftButton(bool down);  // the pointer's left button, wherever it is
    void sync();

    struct _XDisplay* display;
    bool held[sf::Keyboard::KeyCount] = {};
    bool leftHeld = false;
};

// True when every flat opaque texel of `sprite`, drawn where it stands, shows unchanged in `shot`: it was drawn,
// nothing covers it, and no picture alike but for a detail (another count, another arrow) was drawn instead.
// `screen` takes the game's 800x600 picture to the pixels of the shot.
::testing::AssertionResult shows(const sf::Image& shot, const sf::Sprite& sprite,
                                 const sf::Transform& screen = sf::Transform::Identity);
// An end card above its answer, where nothing else is drawn over it.
sf::Sprite titleOf(sf::Sprite card);
// Cell `cell` of `texture` at `scale`, its centre on `centre`: a picture the game must draw there.
sf::Sprite centredOn(const sf::Texture& texture, sf::IntRect cell, sf::Vector2f centre, float scale = 1);

class Driver {
public:
    explicit Driver(Game& game) : game(game) {}

    // The window as the program opens it, every picture and sound; no frame limit, no menu pause.
    void open(bool loadAssets = true);
    // Turns of the main loop; after each play frame, checks what the game made of the match's step.
    void turn(int count = 1);
    // Points at the sprite's centre (or a point), placed on the window by `screen`, taps the real left button
    // there (press and release queued together) and runs one turn.
    void click(const sf::Sprite& sprite);
    void clickAt(sf::Vector2i point);
    void pointAt(sf::Vector2i pixel);  // the pointer at a window pixel, its motion drained
    sf::Transform screen;  // where the test expects the picture in the window (not asked of the game)
    void drain();  // reads every pending window event, keeping the buffered one

    // A real key pressed over the window, in its queue before the next of `turns` turns.
    void press(sf::Keyboard::Key key, int turns = 1);
    void startMatch();  // the menu's play button and the first frame
    // Lets lane fruit `fruit` fall onto the character in the lanes: true once carried.
    bool carry(int32_t fruit);
    // Stands against stall `slot` and clicks the insert button drawn beside it: true
    // when the fruit left the hand.
    bool deliverTo(int32_t slot);
    bool insert(int32_t fruit, int32_t slot) { return carry(fruit) && deliverTo(slot); }
    void answer(int32_t kind);  // clicks rotationButton(kind)
    const sf::Sprite& rotationButton(int32_t kind) const;  // the button whose picture names `kind`
    // A place touching stall `slot`'s picture and nothing else, off every solid area.
    Point spotAgainst(int32_t slot);
    sf::Image capture();  // what the window shows after the last frame


    Game& game;
    Seat seat;

private:
    std::string newHistoryLines();  // the history's lines since the last call
    std::streamoff historySeen = 0;
};

// A game of the test's own, its randomness seeded, its files in a data folder of its own, at the menu's first frame.
template <unsigned seed>
class Session : public DataHome {
protected:
    void SetUp() override {
        DataHome::SetUp();
        std::srand(seed);
        driver.open();
        driver.turn();
    }
    Game game;
    Driver driver{game};
};
