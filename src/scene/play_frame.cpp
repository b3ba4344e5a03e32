// Drawing a match: a reading of the match's state, back to front. Nothing here
// decides anything; each sprite is put where the state says and drawn.
#include "app/game.hpp"
#include "assets/layout.hpp"

namespace {

sf::Vector2f at(Point point) { return sf::Vector2f(point.x, point.y); }

}  // namespace

void Game::drawMatch() {
    drawScene();
    drawLaneFruits();
    drawInsertButton();
    drawRotationQuestion();
    drawStallFruits();
    drawBalanceFactors();
    drawTimer();
    drawLeaveButton();
    drawEndScreen();
}

void Game::drawScene() {
    window.clear(sf::Color(0, 0, 0, 255));
    window.draw(pictures.sceneBackgroundSprite);
    for (const sf::Sprite& stall : pictures.stallSprites) {
        window.draw(stall);
    }
    drawCharacter();
}

void Game::drawCharacter() {
    sf::Sprite& character = pictures.characterSprite;
    character.setPosition(at(match.character));
    character.setTextureRect(sf::IntRect(match.walkFrame * kCharacterFrameWidth,
                                         match.facing * kCharacterFrameHeight, kCharacterFrameWidth,
                                         kCharacterFrameHeight));
    window.draw(character);
}

void Game::drawLaneFruits() {
    // A fruit picked up or thrown away is no longer shown in its lane.
    for (const Lane& lane : match.lanes) {
        if (lane.fruit != kNoFruit && !lane.taken) {
            sf::Sprite& fruit = pictures.laneFruitSprites[lane.fruit];
            fruit.setPosition(at(lane.position));
            window.draw(fruit);
        }
    }
    if (match.carried != kNoFruit) {
        window.draw(pictures.carriedFruitSprites[match.carried]);
    }
}

void Game::drawInsertButton() {
    if (match.offeredSlot != TreeSlot::None) {
        pictures.insertButtonSprite.setPosition(kInsertButtonPositions[match.offeredSlot]);
        window.draw(pictures.insertButtonSprite);
    }
}

void Game::drawLeaveButton() {
    if (!match.hasOutcome()) {
        window.draw(pictures.leaveButtonSprite);
    }
}

void Game::drawRotationQuestion() {
    if (match.phase != Phase::Question) {
        return;
    }
    window.draw(pictures.rotationWarningSprite);
    window.draw(pictures.rotateRightButtonSprite);
    window.draw(pictures.doubleRotateRightButtonSprite);
    window.draw(pictures.rotateLeftButtonSprite);
    window.draw(pictures.doubleRotateLeftButtonSprite);
}

void Game::drawTimer() {
    // The timer shows the seconds left, frozen at the second an outcome came;
    // practice has no clock.
    window.draw(match.practice ? pictures.noClockSprite : pictures.timerSprites[kMatchSeconds - match.shownSeconds]);
}
