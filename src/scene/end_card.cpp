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

void Game::drawEndAnswer() {
    // The card's little tree: a fruit in a slot, and the fruits of the first three levels.
    const auto drawSlotFruit = [this](int32_t fruit, int32_t slot) {
        answerFruitSprite.setTextureRect(sheetCell(fruit, kFruitCellSize, kFruitCellSize));
        answerFruitSprite.setScale(kSmallFruitScale, kSmallFruitScale);
        centreOn(answerFruitSprite, kCardSlotCentres[slot]);
        window.draw(answerFruitSprite);
    };
    const auto drawTree = [&drawSlotFruit](TreeNode* root) {
        for (int32_t slot = 0; slot < kStallCount; ++slot) {
            if (const TreeNode* node = nodeAtSlot(root, slot)) {
                drawSlotFruit(node->key, slot);
            }
        }
    };
    const auto drawCaption = [this](int32_t caption, sf::Vector2f centre) {
        // One column: the cell's row is the caption's number.
        captionSprite.setTextureRect(
            sf::IntRect(0, caption * kCaptionHeight, kCaptionWidth, kCaptionHeight));
        centreOn(captionSprite, centre);
        window.draw(captionSprite);
    };
    const auto drawFruit = [this](int32_t fruit, sf::Vector2f centre, float scale) {
        answerFruitSprite.setTextureRect(sheetCell(fruit, kFruitCellSize, kFruitCellSize));
        answerFruitSprite.setScale(scale, scale);
        centreOn(answerFruitSprite, centre);
        window.draw(answerFruitSprite);
    };
    const auto drawBigFruit = [&drawFruit](int32_t fruit) { drawFruit(fruit, kCardFruitCentre, 1); };
    const auto drawSeconds = [this](int32_t seconds, sf::Vector2f centre) {
        answerTimerSprite.setTextureRect(sheetCell(seconds, kTimerCellWidth, kTimerCellHeight));
        centreOn(answerTimerSprite, centre);
        window.draw(answerTimerSprite);
    };

    if (matchWon != 0 && practicing) {
        drawNumber(wonSeconds, kCardPracticeTimeCentre, Digit::Seconds);
        for (int32_t row = 0; row < 4; ++row) {
            drawNumber(practiceMistakes[kPracticeMistakeKinds[row]], kCardMistakeCentres[row]);
        }
    } else if (matchWon != 0) {
        drawSeconds(wonSeconds, kCardWonTimeCentre);
        if (bestSeconds >= 0) {
            drawSeconds(bestSeconds, kCardBestTimeCentre);
        }
        if (newRecord || bestSeconds < 0) {
            drawCaption(newRecord ? Caption::NewRecord : Caption::NoRecord,
                        kCardRecordCaptionCentre);
        }
    } else if (lossCause == LossCause::WrongSlot) {
        // The misplaced fruit entered neither tree: the card shows the tree as it
        // stood with the fruit where plain insertion puts it, before any rotation.
        // Below the third level no stall was right and it was one for the bin.
        const int32_t place = placeOfKey(balancedRoot, deliveredFruit);
        drawTree(balancedRoot);
        if (place != TreeSlot::None) {
            drawSlotFruit(deliveredFruit, place);
        }
        if (deliveredSlot >= 0 && deliveredSlot < kStallCount) {
            drawCaption(Caption::Cross, kCardSlotCentres[deliveredSlot]);
        }
        drawBigFruit(deliveredFruit);
        if (place == TreeSlot::None) {
            drawCaption(Caption::Bin, kCardCaptionCentre);
        }
    } else if (lossCause == LossCause::WrongRotation && rightRotation != RotationKind::None) {
        answerButtonSprite = rotationButton(rightRotation);
        answerButtonSprite.setTextureRect(sf::IntRect(0, 0, kButtonWidth, kButtonHeight));
        answerButtonSprite.setPosition(kCardButtonPosition);
        window.draw(answerButtonSprite);
    } else if (lossCause == LossCause::RepeatedKey) {
        drawTree(balancedRoot);
        drawBigFruit(deliveredFruit);
    } else if (lossCause == LossCause::TimeOut) {
        drawTree(playerRoot);
        drawCaption(Caption::FirstCount + filledSlots(playerRoot), kCardCaptionCentre);
    } else if (lossCause == LossCause::Stuck && deadEnd.stuck) {
        // The tree as the last move left it, the closed stall signed; on the right
        // "between 49 and 50", "below 0" or "above 99", then what the card prints:
        // no new number fits.
        drawTree(playerRoot);
        drawCaption(Caption::NoEntry, kCardSlotCentres[deadEnd.slot]);
        if (deadEnd.below < 0) {
            drawCaption(Caption::BelowFirst, kCardNeighboursWordCentre);
            drawFruit(deadEnd.above, kCardNeighbourCentre, kNeighbourFruitScale);
        } else if (deadEnd.above >= kFruitCount) {
            drawCaption(Caption::AboveLast, kCardNeighboursWordCentre);
            drawFruit(deadEnd.below, kCardNeighbourCentre, kNeighbourFruitScale);
        } else {
            drawCaption(Caption::Between, kCardNeighboursWordCentre);
            drawFruit(deadEnd.below, kCardNeighbourCentres[0], kNeighbourFruitScale);
            drawCaption(Caption::And, kCardNeighbourCentre);
            drawFruit(deadEnd.above, kCardNeighbourCentres[1], kNeighbourFruitScale);
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
    digitSprite.setScale(scale, scale);
    for (const int32_t cell : cells) {
        digitSprite.setTextureRect(sf::IntRect(cell * kDigitWidth, 0, kDigitWidth, kDigitHeight));
        digitSprite.setPosition(at);
        window.draw(digitSprite);
        at.x += kDigitAdvance * scale;
    }
}
