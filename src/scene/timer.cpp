// A match lasts at most ninety seconds. The timer shows the seconds left and
// freezes at the second an outcome came; the end screen offers play-again and
// keeps the character standing.
#include <algorithm>

#include "app/game.hpp"

void Game::updateTimer() {
    const float elapsed = matchTime.asSeconds();
    if (hasOutcome()) {
        window.draw(timerSprites[kMatchSeconds - shownSeconds]);
        return;
    }
    // A stalled loop can first count past ninety; it still ends the match by
    // time-out and shows zero seconds left. Clamped while still a float, so a
    // reading too large for an int is never converted.
    const int32_t seconds =
        static_cast<int32_t>(std::min(elapsed, static_cast<float>(kMatchSeconds)));
    shownSeconds = seconds;
    window.draw(timerSprites[kMatchSeconds - seconds]);
    if (seconds == kMatchSeconds) {
        loseMatch(LossCause::TimeOut);
    }
}

void Game::updateEndScreen() {
    const bool again =
        updateButton(playAgainButtonSprite) || keyWasPressed(sf::Keyboard::Return);
    restartRequested = again ? 1 : 0;
    movementEnabled = false;
    standStill();
    drawEndAnswer();
    window.draw(playAgainButtonSprite);
}
