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
    const sf::Sprite* endPicture = nullptr;
    if (match.won) {
        endPicture = match.practice ? &pictures.practiceCompleteSprite : &pictures.wonSprite;
    } else if (match.loss == LossCause::WrongSlot) {
        endPicture = &pictures.lostPositionSprite;
    } else if (match.loss == LossCause::WrongRotation) {
        endPicture = &pictures.lostRotationSprite;
    } else if (match.loss == LossCause::RepeatedKey) {
        endPicture = &pictures.lostKeySprite;
    } else if (match.loss == LossCause::TimeOut) {
        endPicture = &pictures.lostTimeSprite;
    } else if (match.loss == LossCause::Stuck) {
        endPicture = &pictures.lostStuckSprite;
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
    // The card's little tree: a fruit in a slot, and the fruits of the first three levels.
    const auto drawSlotFruit = [this](int32_t fruit, int32_t slot) {
        pictures.answerFruitSprite.setTextureRect(sheetCell(fruit, kFruitCellSize, kFruitCellSize));
        pictures.answerFruitSprite.setScale(kSmallFruitScale, kSmallFruitScale);
        centreOn(pictures.answerFruitSprite, kCardSlotCentres[slot]);
        window.draw(pictures.answerFruitSprite);
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
        pictures.captionSprite.setTextureRect(
            sf::IntRect(0, caption * kCaptionHeight, kCaptionWidth, kCaptionHeight));
        centreOn(pictures.captionSprite, centre);
        window.draw(pictures.captionSprite);
    };
    const auto drawFruit = [this](int32_t fruit, sf::Vector2f centre, float scale) {
        pictures.answerFruitSprite.setTextureRect(sheetCell(fruit, kFruitCellSize, kFruitCellSize));
        pictures.answerFruitSprite.setScale(scale, scale);
        centreOn(pictures.answerFruitSprite, centre);
        window.draw(pictures.answerFruitSprite);
    };
    const auto drawBigFruit = [&drawFruit](int32_t fruit) { drawFruit(fruit, kCardFruitCentre, 1); };
    const auto drawSeconds = [this](int32_t seconds, sf::Vector2f centre) {
        pictures.answerTimerSprite.setTextureRect(sheetCell(seconds, kTimerCellWidth, kTimerCellHeight));
        centreOn(pictures.answerTimerSprite, centre);
        window.draw(pictures.answerTimerSprite);
    };

    if (match.won && match.practice) {
        drawNumber(match.wonSeconds, kCardPracticeTimeCentre, Digit::Seconds);
        for (int32_t row = 0; row < 4; ++row) {
            drawNumber(match.mistakes[kPracticeMistakeKinds[row]], kCardMistakeCentres[row]);
        }
    } else if (match.won) {
        drawSeconds(match.wonSeconds, kCardWonTimeCentre);
        if (bestSeconds >= 0) {
            drawSeconds(bestSeconds, kCardBestTimeCentre);
        }
        if (newRecord || bestSeconds < 0) {
            drawCaption(newRecord ? Caption::NewRecord : Caption::NoRecord,
                        kCardRecordCaptionCentre);
        }
    } else if (match.loss == LossCause::WrongSlot) {
        // The misplaced fruit entered neither tree: the card shows the tree as it
        // stood with the fruit where plain insertion puts it, before any rotation.
        // Below the third level no stall was right and it was one for the bin.
        const int32_t place = placeOfKey(match.reference.root, match.deliveredFruit);
        drawTree(match.reference.root);
        if (place != TreeSlot::None) {
            drawSlotFruit(match.deliveredFruit, place);
        }
        if (match.deliveredSlot >= 0 && match.deliveredSlot < kStallCount) {
            drawCaption(Caption::Cross, kCardSlotCentres[match.deliveredSlot]);
        }
        drawBigFruit(match.deliveredFruit);
        if (place == TreeSlot::None) {
            drawCaption(Caption::Bin, kCardCaptionCentre);
        }
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
        drawCaption(Caption::FirstCount + filledSlots(match.player.root), kCardCaptionCentre);
    } else if (match.loss == LossCause::Stuck && match.deadEnd.stuck) {
        // The tree as the last move left it, the closed stall signed; on the right
        // "between 49 and 50", "below 0" or "above 99", then what the card prints:
        // no new number fits.
        drawTree(match.player.root);
        drawCaption(Caption::NoEntry, kCardSlotCentres[match.deadEnd.slot]);
        if (match.deadEnd.below < 0) {
            drawCaption(Caption::BelowFirst, kCardNeighboursWordCentre);
            drawFruit(match.deadEnd.above, kCardNeighbourCentre, kNeighbourFruitScale);
        } else if (match.deadEnd.above >= kFruitCount) {
            drawCaption(Caption::AboveLast, kCardNeighboursWordCentre);
            drawFruit(match.deadEnd.below, kCardNeighbourCentre, kNeighbourFruitScale);
        } else {
            drawCaption(Caption::Between, kCardNeighboursWordCentre);
            drawFruit(match.deadEnd.below, kCardNeighbourCentres[0], kNeighbourFruitScale);
            drawCaption(Caption::And, kCardNeighbourCentre);
            drawFruit(match.deadEnd.above, kCardNeighbourCentres[1], kNeighbourFruitScale);
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
