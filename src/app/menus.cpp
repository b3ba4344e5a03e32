// The two screens outside a match. Each turn draws one whole frame and then
// pauses, so these screens run at under ten frames per second.
#include "app/game.hpp"

void Game::showMenu() {
    // The first button that reports a click ends the button tests of this frame.
    // Enter plays, the way the first button does; P practises, R shows the results.
    if (updateButton(playButtonSprite) || keyWasPressed(sf::Keyboard::Return)) {
        menuActive = false;
        playActive = true;
    } else if (updateButton(instructionsButtonSprite)) {
        menuActive = false;
        instructionsActive = true;
    } else if (updateButton(quitButtonSprite)) {
        window.close();
    } else if (updateButton(practiceButtonSprite) || keyWasPressed(sf::Keyboard::P)) {
        menuActive = false;
        playActive = true;
        practicing = true;
    } else if (updateButton(resultsButtonSprite) || keyWasPressed(sf::Keyboard::R)) {
        menuActive = false;
        openResults();
    }
    // The frame is completed even when a button just switched the screen.
    window.clear(sf::Color(0, 0, 0, 255));
    window.draw(menuSprite);
    window.draw(playButtonSprite);
    window.draw(instructionsButtonSprite);
    window.draw(quitButtonSprite);
    window.draw(practiceButtonSprite);
    window.draw(resultsButtonSprite);
    present();
    sf::sleep(frameDelay);
}

void Game::showInstructions() {
    if (updateButton(backButtonSprite) || keyWasPressed(sf::Keyboard::Return)) {
        instructionsActive = false;
        menuActive = true;
    }
    window.clear(sf::Color(0, 0, 0, 255));
    window.draw(instructionsSprite);
    window.draw(backButtonSprite);
    present();
    sf::sleep(frameDelay);
}
