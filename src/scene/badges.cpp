// In practice, H shows beside every filled stall the balance factor of its node in
// the player's tree: the height of its left subtree minus that of its right. They
// are drawn over everything of the market but the end cards, so that the +2 or -2
// of a rotation question can be read beside the question itself.
#include "app/game.hpp"

void Game::drawBalanceFactors() {
    if (!practicing || !balanceShown) {
        return;
    }
    for (int32_t slot = 0; slot < kStallCount; ++slot) {
        if (nodeAtSlot(playerRoot, slot) != nullptr) {
            window.draw(balanceSprites[slot]);
        }
    }
}
