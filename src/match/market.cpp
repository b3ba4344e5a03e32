// The market of seven stalls as the scene's picture draws it.
#include "match/market.hpp"

namespace {

// Top-left corners of the stall pictures: the root alone on top, its children
// below, the four grandchildren on the bottom row.
const Point kStallCorners[] = {
    {493, 130}, {366, 270}, {626, 270}, {297, 442}, {431, 442}, {563, 442}, {695, 442},
};
constexpr float kStallWidth = 84;
constexpr float kStallHeight = 104;
// The solid part: the counter, inside the picture's awning.
constexpr float kStallAreaOffsetX = 15;
constexpr float kStallAreaWidth = 54;
constexpr float kStallAreaHeight = 88;

Market makeSmallMarket() {
    Market market;
    for (const Point corner : kStallCorners) {
        market.stalls.push_back({corner.x, corner.y, kStallWidth, kStallHeight});
        market.stallAreas.push_back({corner.x + kStallAreaOffsetX, corner.y, kStallAreaWidth, kStallAreaHeight});
    }
    market.bin = {385, 125, 70, 80};
    market.laneCount = 6;
    market.laneWidth = 210;
    market.laneBottom = 600;
    market.firstLaneStartY = -100;
    market.laneStartSpacing = 100;
    // Three pixels a frame at sixty frames a second.
    market.fallPixelsPerSecond = 180;
    market.fruitSize = 64 * 0.6f;
    market.character = {105, 400, 43 * 1.1f, 58 * 1.1f};
    market.walkPixelsPerSecond = 180;
    market.leftLimit = 0;
    market.rightLimit = 757;
    market.topLimit = 103;
    market.bottomLimit = 542;
    market.matchSeconds = 90;
    return market;
}

}  // namespace

const Market& smallMarket() {
    static const Market market = makeSmallMarket();
    return market;
}
