// The screens outside a match: the menu and the instructions (the results have a
// file of their own). Each turn acts on the presses that came, one at a time, then
// draws one whole frame and pauses, so these screens run at under ten frames per
// second without losing a press that came during the pause.
#include "app/game.hpp"
#include "assets/layout.hpp"

void Game::showOtherScreen() {
    const GameScreen shown = screen;
    // At least one round, so that a turn without presses still shows the hover
    // frames. A press that started a match is the last this screen takes: the
    // presses after it are the match's.
    do {
        turnEvents.clear();
        if (!input.empty()) {
            turnEvents.push_back(input.front());
            input.erase(input.begin());
        }
        if (screen == GameScreen::Menu) {
            actOnMenu();
        } else if (screen == GameScreen::Instructions) {
            actOnInstructions();
        } else if (screen == GameScreen::Results) {
            actOnResults();
        }
    } while (!input.empty() && window.isOpen() && screen != GameScreen::Match);
    turnEvents.clear();
    if (!window.isOpen()) {
        return;
    }
    // The frame of the screen the turn began on, even when a press just left it.
    if (shown == GameScreen::Menu) {
        drawMenu();
    } else if (shown == GameScreen::Instructions) {
        drawInstructions();
    } else {
        drawResults();
    }
    present();
    sf::sleep(frameDelay);
}

void Game::actOnMenu() {
    // Every button is asked, so each shows its frame; the first one clicked, top to
    // bottom, decides. Enter plays, P practises, R shows the results.
    const bool play = updateButton(pictures.playButtonSprite) || keyWasPressed(sf::Keyboard::Return);
    const bool practice = updateButton(pictures.practiceButtonSprite) || keyWasPressed(sf::Keyboard::P);
    const bool instructions = updateButton(pictures.instructionsButtonSprite);
    const bool showResults = updateButton(pictures.resultsButtonSprite) || keyWasPressed(sf::Keyboard::R);
    const bool quit = updateButton(pictures.quitButtonSprite);
    // The selector chooses by the half clicked, Tab the other market; the choice
    // holds for every match and practice until the game closes.
    if (const std::optional<sf::Vector2f> press = pressOn(pictures.marketSelectorSprite)) {
        chooseMarket(kMarketStalls[press->x < kMarketSelectorSmallWidth ? 0 : 1]);
    } else if (keyWasPressed(sf::Keyboard::Tab)) {
        chooseMarket(kMarketStalls[marketStalls == kMarketStalls[0] ? 1 : 0]);
    }
    if (play || practice) {
        startMatch(!play);
    } else if (instructions) {
        // Always on the first page, whichever market is chosen: the second, about the
        // big market, builds on the first's rules and rotations.
        pictures.showInstructionsPage(0);
        screen = GameScreen::Instructions;
    } else if (showResults) {
        openResults();
    } else if (quit) {
        window.close();
    }
}

void Game::drawMenu() {
    window.clear(sf::Color(0, 0, 0, 255));
    window.draw(pictures.menuSprite);
    window.draw(pictures.playButtonSprite);
    window.draw(pictures.practiceButtonSprite);
    window.draw(pictures.instructionsButtonSprite);
    window.draw(pictures.resultsButtonSprite);
    window.draw(pictures.quitButtonSprite);
    window.draw(pictures.marketSelectorSprite);
}

void Game::actOnInstructions() {
    // The page button turns to the other page; the arrows and Page Up and Page Down
    // turn as they do in a document.
    const bool back = updateButton(pictures.backButtonSprite) || keyWasPressed(sf::Keyboard::Return);
    const bool turn = updateSmallButton(pictures.pageButtonSprite);
    if (back) {
        screen = GameScreen::Menu;
    } else if (turn) {
        pictures.showInstructionsPage(1 - pictures.shownInstructionsPage);
    } else if (keyWasPressed(sf::Keyboard::Right) || keyWasPressed(sf::Keyboard::PageDown)) {
        pictures.showInstructionsPage(1);
    } else if (keyWasPressed(sf::Keyboard::Left) || keyWasPressed(sf::Keyboard::PageUp)) {
        pictures.showInstructionsPage(0);
    }
}

void Game::drawInstructions() {
    window.clear(sf::Color(0, 0, 0, 255));
    window.draw(pictures.instructionsSprite);
    window.draw(pictures.backButtonSprite);
    window.draw(pictures.pageButtonSprite);
}
