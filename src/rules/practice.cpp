// Practice is a match without the clock in which a mistake does not end the game:
// the card of that mistake teaches the same answer a match's card does, and its
// button takes the move back. Only what the delivery changed is undone: the trees,
// the stalls and the hand. The lanes go on and the character stays where it stood.
#include "app/game.hpp"
#include "assets/layout.hpp"

void Game::rememberTrees() {
    destroyTree(&balancedBefore);
    destroyTree(&playerBefore);
    copyTree(&balancedRoot, &balancedBefore);
    copyTree(&playerRoot, &playerBefore);
}

void Game::takeBackMove() {
    destroyTree(&balancedRoot);
    destroyTree(&playerRoot);
    copyTree(&balancedBefore, &balancedRoot);
    copyTree(&playerBefore, &playerRoot);
    showPlayerTree();
    carriedFruit = deliveredFruit;
    carrying = true;
    pendingRotation = RotationKind::None;
    rightRotation = RotationKind::None;
    deadEnd = DeadEnd();
    insertRequested = false;
    lossCause = LossCause::None;
    movementEnabled = true;
    // The time the card stood is no step.
    stepClock.restart();
}

void Game::updateBalanceFactors() {
    if (practicing && keyWasPressed(sf::Keyboard::H)) {
        balanceShown = !balanceShown;
    }
    if (!practicing || !balanceShown) {
        return;
    }
    // Left height minus right height, the way the instructions teach it (the tree's
    // own factor is the other way round); a rotation question shows the +2 or -2
    // it was asked for.
    for (int32_t slot = 0; slot < kStallCount; ++slot) {
        TreeNode* node = nodeAtSlot(playerRoot, slot);
        if (node != nullptr) {
            balanceSprites[slot].setTextureRect(balanceBadgeCell(-balanceFactor(&node)));
        }
    }
}
