// Each end card keeps its rule printed and shows, in the room left for it, what
// the correct move of this very match was: where the fruit belonged, the rotation
// that was asked for, the number that was already there, how far the tree got, the
// stall no number can fill any more and the two numbers that close it, or the time
// of the win beside the best time. Everything drawn here is a sprite
// over a picture that is already loaded (fruits, buttons, timer, captions).
#include <algorithm>
#include <cmath>
#include <vector>

#include "app/game.hpp"
#include "assets/layout.hpp"

namespace {

// Puts a sprite's centre on a point of the card.
void centreOn(sf::Sprite& sprite, sf::Vector2f centre) {
    const sf::FloatRect bounds = sprite.getGlobalBounds();
    sprite.setPosition(centre.x - bounds.width / 2, centre.y - bounds.height / 2);
}

}  // namespace

void Game::drawEndScreen() {
    const sf::Sprite* endPicture = pictures.endCard(match.won, match.practice, match.loss, match.stallCount());
    if (match.loss == LossCause::WrongWhere) {
        // The card's picture is the board alone: the market dims behind it here.
        sf::RectangleShape dim(sf::Vector2f(kPictureWidth, kPictureHeight));
        dim.setFillColor(sf::Color(0, 0, 0, 110));
        window.draw(dim);
    }
    if (endPicture == nullptr) {
        return;
    }
    window.draw(*endPicture);
    // In practice the same card teaches the mistake under a heading that corrects it.
    if (match.practice && match.loss != LossCause::None) {
        pictures.practiceHeadingSprite.setTextureRect(practiceHeadingCell(match.loss));
        window.draw(pictures.practiceHeadingSprite);
    }
    drawEndAnswer();
    window.draw(cardButton());
}

void Game::drawEndAnswer() {
    // The card's little tree: a fruit in a slot, and the fruits of the market's levels. The cards print the spots of
    // seven; the big market's are drawn over them, smaller.
    const int32_t stalls = match.stallCount();
    const bool big = match.market->asksWhere;
    const auto slotCentre = [stalls](int32_t slot) { return cardSlotCentre(stalls, slot); };
    const auto drawSlotFruit = [this, &slotCentre](int32_t fruit, int32_t slot) {
        drawCardFruit(fruit, slotCentre(slot), kSmallFruitScale);
    };
    const bool treeCard = match.loss == LossCause::WrongSlot || match.loss == LossCause::RepeatedKey ||
                          match.loss == LossCause::TimeOut || match.loss == LossCause::Stuck;
    if (big && treeCard) {
        sf::RectangleShape cover(sf::Vector2f(kCardTreeCover.width, kCardTreeCover.height));
        cover.setPosition(kCardTreeCover.left, kCardTreeCover.top);
        cover.setFillColor(kCardPanelColour);
        window.draw(cover);
        drawTreeSpots(stalls, bigCardSlotCentre, kBigCardSpotRadius);
    }
    const auto drawTree = [&drawSlotFruit, stalls](TreeNode* root) {
        for (int32_t slot = 0; slot < stalls; ++slot) {
            if (const TreeNode* node = nodeAtSlot(root, slot)) {
                drawSlotFruit(node->key, slot);
            }
        }
    };
    const auto drawBigFruit = [this](int32_t fruit) { drawCardFruit(fruit, kCardFruitCentre, 1); };
    const auto drawSeconds = [this](int32_t seconds, sf::Vector2f centre) {
        sf::Sprite timer = timerPicture(seconds);
        centreOn(timer, centre);
        window.draw(timer);
    };

    if (match.won && match.practice) {
        drawNumber(match.wonSeconds, kCardPracticeTimeCentre, Digit::Seconds);
        for (int32_t row = 0; row < (big ? 5 : 4); ++row) {
            const int32_t kind = big ? kBigPracticeMistakeKinds[row] : kPracticeMistakeKinds[row];
            drawNumber(match.mistakes[kind], big ? kBigCardMistakeCentres[row] : kCardMistakeCentres[row]);
        }
    } else if (match.won) {
        drawSeconds(match.wonSeconds, kCardWonTimeCentre);
        if (bestSeconds >= 0) {
            drawSeconds(bestSeconds, kCardBestTimeCentre);
        }
        if (newRecord || bestSeconds < 0) {
            drawCardCaption(newRecord ? Caption::NewRecord : Caption::NoRecord,
                        kCardRecordCaptionCentre);
        }
    } else if (match.loss == LossCause::WrongSlot) {
        // The misplaced fruit entered neither tree: the card shows the tree as it
        // stood with the fruit where plain insertion puts it, before any rotation.
        // Below the third level no stall was right and it was one for the bin.
        const int32_t place = placeOfKey(match.reference.root, match.deliveredFruit, stalls);
        drawTree(match.reference.root);
        if (place != TreeSlot::None) {
            drawSlotFruit(match.deliveredFruit, place);
        }
        if (match.deliveredSlot >= 0 && match.deliveredSlot < stalls) {
            drawCardCaption(Caption::Cross, slotCentre(match.deliveredSlot));
        }
        drawBigFruit(match.deliveredFruit);
        if (place == TreeSlot::None) {
            drawCardCaption(Caption::Bin, kCardCaptionCentre);
        }
    } else if (match.loss == LossCause::WrongWhere && match.chosenSlot != TreeSlot::None) {
        drawWhereAnswer();
    } else if (match.loss == LossCause::WrongRotation && match.rightRotation != RotationKind::None) {
        pictures.answerButtonSprite = rotationButton(match.rightRotation);
        pictures.answerButtonSprite.setTextureRect(sf::IntRect(0, 0, kButtonWidth, kButtonHeight));
        pictures.answerButtonSprite.setPosition(kCardButtonPosition);
        window.draw(pictures.answerButtonSprite);
    } else if (match.loss == LossCause::RepeatedKey) {
        drawTree(match.reference.root);
        drawBigFruit(match.deliveredFruit);
    } else if (match.loss == LossCause::TimeOut) {
        drawTree(match.player.root);
        drawCardCaption((big ? Caption::FirstBigCount : Caption::FirstCount) + filledSlots(match.player.root, stalls),
                    kCardCaptionCentre);
    } else if (match.loss == LossCause::Stuck && match.deadEnd.stuck) {
        // The tree as the last move left it, the closed stall signed; on the right
        // "between 49 and 50", "below 0" or "above 99", then what the card prints:
        // no new number fits.
        drawTree(match.player.root);
        drawCardCaption(Caption::NoEntry, slotCentre(match.deadEnd.slot));
        if (match.deadEnd.below < 0) {
            drawCardCaption(Caption::BelowFirst, kCardNeighboursWordCentre);
            drawCardFruit(match.deadEnd.above, kCardNeighbourCentre, kNeighbourFruitScale);
        } else if (match.deadEnd.above >= kFruitCount) {
            drawCardCaption(Caption::AboveLast, kCardNeighboursWordCentre);
            drawCardFruit(match.deadEnd.below, kCardNeighbourCentre, kNeighbourFruitScale);
        } else {
            drawCardCaption(Caption::Between, kCardNeighboursWordCentre);
            drawCardFruit(match.deadEnd.below, kCardNeighbourCentres[0], kNeighbourFruitScale);
            drawCardCaption(Caption::And, kCardNeighbourCentre);
            drawCardFruit(match.deadEnd.above, kCardNeighbourCentres[1], kNeighbourFruitScale);
        }
    }
}

void Game::drawCardFruit(int32_t fruit, sf::Vector2f centre, float scale) {
    pictures.answerFruitSprite.setTextureRect(sheetCell(fruit, kFruitCellSize, kFruitCellSize));
    pictures.answerFruitSprite.setScale(scale, scale);
    centreOn(pictures.answerFruitSprite, centre);
    window.draw(pictures.answerFruitSprite);
}

void Game::drawCardCaption(int32_t caption, sf::Vector2f centre) {
    // One column: the cell's row is the caption's number.
    pictures.captionSprite.setTextureRect(sf::IntRect(0, caption * kCaptionHeight, kCaptionWidth, kCaptionHeight));
    centreOn(pictures.captionSprite, centre);
    window.draw(pictures.captionSprite);
}

void Game::drawTreeSpots(int32_t stalls, sf::Vector2f (*centre)(int32_t), float radius) {
    // The ropes first, then a sunk spot for each stall, as the cards print theirs.
    for (int32_t child = 1; child < stalls; ++child) {
        const sf::Vector2f from = centre((child - 1) / 2);
        const sf::Vector2f way = centre(child) - from;
        sf::RectangleShape rope(sf::Vector2f(std::hypot(way.x, way.y), kCardRopeWidth));
        rope.setOrigin(0, kCardRopeWidth / 2);
        rope.setPosition(from);
        rope.setRotation(std::atan2(way.y, way.x) * 180 / 3.14159265f);
        rope.setFillColor(kCardRopeColour);
        window.draw(rope);
    }
    sf::CircleShape spot(radius - 2);
    spot.setOrigin(radius - 2, radius - 2);
    spot.setFillColor(kCardSpotColour);
    spot.setOutlineColor(kCardInkColour);
    spot.setOutlineThickness(2);
    for (int32_t slot = 0; slot < stalls; ++slot) {
        spot.setPosition(centre(slot));
        window.draw(spot);
    }
}

void Game::drawWhereAnswer() {
    // The tree as the fruit left it, nothing rotated; along the fruit's path up to the root each stall's balance
    // factor; a cross on the stall chosen and a ring on the lowest one out of balance.
    drawTreeSpots(match.stallCount(), whereCardSlotCentre, kWhereCardSpotRadius);
    for (int32_t slot = 0; slot < match.stallCount(); ++slot) {
        if (const TreeNode* node = nodeAtSlot(match.player.root, slot)) {
            drawCardFruit(node->key, whereCardSlotCentre(slot), kSmallFruitScale);
        }
    }
    sf::CircleShape ring(kWhereCardSpotRadius + 3);
    ring.setOrigin(kWhereCardSpotRadius + 3, kWhereCardSpotRadius + 3);
    ring.setFillColor(sf::Color::Transparent);
    ring.setOutlineColor(kCardRingColour);
    ring.setOutlineThickness(4);
    ring.setPosition(whereCardSlotCentre(match.unbalancedSlot));
    window.draw(ring);
    // The factors over the cross: they are what the card teaches.
    drawCardCaption(Caption::Cross, whereCardSlotCentre(match.chosenSlot));
    for (const int32_t slot : slotPath(match.deliveredSlot)) {
        TreeNode* node = nodeAtSlot(match.player.root, slot);
        if (node != nullptr) {
            sf::Sprite& badge = pictures.balanceSprites[slot];
            badge.setTextureRect(balanceBadgeCell(-balanceFactor(&node)));
            badge.setPosition(whereCardSlotCentre(slot) + kWhereCardBadgeOffset);
            window.draw(badge);
        }
    }
}

void Game::drawNumber(int32_t value, sf::Vector2f centre, int32_t suffix, float scale, float widest) {
    std::vector<int32_t> cells;
    for (int32_t rest = std::max(value, 0); rest > 0 || cells.empty(); rest /= 10) {
        cells.insert(cells.begin(), rest % 10);
    }
    if (suffix >= 0) {
        cells.push_back(suffix);
    }
    const float natural = kDigitAdvance * static_cast<float>(cells.size() - 1) + kDigitWidth;
    scale = std::min(scale, widest / natural);
    const float width = natural * scale;
    sf::Vector2f at(std::round(centre.x - width / 2), std::round(centre.y - kDigitHeight * scale / 2));
    pictures.digitSprite.setScale(scale, scale);
    for (const int32_t cell : cells) {
        pictures.digitSprite.setTextureRect(sf::IntRect(cell * kDigitWidth, 0, kDigitWidth, kDigitHeight));
        pictures.digitSprite.setPosition(at);
        window.draw(pictures.digitSprite);
        at.x += kDigitAdvance * scale;
    }
}
