// Bringing a carried fruit into the two trees. A click on the insert button marks
// the slot and requests the insertion; the next frame's delivery judges the stall
// and, when it is the fruit's place, puts the fruit number into the reference tree
// (AVL) and into the player's tree at that slot.
#include <algorithm>

#include "app/game.hpp"
#include "assets/layout.hpp"

void Game::loseMatch(int32_t cause) {
    // The first outcome stands: a later rule may not replace it or sound again.
    if (hasOutcome()) {
        return;
    }
    lossCause = cause;
    if (practicing) {
        // A lesson, not a defeat: the card shows it, the music goes on.
        ++practiceMistakes[cause];
        return;
    }
    music.stop();
    playEffect(lostSound);
}

void Game::winMatch() {
    if (hasOutcome()) {
        return;
    }
    matchWon = 1;
    recordEvent(practicing ? "complete" : "won", kNoFruit, "", "", true);
    music.stop();
    playEffect(wonSound);
    if (practicing) {
        // No clock and no record: the card only tells how long it took.
        wonSeconds = static_cast<int32_t>(std::min(matchTime.asSeconds(), kLongestPracticeSeconds));
    } else {
        keepBestTime();
    }
}

void Game::deliverFruit() {
    bool delivered = false;
    for (int32_t stall = 0; stall < kStallCount; ++stall) {
        if (touchesCharacter(stallAreaSprites[stall])) {
            pushBack(stallAreaSprites[stall]);
        }
        if (touchesCharacter(stallSprites[stall]) && insertRequested && carriedFruit != kNoFruit) {
            delivered = true;
            if (practicing) {
                rememberTrees();
            }
            deliveredFruit = carriedFruit;
            deliveredSlot = currentSlot;
            if (pickedLane >= 0 && pickedLane < kLaneCount) {
                laneTaken[pickedLane] = false;
            }
            carrying = false;
            if (findKey(&balancedRoot, carriedFruit) != -1) {
                recordEvent("repeat", carriedFruit, slotCode(currentSlot), "", false);
                carriedFruit = kNoFruit;
                loseMatch(LossCause::RepeatedKey);
                continue;
            }
            // The placement is judged before any balancing: a fruit at the wrong stall
            // loses even when its insertion would rotate, so that naming the rotation
            // can never make up for it. Neither tree takes it, and the end card shows
            // the tree as it stood with the fruit where it belonged.
            const int32_t rightSlot = placeOfKey(balancedRoot, carriedFruit);
            const bool placedRight = rightSlot != TreeSlot::None && currentSlot == rightSlot;
            recordEvent("stall", carriedFruit, slotCode(currentSlot), slotCode(rightSlot), placedRight);
            if (!placedRight) {
                carriedFruit = kNoFruit;
                loseMatch(LossCause::WrongSlot);
                continue;
            }
            insertBalanced(&balancedRoot, carriedFruit, carriedPayload, pendingRotation);
            placeAtSlot(&playerRoot, carriedFruit, carriedPayload, currentSlot);
            carriedFruit = kNoFruit;
            // A rotation to name changes the tree again: the check waits for it.
            if (pendingRotation == RotationKind::None) {
                endIfStuck();
            }
        }
    }
    // A requested delivery that did not happen (the character walked off the stall,
    // or the bin took the fruit) must not leave its fruit shown in the slot: that
    // fruit is in neither tree.
    if (insertRequested && !delivered && currentSlot >= 0 && currentSlot < kStallCount) {
        slotFilled[currentSlot] = false;
        slotFruit[currentSlot] = kNoFruit;
    }
}

void Game::offerInsertButton() {
    // None under an end card: a click on the card where a hidden button stood would
    // still deliver the fruit, and change the card's answer.
    offeredSlot = TreeSlot::None;
    for (int32_t stall = 0; stall < kStallCount && !hasOutcome(); ++stall) {
        if (touchesCharacter(stallSprites[stall]) && !slotFilled[stall]) {
            insertButtonSprite.setPosition(kInsertButtonPositions[stall]);
            currentSlot = stall;
            offeredSlot = stall;
        }
    }
}

void Game::updateInsertButton() {
    // The button only answers where it is drawn, beside a free stall: a click on
    // the spot where it stood earlier must not overwrite a filled slot. Enter or
    // Space presses it too, but not under an end card, where Enter plays again.
    const bool keyed = (keyWasPressed(sf::Keyboard::Return) || keyWasPressed(sf::Keyboard::Space)) &&
                       !hasOutcome();
    const bool clicked =
        (updateSmallButton(insertButtonSprite) || keyed) && offeredSlot != TreeSlot::None;
    if (clicked && carriedFruit != kNoFruit) {
        insertRequested = true;
        playEffect(placeInTreeSound);
        if (currentSlot >= 0 && currentSlot < kStallCount) {
            slotFilled[currentSlot] = true;
            slotFruit[currentSlot] = carriedFruit;
        }
    } else {
        insertRequested = false;
    }
}
