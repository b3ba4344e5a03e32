// Every frame the player's tree is compared with the reference tree. Equal trees
// mean the last move was right. The delivery has already turned away a fruit at
// the wrong stall, so a difference is the AVL insertion's rotation, which the
// player must name.
#include <algorithm>
#include <iterator>

#include "app/game.hpp"

namespace {

// Rotation buttons in the order they stand, top to bottom, each with the kind it
// names and the number key that presses it (shown on the button), on the top row
// or on the keypad.
struct RotationButton {
    sf::Sprite Game::*sprite;
    int32_t kind;
    sf::Keyboard::Key key;
    sf::Keyboard::Key keypadKey;
};

const RotationButton kRotationButtons[] = {
    {&Game::rotateRightButtonSprite, RotationKind::SingleRight, sf::Keyboard::Num1,
     sf::Keyboard::Numpad1},
    {&Game::doubleRotateRightButtonSprite, RotationKind::DoubleRight, sf::Keyboard::Num2,
     sf::Keyboard::Numpad2},
    {&Game::rotateLeftButtonSprite, RotationKind::SingleLeft, sf::Keyboard::Num3,
     sf::Keyboard::Numpad3},
    {&Game::doubleRotateLeftButtonSprite, RotationKind::DoubleLeft, sf::Keyboard::Num4,
     sf::Keyboard::Numpad4},
};

}  // namespace

void Game::judgeTrees() {
    // Once the match is decided nothing may change the verdict, also not a click on
    // a rotation button hidden under the end picture.
    if (hasOutcome()) {
        return;
    }
    if (sameShapeAndKeys(balancedRoot, playerRoot)) {
        bool everySlotShown = true;
        for (int32_t slot = 0; slot < kStallCount; ++slot) {
            everySlotShown = everySlotShown && slotFruit[slot] != kNoFruit;
        }
        if (everySlotShown && filledSlots(playerRoot) == kStallCount) {
            winMatch();
        }
        return;
    }
    // A guard kept for safety: every delivery that could make the trees differ
    // without a rotation has already lost, so no move reaches this.
    if (pendingRotation == RotationKind::None) {
        loseMatch(LossCause::WrongSlot);
        return;
    }

    movementEnabled = false;
    standStill();
    // Every button shows its frame; the first press of the turn that names a
    // rotation, by click or by key, is the answer.
    bool clicked[std::size(kRotationButtons)];
    for (size_t at = 0; at < std::size(kRotationButtons); ++at) {
        clicked[at] = updateButton(this->*kRotationButtons[at].sprite);
    }
    int32_t named = RotationKind::None;
    for (const sf::Event& event : turnEvents) {
        for (size_t at = 0; at < std::size(kRotationButtons) && named == RotationKind::None; ++at) {
            const RotationButton& button = kRotationButtons[at];
            const bool keyed = event.type == sf::Event::KeyPressed &&
                               (event.key.code == button.key || event.key.code == button.keypadKey);
            const bool pressed = clicked[at] && event.type == sf::Event::MouseButtonPressed &&
                                 isOver(this->*button.sprite, {event.mouseButton.x, event.mouseButton.y});
            named = keyed || pressed ? button.kind : named;
        }
    }
    if (named == RotationKind::None) {
        return;
    }
    recordEvent("rotation", deliveredFruit, rotationCode(named), rotationCode(pendingRotation),
                named == pendingRotation);
    if (named == pendingRotation) {
        playEffect(placeInTreeSound);
        // The character waits until the fruits have reached their new stalls.
        int32_t fruitsBefore[kStallCount];
        std::copy(std::begin(slotFruit), std::end(slotFruit), std::begin(fruitsBefore));
        resyncTrees();
        startStallAnimation(fruitsBefore);
        endIfStuck();
    } else {
        rightRotation = pendingRotation;
        pendingRotation = RotationKind::None;
        loseMatch(LossCause::WrongRotation);
    }
}

void Game::endIfStuck() {
    deadEnd = findDeadEnd(balancedRoot);
    if (deadEnd.stuck) {
        recordEvent("stuck", deliveredFruit, slotCode(deadEnd.slot), "", false);
        loseMatch(LossCause::Stuck);
    }
}

sf::Sprite& Game::rotationButton(int32_t kind) {
    for (const RotationButton& button : kRotationButtons) {
        if (button.kind == kind) {
            return this->*button.sprite;
        }
    }
    return rotateRightButtonSprite;
}

void Game::resyncTrees() {
    destroyTree(&playerRoot);
    copyTree(&balancedRoot, &playerRoot);
    pendingRotation = RotationKind::None;
    showPlayerTree();
}

void Game::showPlayerTree() {
    // The slots show what the player's tree now holds, so the picture and the tree
    // being judged never disagree, whatever rotation took place.
    for (int32_t slot = 0; slot < kStallCount; ++slot) {
        const TreeNode* node = nodeAtSlot(playerRoot, slot);
        slotFilled[slot] = node != nullptr;
        slotFruit[slot] = node != nullptr ? node->key : kNoFruit;
    }
}
