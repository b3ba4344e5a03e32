// One frame of a match: every step runs on every frame, also under an end
// picture; the outcome only changes what is drawn last, keeps the music off,
// freezes the timer and offers no insert button. Drawn back to front.
#include "app/game.hpp"
#include "tree/slot_layout.hpp"

void Game::keepMusicPlaying() {
    // A stream that played to its end does not rewind by itself: stopping it first
    // puts it back at its beginning, so the next play is heard from the start.
    // A track that failed to open stays silent without asking the library for it
    // (and reading its complaint) on every frame. Muting paused it: it goes on
    // from there.
    const bool opened = music.getDuration() > sf::Time::Zero;
    if (!opened || muted || hasOutcome()) {
        return;
    }
    if (music.getStatus() == sf::SoundSource::Stopped) {
        music.stop();
        music.play();
    } else if (music.getStatus() == sf::SoundSource::Paused) {
        music.play();
    }
}

void Game::playFrame() {
    keepMusicPlaying();

    if (matchStarting) {
        matchClock.restart();
    }
    matchTime = matchClock.getElapsedTime();

    for (int32_t lane = 0; lane < kLaneCount; ++lane) {
        chooseLaneFruits(lane);
        advanceLane(lane);
        laneFruitSprites[laneFruit[lane]].setPosition(lanePositions[lane]);
    }

    if (movementEnabled) {
        moveCharacter();
    } else if (stallsMoving) {
        advanceStallAnimation();
    }
    updateBin();
    deliverFruit();

    window.clear(sf::Color(0, 0, 0, 255));
    window.draw(sceneBackgroundSprite);
    for (const sf::Sprite& stall : stallSprites) {
        window.draw(stall);
    }
    window.draw(characterSprite);
    window.draw(binAreaSprite);

    // A fruit hidden because it was picked or thrown away cannot be picked again.
    for (int32_t lane = 0; lane < kLaneCount; ++lane) {
        if (laneTaken[lane]) {
            continue;
        }
        const sf::Sprite& fruit = laneFruitSprites[laneFruit[lane]];
        if (!carrying && touchesCharacter(fruit)) {
            playEffect(pickFruitSound);
            laneTaken[lane] = true;
            carrying = true;
            pickedLane = lane;
            carriedFruit = laneFruit[lane];
        } else {
            window.draw(fruit);
        }
    }
    if (carrying) {
        window.draw(carriedFruitSprites[carriedFruit]);
    }

    // None under an end card: a click on the card where a hidden button stood would
    // still deliver the fruit, and change the card's answer.
    offeredSlot = TreeSlot::None;
    for (int32_t stall = 0; stall < kStallCount && !hasOutcome(); ++stall) {
        if (touchesCharacter(stallSprites[stall]) && !slotFilled[stall]) {
            insertButtonSprite.setPosition(kInsertButtonPositions[stall]);
            window.draw(insertButtonSprite);
            currentSlot = stall;
            offeredSlot = stall;
        }
    }

    if (pendingRotation != RotationKind::None) {
        window.draw(rotationWarningSprite);
        window.draw(rotateRightButtonSprite);
        window.draw(doubleRotateRightButtonSprite);
        window.draw(rotateLeftButtonSprite);
        window.draw(doubleRotateLeftButtonSprite);
    }

    judgeTrees();
    updateInsertButton();
    updateTimer();

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
    if (endPicture != nullptr) {
        window.draw(*endPicture);
        updateEndScreen();
    }

    present();
    matchStarting = false;
}
