// Drawing a match: a reading of the match's state, back to front. Nothing here
// decides anything; each sprite is put where the state says and drawn.
#include <algorithm>

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
    if (match.market->asksWhere) {
        for (const sf::Sprite& stall : pictures.bigStallSprites) {
            window.draw(stall);
        }
    } else {
        for (const sf::Sprite& stall : pictures.stallSprites) {
            window.draw(stall);
        }
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
        pictures.insertButtonSprite.setPosition(insertButtonPosition(*match.market, match.offeredSlot));
        window.draw(pictures.insertButtonSprite);
    }
}

void Game::drawLeaveButton() {
    if (!match.hasOutcome()) {
        window.draw(pictures.leaveButtonSprite);
    }
}

void Game::drawRotationQuestion() {
    // The big market asks where first, the highlight on a stall of the path; then,
    // and while the fruits travel, the stall that lost its balance stays marked.
    if (match.phase == Phase::Where) {
        window.draw(pictures.whereQuestionSprite);
        drawStallMark(match.highlightedSlot);
        return;
    }
    if (match.market->asksWhere && (match.phase == Phase::Question || match.phase == Phase::StallsMoving)) {
        drawStallMark(match.unbalancedSlot);
    }
    if (match.phase != Phase::Question) {
        return;
    }
    window.draw(pictures.rotationWarningSprite);
    window.draw(pictures.rotateRightButtonSprite);
    window.draw(pictures.doubleRotateRightButtonSprite);
    window.draw(pictures.rotateLeftButtonSprite);
    window.draw(pictures.doubleRotateLeftButtonSprite);
}

void Game::drawStallMark(int32_t slot) {
    if (slot < 0 || slot >= match.stallCount()) {
        return;
    }
    const Box& stall = match.market->stalls[slot];
    sf::RectangleShape mark(sf::Vector2f(stall.width + 2 * kStallMarkMargin, stall.height + 2 * kStallMarkMargin));
    mark.setPosition(stall.left - kStallMarkMargin, stall.top - kStallMarkMargin);
    mark.setFillColor(sf::Color(255, 214, 90, 60));
    mark.setOutlineColor(sf::Color(250, 176, 40));
    mark.setOutlineThickness(kStallMarkThickness);
    window.draw(mark);
}

void Game::drawTimer() {
    // The timer shows the seconds left, frozen at the second an outcome came;
    // practice has no clock.
    if (match.practice) {
        window.draw(pictures.noClockSprite);
        return;
    }
    window.draw(timerPicture(static_cast<int32_t>(match.market->matchSeconds) - match.shownSeconds));
}

sf::Sprite& Game::timerPicture(int32_t secondsLeft) {
    if (secondsLeft < kTimerPictureCount) {
        return pictures.timerSprites[std::max(secondsLeft, 0)];
    }
    pictures.longTimerSprite.setTextureRect(
        sheetCell(secondsLeft - kTimerPictureCount, kTimerCellWidth, kTimerCellHeight));
    return pictures.longTimerSprite;
}
