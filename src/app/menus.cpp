// The screens outside a match: the menu and the instructions (the results have a
// file of their own). Each turn acts on the presses that came, one at a time, then
// draws one whole frame and pauses, so these screens run at under ten frames per
// second without losing a press that came during the pause.
#include "app/game.hpp"

void Game::showOtherScreen() {
    const bool menu = menuActive;
    const bool instructions = !menu && instructionsActive;
    // At least one round, so that a turn without presses still shows the hover
    // frames. A press that started a match is the last this screen takes: the
    // presses after it are the match's.
    do {
        turnEvents.clear();
        if (!input.empty()) {
            turnEvents.push_back(input.front());
            input.erase(input.begin());
        }
        if (menuActive) {
            actOnMenu();
        } else if (instructionsActive) {
            actOnInstructions();
        } else if (resultsActive) {
            actOnResults();
        }
    } while (!input.empty() && window.isOpen() && (menuActive || instructionsActive || resultsActive));
    turnEvents.clear();
    if (!window.isOpen()) {
        return;
    }
    // The frame of the screen the turn began on, even when a press just left it.
    if (menu) {
        drawMenu();
    } else if (instructions) {
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
    const bool play = updateButton(playButtonSprite) || keyWasPressed(sf::Keyboard::Return);
    const bool practice = updateButton(practiceButtonSprite) || keyWasPressed(sf::Keyboard::P);
    const bool instructions = updateButton(instructionsButtonSprite);
    const bool showResults = updateButton(resultsButtonSprite) || keyWasPressed(sf::Keyboard::R);
    const bool quit = updateButton(quitButtonSprite);
    if (play || practice) {
        menuActive = false;
        playActive = true;
        practicing = !play;
    } else if (instructions) {
        menuActive = false;
        instructionsActive = true;
    } else if (showResults) {
        menuActive = false;
        openResults();
    } else if (quit) {
        window.close();
    }
}

void Game::drawMenu() {
    window.clear(sf::Color(0, 0, 0, 255));
    window.draw(menuSprite);
    window.draw(playButtonSprite);
    window.draw(practiceButtonSprite);
    window.draw(instructionsButtonSprite);
    window.draw(resultsButtonSprite);
    window.draw(quitButtonSprite);
}

void Game::actOnInstructions() {
    if (updateButton(backButtonSprite) || keyWasPressed(sf::Keyboard::Return)) {
        instructionsActive = false;
        menuActive = true;
    }
}

void Game::drawInstructions() {
    window.clear(sf::Color(0, 0, 0, 255));
    window.draw(instructionsSprite);
    window.draw(backButtonSprite);
}
