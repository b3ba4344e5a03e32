// The results screen: what the history says of every judged move, as pictures.
// The history is read once, when the screen opens, and never while a match runs;
// lines it cannot read are passed over. Each turn draws one whole frame and then
// pauses, as the menu does.
#include <algorithm>

#include "app/best_time.hpp"
#include "app/game.hpp"
#include "assets/layout.hpp"

namespace {

// The whole percent of `part` in `whole`, rounded down so that 100 means all.
int32_t percentOf(int32_t part, int32_t whole) {
    return whole > 0 ? static_cast<int32_t>(static_cast<int64_t>(part) * 100 / whole) : 0;
}

}  // namespace

void Game::openResults() {
    results = summarizeHistory(historyPath());
    for (int32_t market = 0; market < kMarketCount; ++market) {
        resultsBestSeconds[market] = readBestTime(kMarketStalls[market]);
    }
    screen = GameScreen::Results;
}

void Game::actOnResults() {
    if (updateButton(pictures.resultsBackButtonSprite) || keyWasPressed(sf::Keyboard::Return)) {
        screen = GameScreen::Menu;
    }
}

void Game::drawResults() {
    window.clear(sf::Color(0, 0, 0, 255));
    window.draw(pictures.resultsSprite);
    // A figure of the lower panel, in its box.
    const auto drawFigure = [this](int32_t value, float x, int32_t suffix = -1) {
        drawNumber(value, {x, kResultsFiguresY}, suffix, 1, kResultsFigureRoom);
    };
    if (results.records == 0) {
        window.draw(pictures.resultsEmptySprite);
    } else {
        // A share as a green bar over a coral one, both cropped from their left ends.
        const auto drawShare = [this](int32_t part, int32_t whole, sf::Vector2f left, float width) {
            if (whole <= 0) {
                return;
            }
            const float shown = width * static_cast<float>(part) / static_cast<float>(whole);
            for (int32_t row = 1; row >= 0; --row) {
                const int32_t cropped = static_cast<int32_t>(row == 1 ? width : shown);
                pictures.barSprite.setTextureRect(sf::IntRect(0, row * kBarHeight, cropped, kBarHeight));
                pictures.barSprite.setPosition(left.x, left.y - kBarHeight / 2.f);
                window.draw(pictures.barSprite);
            }
        };
        // A question's row: its bar, the share named correctly and how often it was asked.
        const auto drawRow = [&](int32_t named, int32_t asked, float y) {
            drawShare(named, asked, sf::Vector2f(kResultsRotationTrackX, y), kResultsRotationTrackWidth);
            if (asked > 0) {
                const int32_t share = percentOf(named, asked);
                drawNumber(share, {kResultsShareX, y}, Digit::Percent, kResultsSmallDigits, kResultsColumnRoom);
            }
            drawNumber(asked, {kResultsAskedX, y}, -1, kResultsSmallDigits, kResultsColumnRoom);
        };
        for (int32_t kind = 0; kind < 4; ++kind) {
            drawRow(results.rotationsNamed[kind], results.rotationsAsked[kind], kResultsRotationRowY[kind]);
        }
        drawRow(results.balancesNamed, results.balancesAsked, kResultsWhereRowY);
        const int32_t placed = results.matchStalls.placed + results.practiceStalls.placed;
        const int32_t placedRight = results.matchStalls.correct + results.practiceStalls.correct;
        drawShare(placedRight, placed, kResultsStallTrack, kResultsStallTrackWidth);
        if (placed > 0) {
            drawNumber(percentOf(placedRight, placed), kResultsStallShareCentre, Digit::Percent);
        }
        drawNumber(results.matchStalls.binToStall + results.practiceStalls.binToStall, kResultsBinToStallCentre);
        for (int32_t market = 0; market < kMarketCount; ++market) {
            drawFigure(results.matches[market].played, kResultsPlayedX[market]);
            drawFigure(results.matches[market].won, kResultsWonX[market]);
        }
        drawFigure(results.practicesCompleted, kResultsPracticesX);
        drawFigure(results.practiceMistakes, kResultsPracticeMistakesX);
        const size_t marks = std::min<size_t>(results.lastOutcomes.size(), kResultsMarkCount);
        for (size_t at = 0; at < marks; ++at) {
            const int32_t outcome = results.lastOutcomes[results.lastOutcomes.size() - marks + at];
            pictures.markSprite.setTextureRect(sf::IntRect(outcome * kMarkSize, 0, kMarkSize, kMarkSize));
            const float x = kResultsFirstMarkX + kResultsMarkSpacing * static_cast<float>(at);
            pictures.markSprite.setPosition(x - kMarkSize / 2.f, kResultsMarksY - kMarkSize / 2.f);
            window.draw(pictures.markSprite);
        }
    }
    // The records are files of their own: a history begun afresh keeps them.
    for (int32_t market = 0; market < kMarketCount; ++market) {
        if (resultsBestSeconds[market] >= 0) {
            drawFigure(resultsBestSeconds[market], kResultsBestTimeX[market], Digit::Seconds);
        }
    }
    window.draw(pictures.resultsBackButtonSprite);
}
