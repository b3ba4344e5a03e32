// A match lasts at most ninety seconds. The timer shows the seconds left and
// freezes at the second an outcome came; the end screen offers play-again and
// keeps the character standing.
#include <algorithm>

#include "app/game.hpp"

void Game::updateTimer() {
    if (hasOutcome()) {
        return;
    }
    // A stalled loop can first count past ninety; it still ends the match by
    // time-out and shows zero seconds left. Clamped while still a float, so a
    // reading too large for an int is never converted.
    const float elapsed = matchTime.asSeconds();
    shownSeconds = static_cast<int32_t>(std::min(elapsed, static_cast<float>(kMatchSeconds)));
    if (shownSeconds == kMatchSeconds) {
        loseMatch(LossCause::TimeOut);
    }
}

void Game::drawTimer() { window.draw(timerSprites[kMatchSeconds - shownSeconds]); }

void Game::updateEndScreen() {
    const bool again =
        updateButton(playAgainButtonSprite) || keyWasPressed(sf::Keyboard::Return);
    restartRequested = again ? 1 : 0;
    movementEnabled = false;
    standStill();
}

void Game::drawEndScreen() {
    const sf::Sprite* endPicture = nullptr;
    if (matchWon != 0) {
        endPicture = &wonSprite;
    } else if (lossCause == LossCause::WrongSlot) {
        endPicture = &lostPositionSprite;
    } else if (lossCause == LossCause::WrongRotation) {
        endPicture = &lostRotationSprite;
    } else if (lossCause == LossCause::RepeatedKey) {
        endPicture = &lostKeySprite;
    } else if (lossCause == LossCause::TimeOut) {
        endPicture = &lostTimeSprite;
    }
    if (endPicture == nullptr) {
        return;
    }
    window.draw(*endPicture);
    drawEndAnswer();
    window.draw(playAgainButtonSprite);
}
