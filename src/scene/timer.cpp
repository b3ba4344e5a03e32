// A match lasts at most ninety seconds. The timer shows the seconds left and
// freezes at the second an outcome came; the end screen offers play-again and
// keeps the character standing.
#include <algorithm>

#include "app/game.hpp"
#include "assets/layout.hpp"

void Game::updateTimer() {
    // Practice has no clock to run out.
    if (hasOutcome() || practicing) {
        return;
    }
    // A stalled loop can first count past ninety; it still ends the match by
    // time-out and shows zero seconds left. Clamped while still a float, so a
    // reading too large for an int is never converted.
    const float elapsed = matchTime.asSeconds();
    shownSeconds = static_cast<int32_t>(std::min(elapsed, static_cast<float>(kMatchSeconds)));
    if (shownSeconds == kMatchSeconds) {
        const std::string filled = std::to_string(filledSlots(playerRoot));
        recordEvent("timeout", kNoFruit, filled, std::to_string(kStallCount), false);
        loseMatch(LossCause::TimeOut);
    }
}

void Game::drawTimer() {
    window.draw(practicing ? noClockSprite : timerSprites[kMatchSeconds - shownSeconds]);
}

void Game::updateEndScreen() {
    movementEnabled = false;
    standStill();
    const bool enter = keyWasPressed(sf::Keyboard::Return);
    if (practicing && lossCause != LossCause::None) {
        practiceHeadingSprite.setTextureRect(practiceHeadingCell(lossCause));
        if (updateButton(tryAgainButtonSprite) || enter) {
            takeBackMove();
        }
        return;
    }
    restartRequested = updateButton(playAgainButtonSprite) || enter ? 1 : 0;
}

void Game::drawEndScreen() {
    const sf::Sprite* endPicture = nullptr;
    if (matchWon != 0) {
        endPicture = practicing ? &practiceCompleteSprite : &wonSprite;
    } else if (lossCause == LossCause::WrongSlot) {
        endPicture = &lostPositionSprite;
    } else if (lossCause == LossCause::WrongRotation) {
        endPicture = &lostRotationSprite;
    } else if (lossCause == LossCause::RepeatedKey) {
        endPicture = &lostKeySprite;
    } else if (lossCause == LossCause::TimeOut) {
        endPicture = &lostTimeSprite;
    } else if (lossCause == LossCause::Stuck) {
        endPicture = &lostStuckSprite;
    }
    if (endPicture == nullptr) {
        return;
    }
    window.draw(*endPicture);
    // In practice the same card teaches the mistake under a heading that corrects it.
    if (practicing && lossCause != LossCause::None) {
        window.draw(practiceHeadingSprite);
    }
    drawEndAnswer();
    window.draw(practicing && matchWon == 0 ? tryAgainButtonSprite : playAgainButtonSprite);
}
