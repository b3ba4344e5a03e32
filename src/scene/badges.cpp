// In practice, H shows beside every filled stall the balance factor of its node in
// the player's tree: the height of its left subtree minus that of its right (the
// tree's own factor is the other way round), so a rotation question shows the +2
// or -2 it was asked for. They are drawn over everything of the market but the end
// cards.
#include "app/game.hpp"
#include "assets/layout.hpp"

void Game::drawBalanceFactors() {
    if (!match.practice || !match.badgesShown) {
        return;
    }
    for (int32_t slot = 0; slot < match.stallCount(); ++slot) {
        if (TreeNode* node = nodeAtSlot(match.player.root, slot)) {
            pictures.balanceSprites[slot].setTextureRect(balanceBadgeCell(-balanceFactor(&node)));
            pictures.balanceSprites[slot].setPosition(badgePosition(*match.market, slot));
            window.draw(pictures.balanceSprites[slot]);
        }
    }
}
