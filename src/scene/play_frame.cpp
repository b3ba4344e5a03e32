// One frame of a match: first every step that decides something, in the order
// the steps decide (a fruit picked on a frame is gone from its lane on that frame,
// a delivery is judged on the frame after its click), then the picture, back to
// front. Every step runs on every frame, also under an end picture; the outcome
// only changes what is drawn last, keeps the music off, freezes the timer and
// offers no insert button.
#include "app/game.hpp"
#include "assets/layout.hpp"

void Game::playFrame() {
    keepMusicPlaying();
    takeMatchTime();
    // Leaving decides nothing else: a delivery clicked on the frame before is not
    // judged. Under an end card the corner button is hidden, but Backspace still
    // leads to the menu.
    const bool leaveClicked = !hasOutcome() && updateSmallButton(leaveButtonSprite);
    if (leaveClicked || keyWasPressed(sf::Keyboard::BackSpace)) {
        leaveMatch();
        return;
    }
    advanceLanes();
    if (movementEnabled) {
        moveCharacter();
    } else if (stallsMoving) {
        advanceStallAnimation();
    }
    updateBin();
    deliverFruit();
    pickFruit();
    offerInsertButton();
    judgeTrees();
    updateInsertButton();
    placeStallFruits();
    updateBalanceFactors();
    updateTimer();
    if (hasOutcome()) {
        updateEndScreen();
    }
    matchStarting = false;

    drawScene();
    drawLaneFruits();
    drawInsertButton();
    drawRotationQuestion();
    drawStallFruits();
    drawBalanceFactors();
    drawTimer();
    drawLeaveButton();
    drawEndScreen();
    present();
}

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

void Game::takeMatchTime() {
    if (matchStarting) {
        matchClock.restart();
        matchStartTime = std::time(nullptr);
    }
    matchTime = matchClock.getElapsedTime();
}

void Game::drawScene() {
    window.clear(sf::Color(0, 0, 0, 255));
    window.draw(sceneBackgroundSprite);
    for (const sf::Sprite& stall : stallSprites) {
        window.draw(stall);
    }
    window.draw(characterSprite);
    window.draw(binAreaSprite);
}

void Game::leaveMatch() {
    // A match left before its end counts as played and not won; a practice, which
    // keeps no score, leaves no line.
    if (!practicing && !hasOutcome()) {
        recordEvent("left", kNoFruit, "", "", false);
    }
    // The menu is as quiet as it was before the match.
    music.stop();
    restartRequested = 1;
}

void Game::drawLeaveButton() {
    if (!hasOutcome()) {
        window.draw(leaveButtonSprite);
    }
}

void Game::drawInsertButton() {
    if (offeredSlot != TreeSlot::None) {
        window.draw(insertButtonSprite);
    }
}

void Game::drawRotationQuestion() {
    if (pendingRotation == RotationKind::None) {
        return;
    }
    window.draw(rotationWarningSprite);
    window.draw(rotateRightButtonSprite);
    window.draw(doubleRotateRightButtonSprite);
    window.draw(rotateLeftButtonSprite);
    window.draw(doubleRotateLeftButtonSprite);
}
