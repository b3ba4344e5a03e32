// Every frame the player's tree is compared with the reference tree. Equal trees
// mean the last move was right; a difference is a wrong slot, unless the AVL
// insertion rotated, in which case the player must name the rotation.
#include "app/game.hpp"

namespace {

// Rotation buttons in the order they are asked, each with the kind it names.
struct RotationButton {
    sf::Sprite Game::*sprite;
    int32_t kind;
};

const RotationButton kRotationButtons[] = {
    {&Game::rotateRightButtonSprite, RotationKind::SingleRight},
    {&Game::doubleRotateRightButtonSprite, RotationKind::DoubleRight},
    {&Game::rotateLeftButtonSprite, RotationKind::SingleLeft},
    {&Game::doubleRotateLeftButtonSprite, RotationKind::DoubleLeft},
};

// All seven slots hold a node: the player's tree is a complete three-level tree.
bool everySlotHasANode(TreeNode* root) {
    for (int32_t slot = 0; slot < kStallCount; ++slot) {
        if (nodeAtSlot(root, slot) == nullptr) {
            return false;
        }
    }
    return true;
}

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
        if (everySlotShown && everySlotHasANode(playerRoot)) {
            winMatch();
        }
        return;
    }
    if (pendingRotation == RotationKind::None) {
        loseMatch(LossCause::WrongSlot);
        return;
    }

    movementEnabled = false;
    standStill();
    for (const RotationButton& button : kRotationButtons) {
        if (!updateButton(this->*button.sprite)) {
            continue;
        }
        if (pendingRotation == button.kind) {
            placeInTreeSound.play();
            resyncTrees();
            movementEnabled = true;
        } else {
            pendingRotation = RotationKind::None;
            loseMatch(LossCause::WrongRotation);
        }
    }
}

void Game::resyncTrees() {
    destroyTree(&playerRoot);
    copyTree(&balancedRoot, &playerRoot);
    pendingRotation = RotationKind::None;
    horizontalVelocity.x = kWalkPixelsPerSecond;
    verticalVelocity.y = kWalkPixelsPerSecond;
    // The slots show what the player's tree now holds, so the picture and the tree
    // being judged never disagree, whatever rotation took place.
    for (int32_t slot = 0; slot < kStallCount; ++slot) {
        const TreeNode* node = nodeAtSlot(playerRoot, slot);
        slotFilled[slot] = node != nullptr;
        slotFruit[slot] = node != nullptr ? node->key : kNoFruit;
    }
}
