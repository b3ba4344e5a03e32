// Where every sprite stands when the pictures are loaded, and where the match
// puts things back. Positions are window pixels of a sprite's top-left corner.
#pragma once

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Rect.hpp>
#include <SFML/System/Vector2.hpp>

#include "app/dimensions.hpp"
#include "app/history.hpp"
#include "match/market.hpp"
#include "match/outcomes.hpp"

// The game's own picture; full screen scales it up whole.
constexpr float kPictureWidth = 800;
constexpr float kPictureHeight = 600;

// Button sheets: three frames one below the other (rest, hover, pressed).
constexpr int32_t kButtonWidth = 201;
constexpr int32_t kButtonHeight = 71;
constexpr int32_t kButtonHoverTop = 74;
constexpr int32_t kButtonPressedTop = 142;
constexpr int32_t kSmallButtonWidth = 102;
constexpr int32_t kSmallButtonHeight = 39;
constexpr int32_t kSmallButtonHoverTop = 39;
constexpr int32_t kSmallButtonPressedTop = 78;
const sf::IntRect kButtonRestFrame{0, 0, kButtonWidth, kButtonHeight};
const sf::IntRect kSmallButtonRestFrame{0, 0, kSmallButtonWidth, kSmallButtonHeight};

// Sheet cells.
constexpr int32_t kFruitCellSize = 64;
constexpr int32_t kSheetColumns = 10;
constexpr int32_t kTimerCellWidth = 79;
constexpr int32_t kTimerCellHeight = 64;
constexpr int32_t kCharacterFrameWidth = 43;
constexpr int32_t kCharacterFrameHeight = 58;
constexpr float kSmallFruitScale = 0.6f;
constexpr float kCharacterScale = 1.1f;

// Play, practice, instructions, results, quit: one column, top to bottom, the way
// out last, where people look for it.
const sf::Vector2f kMenuButtonPositions[5] = {{20, 90}, {20, 170}, {20, 250}, {20, 330}, {20, 410}};
const sf::Vector2f kBackButtonPosition{150, 515};
// The menu's choice of market below the buttons: a sheet of two frames, one above
// the other, the small market's option lit in the first and the big one's in the
// second; the left part of either frame is the small market's option.
const sf::Vector2f kMarketSelectorPosition{20, 500};
constexpr int32_t kMarketSelectorWidth = 201;
constexpr int32_t kMarketSelectorHeight = 80;
constexpr float kMarketSelectorSmallWidth = 100;
inline sf::IntRect marketSelectorFrame(int32_t stalls) {
    const int32_t top = stalls == TreeSlot::FourLevelCount ? kMarketSelectorHeight : 0;
    return sf::IntRect(0, top, kMarketSelectorWidth, kMarketSelectorHeight);
}
// The instructions' pages share a small button below the rules, beside the way
// back: to the second page on the first, to the first on the second.
const sf::Vector2f kPageButtonPosition{30, 531};
const sf::Vector2f kCarriedFruitPosition{367, 11};
const sf::Vector2f kRotationButtonPositions[4] = {{34, 258}, {34, 338}, {34, 418}, {34, 498}};
const sf::Vector2f kPlayAgainButtonPosition{299, 468};
const sf::Vector2f kTimerPosition{466, 15};
// The market's top right corner, under the chalkboard and off every stall.
const sf::Vector2f kLeaveButtonPosition{692, 108};
// Top left, above where the character can walk: no button, the timer or the
// hand display is there on any screen.
const sf::Vector2f kMutedSignPosition{6, 6};

// Stall k stands for tree slot k, where the market has its picture.
inline sf::Vector2f stallCorner(int32_t stall) {
    const Box& box = smallMarket().stalls[stall];
    return sf::Vector2f(box.left, box.top);
}
// Beside each stall, indexed the same way: the insert button offered above it and
// the fruit shown in it.
const sf::Vector2f kInsertButtonPositions[kStallCount] = {
    {482, 89}, {355, 228}, {614, 228}, {283, 400}, {420, 400}, {551, 400}, {682, 400},
};
const sf::Vector2f kSlotFruitPositions[kStallCount] = {
    {516, 153}, {389, 293}, {649, 293}, {320, 465}, {454, 465}, {586, 465}, {718, 465},
};

// The big market's stalls are drawn from the market's own boxes: the fruit in the
// stall's window, the insert button centred above it, the badge at its top right.
const sf::Vector2f kBigStallFruitOffset{10, 13};
const sf::Vector2f kBigInsertButtonOffset{29 - kSmallButtonWidth / 2.f, -41};
const sf::Vector2f kBigBadgeOffset{30, -10};
// The highlight of the question of where, and the mark of the stall a rotation
// turned while the fruits travel: a rounded frame a little larger than the stall.
constexpr float kStallMarkMargin = 5;
constexpr float kStallMarkThickness = 4;

inline sf::Vector2f cornerOf(const Box& box) { return sf::Vector2f(box.left, box.top); }
inline sf::Vector2f stallFruitPosition(const Market& market, int32_t slot) {
    return market.asksWhere ? cornerOf(market.stalls[slot]) + kBigStallFruitOffset : kSlotFruitPositions[slot];
}
inline sf::Vector2f insertButtonPosition(const Market& market, int32_t slot) {
    return market.asksWhere ? cornerOf(market.stalls[slot]) + kBigInsertButtonOffset : kInsertButtonPositions[slot];
}

// A four-level tree drawn small: the centre of a slot, the bottom row's eight
// `pitch` apart from `left`, each parent over the middle of its children, the rows
// `rowPitch` apart from `top`.
inline sf::Vector2f fourLevelCentre(int32_t slot, float left, float top, float pitch, float rowPitch) {
    int32_t level = 0;
    while (slot >= (2 << level) - 1) {
        ++level;
    }
    const int32_t index = slot - ((1 << level) - 1);
    const int32_t span = 1 << (3 - level);
    return sf::Vector2f(left + pitch * (index * span + (span - 1) / 2.f), top + rowPitch * level);
}

// The answer drawn into an end card: a tree of seven slots on the left (centres,
// indexed by slot), a fruit and a caption on the right, the correct rotation's
// button, and the won match's time beside the best time. All of it lies below
// kCardAnswerTop; above it each card only shows its own picture.
constexpr float kCardAnswerTop = 226;
const sf::Vector2f kCardSlotCentres[kStallCount] = {
    {330, 290}, {265, 345}, {395, 345}, {232, 410}, {297, 410}, {363, 410}, {428, 410},
};
// The colours the cards print their little trees in.
const sf::Color kCardPanelColour{255, 250, 234};
const sf::Color kCardSpotColour{244, 226, 190};
const sf::Color kCardRopeColour{190, 150, 100};
const sf::Color kCardInkColour{61, 38, 30};
const sf::Color kCardRingColour{250, 176, 40};
constexpr float kCardRopeWidth = 3;
// The big market's cards draw their tree of fifteen over the seven printed there.
const sf::FloatRect kCardTreeCover{176, 256, 292, 192};
inline sf::Vector2f bigCardSlotCentre(int32_t slot) { return fourLevelCentre(slot, 198, 282, 36, 46); }
constexpr float kBigCardSpotRadius = 17;
inline sf::Vector2f cardSlotCentre(int32_t stalls, int32_t slot) {
    return stalls == TreeSlot::FourLevelCount ? bigCardSlotCentre(slot) : kCardSlotCentres[slot];
}
// The card of a wrong answer to where: its picture's corner, and its tree of
// fifteen with the balance factors along the path over the left of its panel.
const sf::Vector2f kLostWherePosition{137, 13};
inline sf::Vector2f whereCardSlotCentre(int32_t slot) { return fourLevelCentre(slot, 205, 264, 40, 54); }
constexpr float kWhereCardSpotRadius = 18;
const sf::Vector2f kWhereCardBadgeOffset{6, -32};
const sf::Vector2f kCardFruitCentre{545, 300};
const sf::Vector2f kCardCaptionCentre{545, 412};
const sf::Vector2f kCardButtonPosition{299, 300};
const sf::Vector2f kCardWonTimeCentre{300, 318};
const sf::Vector2f kCardBestTimeCentre{500, 318};
const sf::Vector2f kCardRecordCaptionCentre{500, 400};
// The dead end's card: on the right the word before the numbers that close the
// stall, then those two numbers as fruits with the word between them, or the one
// number where the range itself closes it.
const sf::Vector2f kCardNeighboursWordCentre{545, 252};
const sf::Vector2f kCardNeighbourCentres[2] = {{500, 300}, {590, 300}};
const sf::Vector2f kCardNeighbourCentre{545, 300};
constexpr float kNeighbourFruitScale = 0.75f;

// A practice mistake is shown on its lost card under a heading of its own: one
// sheet, a row for each mistake in the order of LossCause from WrongSlot on, the
// clock (which practice has not) left out.
const sf::Vector2f kPracticeHeadingPosition{150, 96};
constexpr int32_t kPracticeHeadingWidth = 500;
constexpr int32_t kPracticeHeadingHeight = 128;
inline sf::IntRect practiceHeadingCell(int32_t cause) {
    const int32_t row = cause == LossCause::WrongWhere ? 4 : cause - (cause > LossCause::TimeOut ? 2 : 1);
    return sf::IntRect(0, row * kPracticeHeadingHeight, kPracticeHeadingWidth, kPracticeHeadingHeight);
}

// The practice's finished card: the time taken on the left, the mistakes by kind
// on the right, one row each: wrong stall, wrong rotation, repeated number, dead end.
const sf::Vector2f kCardPracticeTimeCentre{290, 320};
constexpr int32_t kPracticeMistakeKinds[4] = {LossCause::WrongSlot, LossCause::WrongRotation,
                                              LossCause::RepeatedKey, LossCause::Stuck};
const sf::Vector2f kCardMistakeCentres[4] = {{590, 290}, {590, 331}, {590, 372}, {590, 413}};
// The big market's card has a row more, for where the tree lost its balance.
constexpr int32_t kBigPracticeMistakeKinds[5] = {LossCause::WrongSlot, LossCause::WrongWhere, LossCause::WrongRotation,
                                                 LossCause::RepeatedKey, LossCause::Stuck};
const sf::Vector2f kBigCardMistakeCentres[5] = {{590, 282}, {590, 316}, {590, 350}, {590, 384}, {590, 418}};

// Badges of the balance factors, one row of cells from -2 to +2, each drawn at
// the top right of its stall.
constexpr int32_t kBadgeWidth = 34;
constexpr int32_t kBadgeHeight = 24;
const sf::Vector2f kBadgeOffset{58, -10};
inline sf::Vector2f badgePosition(const Market& market, int32_t slot) {
    return cornerOf(market.stalls[slot]) + (market.asksWhere ? kBigBadgeOffset : kBadgeOffset);
}

inline sf::IntRect balanceBadgeCell(int32_t factor) {
    const int32_t cell = factor < -2 ? 0 : factor > 2 ? 4 : factor + 2;
    return sf::IntRect(cell * kBadgeWidth, 0, kBadgeWidth, kBadgeHeight);
}

// Digits: one row of cells, 0 to 9, then a percent sign and an "s" for seconds.
constexpr int32_t kDigitWidth = 20;
constexpr int32_t kDigitHeight = 30;
constexpr float kDigitAdvance = 18;
namespace Digit {
constexpr int32_t Percent = 10;
constexpr int32_t Seconds = 11;
}  // namespace Digit

// The results screen. Rotation rows in the order of the question's buttons, each
// with a bar in its track, the share named correctly and how often it was asked,
// and below them a row alike for the stall named where the balance was lost; the
// stalls' share with its bar, and the bin fruits put in a stall; below, for each
// market the matches played and won and its best time, then the practices
// completed and their mistakes; then one mark for each of the last matches, oldest
// on the left.
const float kResultsRotationRowY[4] = {138, 175, 212, 249};
constexpr float kResultsWhereRowY = 290;
constexpr float kResultsRotationTrackX = 200;
constexpr float kResultsRotationTrackWidth = 200;
constexpr float kResultsShareX = 435;
constexpr float kResultsAskedX = 482;
// The two columns of the rotation rows are narrow: their digits are smaller, and
// smaller still where a number would not fit, so that five digits keep clear of
// the track, of each other and of the panel's edge.
constexpr float kResultsSmallDigits = 0.65f;
constexpr float kResultsColumnRoom = 42;
const sf::Vector2f kResultsStallTrack{550, 154};
constexpr float kResultsStallTrackWidth = 210;
const sf::Vector2f kResultsStallShareCentre{655, 187};
const sf::Vector2f kResultsBinToStallCentre{655, 283};
constexpr float kResultsFiguresY = 398;
// By market, in the order of kMarketStalls.
const float kResultsPlayedX[kMarketCount] = {74, 353};
const float kResultsWonX[kMarketCount] = {167, 446};
const float kResultsBestTimeX[kMarketCount] = {260, 539};
constexpr float kResultsPracticesX = 633;
constexpr float kResultsPracticeMistakesX = 726;
// The widest a figure is drawn, within its box: a fourth digit (a big market's
// best time of 100 s or more) makes every digit a little smaller.
constexpr float kResultsFigureRoom = 66;
constexpr int32_t kResultsMarkCount = 20;
constexpr float kResultsFirstMarkX = 58;
constexpr float kResultsMarkSpacing = 36;
constexpr float kResultsMarksY = 486;
constexpr int32_t kBarHeight = 18;
constexpr int32_t kMarkSize = 30;
const sf::Vector2f kResultsBackButtonPosition{299, 527};
// The word for an empty history, over the panels, leaving the row of figures below
// it in view for a best time, which is kept apart from the history.
const sf::Vector2f kResultsEmptyPosition{110, 46};

// The captions sheet: one column of cells, a mark or a short text each.
constexpr int32_t kCaptionWidth = 160;
constexpr int32_t kCaptionHeight = 48;
namespace Caption {
constexpr int32_t Cross = 0;
constexpr int32_t Bin = 1;
constexpr int32_t NewRecord = 2;
constexpr int32_t NoRecord = 3;
// Then "0 de 7" to "7 de 7", filled stalls.
constexpr int32_t FirstCount = 4;
// The sign on a stall no number can fill, and the words around the numbers that
// close it: before two, between them, and before the one where the range ends
// (below 0, above 99).
constexpr int32_t NoEntry = 12;
constexpr int32_t Between = 13;
constexpr int32_t And = 14;
constexpr int32_t BelowFirst = 15;
constexpr int32_t AboveLast = 16;
// Then "0 de 15" to "15 de 15".
constexpr int32_t FirstBigCount = 17;
}  // namespace Caption

// Cell n of a sheet of ten columns, read row by row.
inline sf::IntRect sheetCell(int32_t n, int32_t width, int32_t height) {
    return sf::IntRect(width * (n % kSheetColumns), height * (n / kSheetColumns), width, height);
}
