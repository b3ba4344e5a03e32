// The two markets as the scene's pictures draw them.
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

// The big market's stalls are smaller and in four rows: the eight of the bottom
// row stand 66 pixels apart between the orchard and the window's right edge, each
// parent centred over its children, and a row lies 122 pixels below the one above,
// so that the character fits between the counters of one row and the awnings of
// the next while it stands at a stall.
constexpr float kBigStallWidth = 58;
constexpr float kBigStallHeight = 62;
constexpr float kBigStallAreaOffsetX = 6;
constexpr float kBigStallAreaWidth = 46;
constexpr float kBigStallAreaHeight = 48;
constexpr float kBigBottomRowLeft = 274;
constexpr float kBigStallSpacing = 66;
constexpr float kBigFirstRowTop = 110;
constexpr float kBigRowSpacing = 122;

// What both markets share: the lanes, the character and where it walks.
void placeLanesAndCharacter(Market& market) {
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
}

Market makeSmallMarket() {
    Market market;
    for (const Point corner : kStallCorners) {
        market.stalls.push_back({corner.x, corner.y, kStallWidth, kStallHeight});
        market.stallAreas.push_back({corner.x + kStallAreaOffsetX, corner.y, kStallAreaWidth, kStallAreaHeight});
    }
    market.bin = {385, 125, 70, 80};
    placeLanesAndCharacter(market);
    market.matchSeconds = 90;
    return market;
}

Market makeBigMarket() {
    Market market;
    constexpr int32_t kLevels = 4;
    for (int32_t level = 0; level < kLevels; ++level) {
        // A stall of this row spans 2^(3 - level) stalls of the bottom row.
        const int32_t span = 1 << (kLevels - 1 - level);
        for (int32_t index = 0; index < (1 << level); ++index) {
            const float middle = kBigBottomRowLeft + kBigStallSpacing * (index * span + (span - 1) / 2.f);
            const Point corner{middle, kBigFirstRowTop + kBigRowSpacing * level};
            market.stalls.push_back({corner.x, corner.y, kBigStallWidth, kBigStallHeight});
            market.stallAreas.push_back(
                {corner.x + kBigStallAreaOffsetX, corner.y, kBigStallAreaWidth, kBigStallAreaHeight});
        }
    }
    market.bin = {290, 112, 70, 80};
    placeLanesAndCharacter(market);
    market.matchSeconds = 180;
    market.asksWhere = true;
    return market;
}

}  // namespace

const Market& smallMarket() {
    static const Market market = makeSmallMarket();
    return market;
}

const Market& bigMarket() {
    static const Market market = makeBigMarket();
    return market;
}

const Market& marketOf(int32_t stalls) { return stalls == TreeSlot::FourLevelCount ? bigMarket() : smallMarket(); }
