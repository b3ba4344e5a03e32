// Real input for tests on the virtual display: key state through XTest (what
// sf::Keyboard::isKeyPressed reads), the pointer moved for real, and events put
// into the game's buffer the way the event poll leaves them.
#pragma once

#include <SFML/Window.hpp>

#include "app/game.hpp"

// Holds arrow keys (or Escape) down through XTest. Releases everything it pressed
// when it goes out of scope, so a failing test never leaves a key stuck.
class FakeKeyboard {
public:
    FakeKeyboard();
    ~FakeKeyboard();
    FakeKeyboard(const FakeKeyboard&) = delete;
    FakeKeyboard& operator=(const FakeKeyboard&) = delete;

    void press(sf::Keyboard::Key key);
    void release(sf::Keyboard::Key key);
    void releaseAll();
    // Press and release at once: a key event for whichever window has the focus.
    void tap(sf::Keyboard::Key key);

private:
    void send(sf::Keyboard::Key key, bool down);
    struct _XDisplay* display;
    bool held[sf::Keyboard::KeyCount];
};

// Moves the real pointer to window coordinates and waits until SFML reads them back.
void movePointer(Game& game, int x, int y);

// Moves the real pointer to the window's point through XTest, the way a person's
// mouse would, so X also delivers pointer events (motion, focus) to the window.
void movePointerThroughXTest(int screenX, int screenY);

// Puts a mouse event into the game's buffer, as if the poll had received it last.
void bufferMouseButton(Game& game, sf::Event::EventType type, sf::Mouse::Button button, int x,
                       int y);
void bufferMouseMove(Game& game, int x, int y);
void bufferKeyPress(Game& game, sf::Keyboard::Key key);

// Points at a sprite's centre and buffers a left press there: a click as every
// button of the game sees it.
void pressOn(Game& game, const sf::Sprite& sprite);

// Opens the game's real window as the program does (and loads every picture and
// sound when asked), without entering the main loop.
void openGameWindow(Game& game, bool loadAssets = true);

// Lets X deliver what is pending so the next event poll sees it.
void flushDisplay(Game& game);
