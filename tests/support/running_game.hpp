// Drives the game's own loop: Game::run() on the test's thread while a helper
// thread plays the person at the keyboard and mouse through XTest, the way
// someone in front of the real window would.
#pragma once

#include <SFML/System/Vector2.hpp>

#include <atomic>
#include <functional>

#include "app/game.hpp"

// The screen position of the viewable window titled "Jogo", looked up through an
// X connection of its own (safe from a helper thread). False while there is none.
bool findGameWindowCorner(sf::Vector2i& corner);

// Presses or releases the left mouse button through XTest, wherever the pointer is.
void pressPointerButtonThroughXTest(bool down);

// Points into the game's window (without a window manager the keyboard focus
// follows the pointer) and taps Escape. Does nothing while the window is not open.
void tapEscapeInGameWindow();

class RunningGame {
public:
    explicit RunningGame(Game& game) : game(game) {}

    // Runs game.run(); meanwhile a helper thread repeats `act` every 150 ms until run
    // returns. If run has not returned after 100 repeats the helper falls back to
    // Escape, so a broken path fails the test instead of hanging it.
    void runWhile(const std::function<void()>& act);

    // True when run only ended through the fallback Escape.
    bool fallbackUsed() const { return escapeFallback; }

private:
    Game& game;
    std::atomic<bool> escapeFallback{false};
};
