// What a player sees and does of a match through the window: real keys walk only while the window has the
// keyboard; clicks and keys become the match's moves; every ending's card shows this match's answer; the rotation
// question and the stall fruits travelling; a practice's correction, its heading, its take-back and its badges.
// The rules themselves are tested without a window, through src/match alone.
#include <X11/Xlib.h>
#undef None
#undef Status
#undef Bool
#include <cmath>
#include <fstream>
#include <iterator>
#include <functional>
#include <string>
#include <vector>
#include "assets/layout.hpp"
#include "support/driver.hpp"

namespace {

struct Step {
    int32_t fruit;
    int32_t slot;
    int32_t answer = RotationKind::None;  // the rotation named after this delivery
};

class Scene : public Session<7> {
protected:
    // Each fruit delivered with a click on the insert button, or by keys: Enter and Space in turn.
    void play(const std::vector<Step>& steps, bool byKeys = false) {
        bool space = false;
        for (const Step& step : steps) {
            if (byKeys) {
                ASSERT_TRUE(driver.carry(step.fruit));
                game.match.character = driver.spotAgainst(step.slot);
                driver.turn(2);
                ASSERT_EQ(game.match.carried, step.fruit) << "a key pressed earlier inserted fruit " << step.fruit;
                driver.press((space = !space) ? sf::Keyboard::Space : sf::Keyboard::Enter, 2);
                ASSERT_EQ(game.match.carried, kNoFruit) << "fruit " << step.fruit;
                continue;
            }
            ASSERT_TRUE(driver.insert(step.fruit, step.slot)) << "fruit " << step.fruit;
            if (step.answer != RotationKind::None) {
                driver.answer(step.answer);
                while (game.match.phase == Phase::StallsMoving) driver.turn();
            }
        }
    }
    sf::Sprite fruit(int32_t number, sf::Vector2f at, float scale) {
        return centredOn(game.pictures.fruitsTexture, sheetCell(number, kFruitCellSize, kFruitCellSize), at, scale);
    }
    sf::Sprite caption(int32_t row, sf::Vector2f at) {
        return centredOn(game.pictures.captionsTexture, {0, row * kCaptionHeight, kCaptionWidth, kCaptionHeight}, at);
    }
};

struct Ending {
    const char* name;
    std::vector<Step> steps;
    int32_t loss;
};

class Endings : public Scene, public ::testing::WithParamInterface<Ending> {};

}  // namespace

TEST_F(Scene, ArrowsWalkOnlyWhileTheWindowHasTheKeyboard) {
    driver.startMatch();
    const auto walked = [&](::Window window) {
        XSetInputFocus(driver.seat.display, window, RevertToPointerRoot, CurrentTime);
        driver.seat.sync();
        game.match.character = {105, 480};
        driver.seat.hold(sf::Keyboard::Right);
        driver.turn(10);
        driver.seat.release(sf::Keyboard::Right);
        return game.match.character.x - 105;
    };
    // Someone clicked into another window: the keyboard is the desktop's now.
    EXPECT_EQ(walked(DefaultRootWindow(driver.seat.display)), 0.f);
    EXPECT_NEAR(walked(game.window.getSystemHandle()), 10 * 3.f, 0.01f) << "three pixels a sixtieth of a second";
    EXPECT_EQ(game.match.facing, Facing::Right);
    XSetInputFocus(driver.seat.display, PointerRoot, RevertToPointerRoot, CurrentTime);  // as without a window manager
    driver.seat.sync();
}

TEST_P(Endings, TheCardShowsThisMatchsAnswerAndLeadsBackToTheMenu) {
    const Ending& ending = GetParam();
    driver.startMatch();
    const bool won = ending.loss == LossCause::None;  // played, and played again, with the keyboard alone
    play(ending.steps, won);
    const Step& last = ending.steps.back();
    if (ending.loss == LossCause::TimeOut) {
        game.match.seconds = kMatchSeconds;
        driver.turn();
    }
    const int32_t right = game.match.pendingRotation;
    if (ending.loss == LossCause::WrongRotation) driver.answer((right + 1) % 4);
    driver.turn();
    ASSERT_EQ(game.match.loss, ending.loss);
    const Pictures& p = game.pictures;
    const TreeNode* root = game.match.reference.root;
    std::vector<sf::Sprite> card;
    switch (ending.loss) {
    case LossCause::WrongSlot: {
        // The tree as it stood with the fruit where it belonged (or the bin), and a cross where it went.
        card = {p.lostPositionSprite, caption(Caption::Cross, kCardSlotCentres[last.slot]),
                fruit(last.fruit, kCardFruitCentre, 1)};
        const int32_t place = placeOfKey(game.match.reference.root, last.fruit);
        card.push_back(place == TreeSlot::None ? caption(Caption::Bin, kCardCaptionCentre)
                                               : fruit(last.fruit, kCardSlotCentres[place], kSmallFruitScale));
        break;
    }
    case LossCause::WrongRotation: {
        sf::Sprite button(*driver.rotationButton(right).getTexture(), {0, 0, kButtonWidth, kButtonHeight});
        button.setPosition(kCardButtonPosition);
        card = {p.lostRotationSprite, button};
        break;
    }
    case LossCause::RepeatedKey:
        card = {p.lostKeySprite, fruit(last.fruit, kCardFruitCentre, 1)};
        break;
    case LossCause::Stuck:
        // The closed stall signed, and the two numbers that close it.
        card = {p.lostStuckSprite, caption(Caption::NoEntry, kCardSlotCentres[TreeSlot::LeftRight]),
                fruit(49, kCardNeighbourCentres[0], kNeighbourFruitScale),
                fruit(50, kCardNeighbourCentres[1], kNeighbourFruitScale)};
        break;
    case LossCause::TimeOut:
        card = {p.lostTimeSprite,
                caption(Caption::FirstCount + filledSlots(game.match.player.root), kCardCaptionCentre)};
        break;
    default:
        card = {p.wonSprite, centredOn(p.timerTexture, sheetCell(game.match.wonSeconds, kTimerCellWidth,
                                                                  kTimerCellHeight), kCardWonTimeCentre)};
    }
    for (int32_t slot = 0; slot < kStallCount && ending.loss != LossCause::WrongRotation; ++slot) {
        const TreeNode* node = nodeAtSlot(const_cast<TreeNode*>(root), slot);
        if (node != nullptr && ending.loss != LossCause::TimeOut && ending.loss != LossCause::None) {
            card.push_back(fruit(node->key, kCardSlotCentres[slot], kSmallFruitScale));
        }
    }
    card[0] = titleOf(card[0]);
    const sf::Image shot = driver.capture();
    for (const sf::Sprite& picture : card) EXPECT_TRUE(shows(shot, picture));
    EXPECT_TRUE(shows(shot, p.playAgainButtonSprite));
    if (won) {
        driver.press(sf::Keyboard::Enter, 2);
    } else {
        driver.click(p.playAgainButtonSprite);
        driver.turn();
    }
    EXPECT_EQ(game.screen, GameScreen::Menu);
}

INSTANTIATE_TEST_SUITE_P(
    Scene, Endings,
    ::testing::Values(
        Ending{"Won", {{50, 0}, {25, 1}, {75, 2}, {12, 3}, {37, 4}, {62, 5}, {87, 6}}, LossCause::None},
        Ending{"WrongStall", {{50, 0}, {30, 1}, {40, 3}}, LossCause::WrongSlot},
        Ending{"BelongedInTheBin", {{50, 0}, {30, 1}, {70, 2}, {20, 3}, {10, 6}}, LossCause::WrongSlot},
        Ending{"WrongRotation", {{50, 0}, {30, 1}, {40, 4}}, LossCause::WrongRotation},
        Ending{"RepeatedNumber", {{50, 0}, {50, 2}}, LossCause::RepeatedKey},
        Ending{"DeadEnd", {{50, 0}, {49, 1}}, LossCause::Stuck},
        Ending{"TimeOut", {{50, 0}, {30, 1}, {70, 2}}, LossCause::TimeOut}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Scene, TheQuestionShowsItsButtonsAndTheFruitsTravelToTheRotatedStalls) {
    driver.startMatch();
    play({{50, 0}, {30, 1}});
    ASSERT_TRUE(driver.insert(20, 3));
    ASSERT_EQ(game.match.phase, Phase::Question);
    sf::Image shot = driver.capture();
    for (int32_t kind = 0; kind < 4; ++kind) EXPECT_TRUE(shows(shot, driver.rotationButton(kind))) << kind;
    driver.press(sf::Keyboard::Num1, 1);  // single right, by its key
    ASSERT_EQ(game.match.phase, Phase::StallsMoving);
    while (game.match.animationSeconds < kStallAnimationSeconds / 2) driver.turn();
    // Halfway: 30 between the left stall and the root's, 50 between the root's and the right one.
    shot = driver.capture();
    const auto between = [](int32_t a, int32_t b) { return (kSlotFruitPositions[a] + kSlotFruitPositions[b]) / 2.f; };
    const float f = kSmallFruitScale * kFruitCellSize / 2;
    const sf::Vector2f corner(f, f);
    EXPECT_TRUE(shows(shot, fruit(30, between(TreeSlot::Left, TreeSlot::Root) + corner, kSmallFruitScale)));
    EXPECT_TRUE(shows(shot, fruit(50, between(TreeSlot::Root, TreeSlot::Right) + corner, kSmallFruitScale)));
}

TEST_F(Scene, APracticeMistakeIsCorrectedUnderItsHeadingTakenBackAndTheBadgesShowTheFactors) {
    driver.press(sf::Keyboard::P, 2);
    ASSERT_TRUE(game.match.practice);
    driver.press(sf::Keyboard::H);
    play({{50, 0}, {30, 1}});
    ASSERT_TRUE(driver.insert(40, 3));  // its place was LR
    ASSERT_EQ(game.match.loss, LossCause::WrongSlot);
    sf::Image shot = driver.capture();
    sf::Sprite heading(game.pictures.practiceHeadingsTexture,
                       {0, 0, kPracticeHeadingWidth, kPracticeHeadingHeight});  // the first row: a wrong stall
    heading.setPosition(kPracticeHeadingPosition);
    EXPECT_TRUE(shows(shot, heading));
    driver.click(game.pictures.tryAgainButtonSprite);
    EXPECT_FALSE(game.match.hasOutcome());
    EXPECT_EQ(game.match.carried, 40) << "the fruit is back in the hand";
    // The root leans left by one: its badge says +1, the left child's 0.
    shot = driver.capture();
    for (const auto& [slot, factor] : {std::pair{TreeSlot::Root, 1}, {TreeSlot::Left, 0}}) {
        sf::Sprite badge(game.pictures.balanceTexture, balanceBadgeCell(factor));
        badge.setPosition(stallCorner(slot) + kBadgeOffset);
        EXPECT_TRUE(shows(shot, badge)) << "slot " << slot;
    }
    EXPECT_TRUE(shows(shot, game.pictures.carriedFruitSprites[40]));
}

TEST_F(Scene, TheBigMarketAsksWhereByMouseAndByKeysBeforeWhichAndItsCardShowsThePath) {
    game.chooseMarket(TreeSlot::FourLevelCount);
    driver.press(sf::Keyboard::P, 2);
    ASSERT_EQ(game.match.stallCount(), TreeSlot::FourLevelCount);
    play({{50, 0}, {30, 1}, {70, 2}, {20, 3}, {40, 4}});
    // 10 unbalances 30 by one and the root by two: the root is the lowest out of balance.
    ASSERT_TRUE(driver.insert(10, 7));
    ASSERT_EQ(game.match.phase, Phase::Where);
    EXPECT_TRUE(shows(driver.capture(), game.pictures.whereQuestionSprite));
    driver.click(game.pictures.bigStallSprites[TreeSlot::Left]);
    ASSERT_EQ(game.match.loss, LossCause::WrongWhere);
    sf::Image shot = driver.capture();
    // The practice's heading of a wrong where, its last row, over the card.
    sf::Sprite heading(game.pictures.practiceHeadingsTexture,
                       {0, 4 * kPracticeHeadingHeight, kPracticeHeadingWidth, kPracticeHeadingHeight});
    heading.setPosition(kPracticeHeadingPosition);
    EXPECT_TRUE(shows(shot, heading));
    // Along the path the factors are 0, +1, +1 and +2 (left height minus right), each beside its stall.
    for (const auto& [slot, factor] : {std::pair{7, 0}, {3, 1}, {1, 1}, {0, 2}}) {
        sf::Sprite badge(game.pictures.balanceTexture, balanceBadgeCell(factor));
        badge.setPosition(whereCardSlotCentre(slot) + kWhereCardBadgeOffset);
        EXPECT_TRUE(shows(shot, badge)) << "slot " << slot;
    }
    driver.press(sf::Keyboard::Return, 2);
    ASSERT_EQ(game.match.carried, 10) << "the wrong where is taken back with its fruit";
    ASSERT_TRUE(driver.deliverTo(7));
    // The highlight climbs from the new fruit, stops at the root and comes back down once.
    for (const sf::Keyboard::Key key : {sf::Keyboard::Up, sf::Keyboard::Up, sf::Keyboard::Up, sf::Keyboard::Up,
                                        sf::Keyboard::Down, sf::Keyboard::Up}) {
        driver.press(key);
    }
    EXPECT_EQ(game.match.highlightedSlot, TreeSlot::Root);
    driver.press(sf::Keyboard::Space);
    ASSERT_EQ(game.match.phase, Phase::Question);
    driver.press(sf::Keyboard::Num1);
    while (game.match.phase == Phase::StallsMoving) driver.turn();
    // 40 left 30 for 50: the subtree moved with the rotation.
    EXPECT_EQ(game.match.stallFruits[TreeSlot::RightLeft], 40);
    std::ifstream file(historyPath());
    const std::string history((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    for (const char* line : {",practice15,balance,10,L,root,0,", ",practice15,balance,10,root,root,1,",
                             ",practice15,rotation,10,single-right,single-right,1,"}) {
        EXPECT_NE(history.find(line), std::string::npos) << line << " in\n" << history;
    }
}
