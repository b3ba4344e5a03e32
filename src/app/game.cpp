// The life of the program: the main loop with its screens, the event poll, and the
// way from the menu into a match and back.
#include "app/game.hpp"

#include <cstdlib>
#include <ctime>

#include "assets/language.hpp"

namespace {

const sf::Time kMenuPause = sf::milliseconds(100);

}  // namespace

Game::Game() : frameDelay(kMenuPause) {
    language = Language::Portuguese;  // the game's own, until the pictures load
    backToMenu();
}

void Game::run() {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    openWindow();
    loadTextures();
    loadSounds();
    chooseMarket(marketStalls);

    while (window.isOpen()) {
        loopTurn();
    }
}

void Game::loopTurn() {
    pollEvents();
    // A turn that quits acts on nothing: a delivery asked for on the frame before is
    // neither judged nor written down once the player asked to leave.
    if (!window.isOpen()) {
        return;
    }
    readPointer();
    // The way back to the menu wins over the screen; the presses that came while it
    // ran wait for the menu.
    if (restartRequested) {
        sf::sleep(frameDelay);
        backToMenu();
    } else if (screen == GameScreen::Match) {
        // A frame of a match takes every press of the turn at once: two keys pressed
        // together (a rotation's number, then Enter) both act.
        turnEvents.swap(input);
        input.clear();
        playFrame();
        turnEvents.clear();
    } else {
        showOtherScreen();
    }
}

void Game::openWindow() {
    // The desktop's own mode: the screen keeps its resolution, so leaving full
    // screen changes nothing for the other programs. Without a window manager it
    // still covers the screen from its top-left corner.
    if (fullScreen) {
        window.create(sf::VideoMode::getDesktopMode(), "Jogo", sf::Style::Fullscreen, sf::ContextSettings());
    } else {
        window.create(sf::VideoMode(800, 600, 32), "Jogo", sf::Style::None, sf::ContextSettings());
    }
    // A new window starts with the library's defaults: each setting is made again.
    window.setFramerateLimit(frameLimit);
    // Walking reads the held arrows directly; a repeated press would only push a
    // key that acts once (Enter, Space, 1 to 4) out of its turn.
    window.setKeyRepeatEnabled(false);
    window.setView(letterboxView(window.getSize()));
}

void Game::pollEvents() {
    // Only presses are kept: a release or a move changes nothing a screen decides,
    // and the buttons' frames read the pointer as it is. Each press acts once, on
    // the screen of the turn that takes it.
    sf::Event event;
    while (window.isOpen() && window.pollEvent(event)) {
        const bool keyPressed = event.type == sf::Event::KeyPressed;
        if (event.type == sf::Event::Closed || (keyPressed && event.key.code == sf::Keyboard::Escape)) {
            input.clear();
            window.close();
        } else if (keyPressed && event.key.code == sf::Keyboard::F11) {
            // Both act at once on every screen; the rest of the events come from the
            // window as it is afterwards.
            toggleFullScreen();
        } else if (keyPressed && event.key.code == sf::Keyboard::M) {
            toggleMute();
        } else if (keyPressed || event.type == sf::Event::MouseButtonPressed) {
            input.push_back(event);
        }
    }
}

void Game::chooseMarket(int32_t stalls) {
    marketStalls = stalls == TreeSlot::FourLevelCount ? stalls : kStallCount;
    pictures.showMarket(marketStalls);
    if (screen != GameScreen::Match) {
        match = newMatch(marketOf(marketStalls), false, fruitList);
    }
}

void Game::startMatch(bool practice) {
    match = newMatch(marketOf(marketStalls), practice, fruitList);
    screen = GameScreen::Match;
}

void Game::backToMenu() {
    // The music goes on where it was (the next match's first frame plays it, or it
    // waits while muted).
    screen = GameScreen::Menu;
    restartRequested = false;
    match = newMatch(marketOf(marketStalls), false, fruitList);
    matchStartTime = 0;
    bestSeconds = -1;
    newRecord = false;
}
