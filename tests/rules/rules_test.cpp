// Whole matches played through the real play frame: every outcome with its end card's
// answer, the rotation question, the faults once found, seeded random play. The
// driver checks the match's invariants after every frame of every test here.
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>
#include "assets/layout.hpp"
#include "support/csv.hpp"
#include "support/driver.hpp"
#include "support/tree_check.hpp"

namespace {

constexpr int32_t kNoAnswer = -2;
struct Step {
    int32_t fruit;
    int32_t slot;
    int32_t answer = kNoAnswer;  // the rotation named right after this delivery
};

// Each match keeps its history in a data folder of its own.
class Match : public Session<7> {
protected:
    void SetUp() override {
        Session::SetUp();
        driver.startMatch();
    }
    void play(const std::vector<Step>& steps) {
        for (const Step& step : steps) {
            ASSERT_TRUE(driver.insert(step.fruit, step.slot)) << "fruit " << step.fruit;
            if (step.answer != kNoAnswer) {
                driver.answer(step.answer);
                finishStallAnimation();
            }
        }
    }
    // Turns until the stall fruits have reached the rotated tree's stalls.
    void finishStallAnimation() {
        for (sf::Clock clock; game.stallsMoving && clock.getElapsedTime() < sf::seconds(5);) driver.turn();
        ASSERT_FALSE(game.stallsMoving) << "the stall fruits never arrived";
    }
    // The history's lines after its header, read with the test's own reader.
    Records history() {
        Records records = readCsv(contents((scratch / "jogo" / "history.csv").string()));
        EXPECT_FALSE(records.empty());
        if (!records.empty()) records.erase(records.begin());
        return records;
    }
};

// The history's names of the slots and the rotations, in the game's order.
const char* const kSlotCodes[] = {"root", "L", "R", "LL", "LR", "RL", "RR"};
const char* const kRotationCodes[] = {"single-right", "double-right", "single-left", "double-left"};
enum Field { Time, MatchStart, Mode, Event, Fruit, Chosen, Expected, Correct, Seconds };

struct Ending {
    const char* name;
    std::vector<Step> steps;
    int32_t loss;
    // This match's answer: the slot the last fruit belonged in (None: the bin), the
    // rotation that was right, the number already in the tree, the stalls filled,
    // the stall a dead end closed, with the two numbers closing it (-1 / 100 where
    // the range ends).
    int32_t answer = 0;
    int32_t below = 0;
    int32_t above = 0;
};

// Each outcome's card, by LossCause.
sf::Sprite Game::* const kCards[] = {&Game::wonSprite,     &Game::lostPositionSprite, &Game::lostRotationSprite,
                                     &Game::lostKeySprite, &Game::lostTimeSprite,     &Game::lostStuckSprite};

// The answer of the match `ending` played: the pictures its end card must show, and the history's last line from its
// event to its correctness.
struct Answer {
    std::vector<sf::Sprite> card;
    std::vector<std::string> line;
};

Answer answerOf(const Driver& driver, const Ending& ending) {
    const Game& game = driver.game;
    const auto caption = [&](int32_t row, sf::Vector2f at) {
        return centredOn(game.captionsTexture, {0, row * kCaptionHeight, kCaptionWidth, kCaptionHeight}, at);
    };
    const auto fruit = [&](int32_t number, sf::Vector2f at, float scale) {
        return centredOn(game.fruitsTexture, sheetCell(number, kFruitCellSize, kFruitCellSize), at, scale);
    };
    const auto seconds = [&](int32_t count, sf::Vector2f at) {
        return centredOn(game.timerTexture, sheetCell(count, kTimerCellWidth, kTimerCellHeight), at);
    };
    const Step& last = ending.steps.back();
    const std::string number = std::to_string(last.fruit);
    switch (ending.loss) {
    case LossCause::WrongSlot: {
        // The tree as it stood, every earlier fruit in its stall, with the last one
        // where it belonged: never a tree rotated by that fruit.
        std::vector<sf::Sprite> card{caption(Caption::Cross, kCardSlotCentres[last.slot]),
                                     fruit(last.fruit, kCardFruitCentre, 1)};
        for (auto step = ending.steps.begin(); step + 1 != ending.steps.end(); ++step) {
            card.push_back(fruit(step->fruit, kCardSlotCentres[step->slot], kSmallFruitScale));
        }
        card.push_back(ending.answer == TreeSlot::None
                           ? caption(Caption::Bin, kCardCaptionCentre)
                           : fruit(last.fruit, kCardSlotCentres[ending.answer], kSmallFruitScale));
        const char* const place = ending.answer == TreeSlot::None ? "bin" : kSlotCodes[ending.answer];
        return {card, {"stall", number, kSlotCodes[last.slot], place, "0"}};
    }
    case LossCause::WrongRotation: {
        sf::Sprite button(*driver.rotationButton(ending.answer).getTexture(), {0, 0, kButtonWidth, kButtonHeight});
        button.setPosition(kCardButtonPosition);
        return {{button}, {"rotation", number, kRotationCodes[last.answer], kRotationCodes[ending.answer], "0"}};
    }
    case LossCause::RepeatedKey:
        return {{fruit(ending.answer, kCardFruitCentre, 1)}, {"repeat", number, kSlotCodes[last.slot], "", "0"}};
    case LossCause::TimeOut:
        return {{caption(Caption::FirstCount + ending.answer, kCardCaptionCentre)},
                {"timeout", "", std::to_string(ending.answer), "7", "0"}};
    case LossCause::Stuck: {
        // The closed stall signed, and the numbers closing it: two, or the one where the range ends.
        std::vector<sf::Sprite> card{caption(Caption::NoEntry, kCardSlotCentres[ending.answer])};
        if (ending.below >= 0 && ending.above < kFruitCount) {
            card.push_back(fruit(ending.below, kCardNeighbourCentres[0], kNeighbourFruitScale));
            card.push_back(fruit(ending.above, kCardNeighbourCentres[1], kNeighbourFruitScale));
        } else {
            const int32_t inRange = ending.below < 0 ? ending.above : ending.below;
            card.push_back(fruit(inRange, kCardNeighbourCentre, kNeighbourFruitScale));
        }
        return {card, {"stuck", number, kSlotCodes[ending.answer], "", "0"}};
    }
    default:
        return {{seconds(game.wonSeconds, kCardWonTimeCentre), seconds(game.bestSeconds, kCardBestTimeCentre)},
                {"won", "", "", "", "1"}};
    }
}

class Endings : public Match, public ::testing::WithParamInterface<Ending> {};

struct Rotation {
    const char* name;
    int32_t kind;
    std::vector<Step> steps;
};

class Rotations : public Match, public ::testing::WithParamInterface<Rotation> {};

template <typename Row>
std::string rowName(const ::testing::TestParamInfo<Row>& info) {
    return info.param.name;
}

}  // namespace

TEST_P(Endings, OutcomeOfRealPlayShowsItsEndPictureWithTheAnswer) {
    play(GetParam().steps);
    if (GetParam().loss == LossCause::TimeOut) {
        game.matchTime = sf::seconds(kMatchSeconds);
        game.updateTimer();
    }
    driver.turn(2);
    const bool won = GetParam().loss == LossCause::None;
    EXPECT_EQ(game.lossCause, GetParam().loss);
    EXPECT_EQ(game.matchWon, won ? 1 : 0);
    EXPECT_EQ(game.pendingRotation, RotationKind::None);  // no question under a card
    EXPECT_EQ((won ? game.wonSound : game.lostSound).getStatus(), sf::SoundSource::Playing);
    const sf::Image shot = driver.capture();
    EXPECT_TRUE(shows(shot, game.playAgainButtonSprite));
    EXPECT_TRUE(shows(shot, titleOf(game.*kCards[GetParam().loss])));
    const Answer answer = answerOf(driver, GetParam());
    for (const sf::Sprite& picture : answer.card) EXPECT_TRUE(shows(shot, picture));
    // The history holds one line for each delivery, each rotation named and the end by time, by a dead end or by
    // a win; the last one says how the match ended.
    const Ending& ending = GetParam();
    const Records lines = history();
    const bool endedAlone = ending.loss == LossCause::TimeOut || ending.loss == LossCause::Stuck || won;
    size_t judged = ending.steps.size() + (endedAlone ? 1 : 0);
    for (const Step& step : ending.steps) judged += step.answer != kNoAnswer;
    ASSERT_EQ(lines.size(), judged);
    for (const auto& line : lines) {
        ASSERT_EQ(line.size(), 9u);
        EXPECT_EQ(line[Mode], "match");
        EXPECT_EQ(line[MatchStart], lines[0][MatchStart]);
    }
    EXPECT_EQ(std::vector<std::string>(lines.back().begin() + Event, lines.back().begin() + Seconds), answer.line);
}

INSTANTIATE_TEST_SUITE_P(
    Match, Endings,
    ::testing::Values(
        Ending{"SmallerFruitInTheRightChild", {{50, TreeSlot::Root}, {30, TreeSlot::Right}}, LossCause::WrongSlot,
               TreeSlot::Left},
        // Each rotation's path with the fruit in a wrong free stall: the placement
        // loses before any rotation is asked for.
        Ending{"LeftLeftFruitInItsSiblingsStall", {{50, 0}, {30, 1}, {20, 4}},
               LossCause::WrongSlot, TreeSlot::LeftLeft},
        Ending{"LeftRightFruitInItsSiblingsStall", {{50, 0}, {30, 1}, {40, 3}},
               LossCause::WrongSlot, TreeSlot::LeftRight},
        Ending{"RightRightFruitOnTheFarSideOfTheRoot", {{10, 0}, {70, 2}, {99, 1}}, LossCause::WrongSlot,
               TreeSlot::RightRight},
        Ending{"RightLeftFruitInItsSiblingsStall", {{50, 0}, {90, 2}, {60, 6}},
               LossCause::WrongSlot, TreeSlot::RightLeft},
        Ending{"RotatingFruitBelongsBelowTheStalls", {{50, 0}, {30, 1}, {70, 2}, {20, 3}, {10, 6}},
               LossCause::WrongSlot, TreeSlot::None},
        Ending{"SeventhFruitBelongsBelowTheStalls",
               {{50, 0}, {30, 1}, {70, 2}, {20, 3}, {40, 4}, {60, 5}, {10, 6}}, LossCause::WrongSlot, TreeSlot::None},
        Ending{"WrongRotationNamed",
               {{50, TreeSlot::Root}, {30, TreeSlot::Left}, {40, TreeSlot::LeftRight, RotationKind::SingleLeft}},
               LossCause::WrongRotation, RotationKind::DoubleRight},
        Ending{"ZeroDeliveredTwice", {{50, 0}, {75, 2}, {25, 1}, {0, 3}, {0, 4}}, LossCause::RepeatedKey, 0},
        Ending{"NinetyNineDeliveredTwice", {{50, 0}, {25, 1}, {75, 2}, {99, 6}, {99, 5}}, LossCause::RepeatedKey,
               99},
        Ending{"RepeatIntoTheLastFreeStallLosesInsteadOfWinning",
               {{50, 0}, {25, 1}, {75, 2}, {12, 3}, {37, 4}, {62, 5}, {50, 6}}, LossCause::RepeatedKey, 50},
        // No number lies between 49 and 50, nor below 0, nor above 99 (a rotation named right brought 99 there).
        Ending{"DeadEndBetweenFortyNineAndFifty", {{50, 0}, {49, 1}}, LossCause::Stuck, TreeSlot::LeftRight, 49, 50},
        Ending{"DeadEndBelowZero", {{0, 0}}, LossCause::Stuck, TreeSlot::Left, -1, 0},
        Ending{"DeadEndAboveNinetyNineAfterARotation", {{1, 0}, {70, 2}, {99, 6, RotationKind::SingleLeft}},
               LossCause::Stuck, TreeSlot::RightRight, 99, 100},
        Ending{"ClockRunsOutWithThreeStallsFilled", {{50, 0}, {30, 1}, {70, 2}}, LossCause::TimeOut, 3},
        Ending{"ClockRunsOutWithAllButOneGrandchildFilled", {{50, 0}, {30, 1}, {70, 2}, {20, 3}, {40, 4}, {80, 6}},
               LossCause::TimeOut, 6},
        Ending{"SevenStallsInOrderWin", {{50, 0}, {25, 1}, {75, 2}, {0, 3}, {37, 4}, {62, 5}, {99, 6}},
               LossCause::None},
        Ending{"SevenStallsAfterARotationWin",
               {{50, 0}, {30, 1}, {20, 3, RotationKind::SingleRight}, {10, 3}, {25, 4}, {40, 5}, {60, 6}},
               LossCause::None}),
    rowName<Ending>);

TEST_P(Rotations, KeyNamesTheRotationAndTheFruitsTravelToTheRebalancedStalls) {
    play(GetParam().steps);
    ASSERT_EQ(game.pendingRotation, GetParam().kind);
    EXPECT_FALSE(game.movementEnabled);
    // The frame that first asks the question already shows its four buttons.
    const sf::Image question = driver.capture();
    int32_t buttonsAbove = 0;
    for (int32_t kind = 0; kind < 4; ++kind) {
        EXPECT_TRUE(shows(question, driver.rotationButton(kind)));
        const float top = driver.rotationButton(kind).getPosition().y;
        buttonsAbove += top < driver.rotationButton(GetParam().kind).getPosition().y;
    }
    sf::Vector2f before[kFruitCount];
    for (const Step& step : GetParam().steps) before[step.fruit] = game.treeFruitSprites[step.fruit].getPosition();
    // Key n names the n-th button from the top.
    driver.press(static_cast<sf::Keyboard::Key>(sf::Keyboard::Num1 + buttonsAbove));
    EXPECT_EQ(game.pendingRotation, RotationKind::None);
    // Halfway every moving fruit is between its two stalls, and the character waits.
    const sf::Vector2f standing = game.characterSprite.getPosition();
    driver.seat.hold(sf::Keyboard::Left);
    while (game.stallsMoving && game.stallAnimationSeconds < kStallAnimationSeconds / 2) driver.turn();
    driver.seat.release(sf::Keyboard::Left);
    ASSERT_TRUE(game.stallsMoving);
    EXPECT_EQ(game.characterSprite.getPosition(), standing);
    const auto between = [](float at, float from, float to) {
        return from == to ? at == from : (at - from) * (at - to) < 0;
    };
    for (const Step& step : GetParam().steps) {
        const sf::Vector2f from = before[step.fruit];
        const sf::Vector2f to = kSlotFruitPositions[slotOfKey(game.playerRoot, step.fruit)];
        const sf::Vector2f at = game.treeFruitSprites[step.fruit].getPosition();
        EXPECT_TRUE(between(at.x, from.x, to.x) && between(at.y, from.y, to.y))
            << "fruit " << step.fruit << " at " << at.x << "," << at.y;
    }
    finishStallAnimation();
    EXPECT_TRUE(game.movementEnabled);
    EXPECT_FALSE(game.hasOutcome());
    const sf::Image after = driver.capture();
    for (int32_t slot = 0; slot < kStallCount; ++slot) {
        const TreeNode* node = nodeAtSlot(game.balancedRoot, slot);
        const sf::Sprite* fruit = node ? &game.treeFruitSprites[node->key] : nullptr;
        EXPECT_TRUE(!fruit || (fruit->getPosition() == kSlotFruitPositions[slot] && shows(after, *fruit))) << slot;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Match, Rotations,
    ::testing::Values(Rotation{"SingleRight", RotationKind::SingleRight, {{50, 0}, {30, 1}, {20, 3}}},
                      Rotation{"DoubleRight", RotationKind::DoubleRight, {{50, 0}, {30, 1}, {40, 4}}},
                      Rotation{"SingleLeft", RotationKind::SingleLeft, {{10, 0}, {70, 2}, {90, 6}}},
                      Rotation{"DoubleLeft", RotationKind::DoubleLeft, {{50, 0}, {90, 2}, {60, 5}}}),
    rowName<Rotation>);

TEST_F(Match, OutcomeIsFinalUnderTheCardWhoseHiddenButtonsAnswerNothing) {
    play({{50, 0}, {30, 1}, {20, 3}});
    ASSERT_EQ(game.pendingRotation, RotationKind::SingleRight);
    // During the question the next fruit is in the hand against a free stall, its insert button offered.
    ASSERT_TRUE(driver.carry(40));
    game.characterSprite.setPosition(driver.spotAgainst(TreeSlot::LeftRight));
    driver.turn();
    // A stalled loop: the clock is read long past the end in one frame.
    game.matchTime = sf::seconds(1e12f);
    game.updateTimer();
    EXPECT_EQ(game.lossCause, LossCause::TimeOut);
    EXPECT_EQ(game.shownSeconds, kMatchSeconds);
    // A later loss, as a rule running on under the card would call it, stays silent.
    game.lostSound.stop();
    game.loseMatch(LossCause::WrongSlot);
    EXPECT_EQ(game.lostSound.getStatus(), sf::SoundSource::Stopped);
    // The insert button and the right rotation, clicked where they stood under the end picture, change nothing.
    const std::string before = describeTree(game.playerRoot);
    driver.click(game.insertButtonSprite);
    driver.answer(RotationKind::SingleRight);
    driver.turn(3);
    EXPECT_TRUE(game.carrying);
    EXPECT_EQ(describeTree(game.playerRoot), before);
}

TEST_F(Match, ClockRunningOutStandsTheTravellingStallFruitsInPlaceAtOnce) {
    play({{50, 0}, {30, 1}, {20, 3}});
    driver.answer(RotationKind::SingleRight);
    ASSERT_TRUE(game.stallsMoving);
    game.matchTime = sf::seconds(kMatchSeconds);
    game.updateTimer();
    driver.turn();
    EXPECT_FALSE(game.stallsMoving);
    for (int32_t fruit : {50, 30, 20}) {
        EXPECT_EQ(game.treeFruitSprites[fruit].getPosition(), kSlotFruitPositions[slotOfKey(game.playerRoot, fruit)]);
    }
}

TEST_F(Match, InsertButtonAnswersWhereDrawnNoSlotShowsAFruitNotDeliveredAndAHiddenFruitStaysHidden) {
    ASSERT_TRUE(driver.insert(50, TreeSlot::Root));
    ASSERT_TRUE(driver.carry(30));
    // Against a filled stall no button is offered; a click where it stood does nothing.
    game.characterSprite.setPosition(driver.spotAgainst(TreeSlot::Root));
    driver.turn();
    EXPECT_EQ(game.offeredSlot, TreeSlot::None);
    driver.click(game.insertButtonSprite);
    driver.turn();
    EXPECT_TRUE(game.carrying);
    EXPECT_EQ(game.slotFruit[TreeSlot::Root], 50);
    // Clicked beside a free stall, then walked off before the delivery; then the same
    // with the bin taking the fruit before the delivery.
    for (bool bin : {false, true}) {
        game.characterSprite.setPosition(driver.spotAgainst(TreeSlot::Left));
        driver.turn();
        driver.click(game.insertButtonSprite);
        if (bin) {
            driver.walkInto(game.binAreaSprite);
        } else {
            game.characterSprite.setPosition(kCharacterStart);
            driver.turn();
        }
        EXPECT_EQ(game.carrying, !bin);
        EXPECT_FALSE(game.slotFilled[TreeSlot::Left]);
    }
    EXPECT_EQ(describeTree(game.playerRoot), "50");
    // The thrown fruit's lane stays hidden as it falls on: standing on it picks nothing.
    const int32_t lane = game.pickedLane;
    ASSERT_TRUE(game.laneTaken[lane]);
    game.characterSprite.setPosition(game.lanePositions[lane] + sf::Vector2f(0, kFallPixelsPerFrame));
    driver.checking = false;  // stood wherever the fruit is, maybe in no walkable place
    driver.turn(2);
    EXPECT_FALSE(game.carrying);
}

TEST_F(Match, MusicStartsAgainWhenItEndsAndTimerAndMusicStopAtTheOutcome) {
    // A track of a fifth of a second, so that it ends while the test watches.
    const std::string track = ::testing::TempDir() + "short-track.wav";
    std::vector<sf::Int16> silence(8000 / 5, 0);
    sf::SoundBuffer buffer;
    ASSERT_TRUE(buffer.loadFromSamples(silence.data(), silence.size(), 1, 8000));
    ASSERT_TRUE(buffer.saveToFile(track));
    ASSERT_TRUE(game.music.openFromFile(track));
    for (int round = 0; round < 2; ++round) {
        driver.turn();
        ASSERT_EQ(game.music.getStatus(), sf::SoundSource::Playing);
        for (int wait = 0; wait < 200 && game.music.getStatus() == sf::SoundSource::Playing; ++wait) {
            sf::sleep(sf::milliseconds(10));
        }
        ASSERT_EQ(game.music.getStatus(), sf::SoundSource::Stopped) << "the track never ended";
    }
    play({{50, 0}, {30, 2}});
    ASSERT_TRUE(game.hasOutcome());
    sf::sleep(sf::milliseconds(1100));  // past the next second, which the timer must not show
    driver.turn(3);
    EXPECT_EQ(game.music.getStatus(), sf::SoundSource::Stopped);
}

using LongRun = Match;

TEST_F(LongRun, UntouchedMatchEndsByTimeOutAfterNinetySeconds) {
    sf::Clock clock;
    while (!game.hasOutcome() && clock.getElapsedTime() < sf::seconds(kMatchSeconds + 30)) driver.turn();
    EXPECT_EQ(game.lossCause, LossCause::TimeOut);
    EXPECT_GE(clock.getElapsedTime(), sf::seconds(kMatchSeconds - 1));
    driver.turn();
    EXPECT_TRUE(shows(driver.capture(), game.playAgainButtonSprite));
}

namespace {

struct Reached {
    int questions = 0, largestTree = 0, outcomes = 0;
};

// Plays on until `matches` outcomes, with moves drawn from `seed`: the menu, picks,
// deliveries to any free stall, the bin, right and wrong answers, real walking.
Reached playRandomly(Driver& driver, unsigned seed, int matches) {
    Game& game = driver.game;
    std::mt19937 random(seed);
    std::srand(seed);
    auto chance = [&](int percent) { return static_cast<int>(random() % 100) < percent; };
    Reached reached;
    while (reached.outcomes < matches && !::testing::Test::HasFatalFailure()) {
        if (game.menuActive) {
            driver.startMatch();
        } else if (game.hasOutcome()) {
            ++reached.outcomes;
            driver.click(game.playAgainButtonSprite);
            driver.turn();
            EXPECT_EQ(game.balancedRoot, nullptr);
            EXPECT_EQ(game.playerRoot, nullptr);
        } else if (game.pendingRotation != RotationKind::None) {
            ++reached.questions;
            driver.answer(chance(80) ? game.pendingRotation : static_cast<int32_t>(random() % 4));
        } else if (!game.carrying) {
            // Mostly numbers near the middle, so that trees grow; the ends too.
            const int32_t fruit = chance(10) ? (chance(50) ? 0 : 99) : static_cast<int32_t>(25 + random() % 50);
            driver.carry(fruit);
        } else if (chance(10)) {
            driver.walkInto(game.binAreaSprite);
        } else {
            // Mostly the stall where the number belongs, so that matches go on.
            int32_t slot = chance(75) ? placeOfKey(game.balancedRoot, game.carriedFruit) : TreeSlot::None;
            if (slot == TreeSlot::None) slot = static_cast<int32_t>(random() % kStallCount);
            if (!game.slotFilled[slot]) driver.deliverTo(slot);
        }
        const int treeSize = static_cast<int>(inOrderKeys(game.balancedRoot).size());
        reached.largestTree = std::max(reached.largestTree, treeSize);
    }
    return reached;
}

}  // namespace

using Monkey = Session<1>;  // playRandomly seeds each run itself

TEST_F(Monkey, RandomPlayKeepsEveryInvariantAndReachesQuestionsAndLargeTrees) {
    Reached total;
    for (unsigned seed : {1u, 2u, 3u, 5u, 8u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        const Reached reached = playRandomly(driver, seed, 6);
        total.questions += reached.questions;
        total.largestTree = std::max(total.largestTree, reached.largestTree);
    }
    EXPECT_GT(total.questions, 0);
    EXPECT_GE(total.largestTree, 4);
    EXPECT_GT(driver.framesChecked, 100);
}

TEST_F(LongRun, ThreeHundredMatchesInOneProcessFreeEveryTree) {
    const Reached reached = playRandomly(driver, 2026, 300);
    EXPECT_EQ(reached.outcomes, 300);
    EXPECT_GT(reached.questions, 0);
}

namespace {

// A practice started from the menu by its key.
class Practice : public Match {
protected:
    void SetUp() override {
        Session::SetUp();
        std::srand(13);
        driver.press(sf::Keyboard::P);
        ASSERT_TRUE(game.playActive && game.practicing);
        driver.turn();
    }
    // Shows the card of the mistake just made under its own heading, then takes it back with Enter.
    void expectTakenBack(int32_t cause, int32_t fruit) {
        ASSERT_EQ(game.lossCause, cause);
        const sf::Image shot = driver.capture();
        EXPECT_TRUE(shows(shot, game.tryAgainButtonSprite));
        // The sheet's rows, top to bottom: wrong stall, wrong rotation, repeated number, dead end.
        const int32_t rows[LossCause::Count] = {-1, 0, 1, 2, -1, 3, -1};
        const int32_t row = rows[cause];
        sf::Sprite heading(game.practiceHeadingsTexture,
                           {0, row * kPracticeHeadingHeight, kPracticeHeadingWidth, kPracticeHeadingHeight});
        heading.setPosition(kPracticeHeadingPosition);
        EXPECT_TRUE(shows(shot, heading));
        driver.press(sf::Keyboard::Enter, 2);
        EXPECT_FALSE(game.hasOutcome());
        EXPECT_TRUE(game.carrying && game.carriedFruit == fruit) << "the fruit is not back in the hand";
        EXPECT_TRUE(game.movementEnabled);
    }
};

// The balance factor the badge of `slot` must show, from the tree's own heights.
int32_t expectedFactor(const TreeNode* node) {
    const std::function<int32_t(const TreeNode*)> height = [&](const TreeNode* n) {
        return n == nullptr ? -1 : 1 + std::max(height(n->left), height(n->right));
    };
    return height(node->left) - height(node->right);
}

}  // namespace

TEST_F(Practice, EachMistakeIsShownThenTakenBackAndSevenStallsFinishWithTheCounts) {
    ASSERT_TRUE(driver.insert(50, TreeSlot::Root) && driver.insert(30, TreeSlot::Left));
    const std::string twoFruits = describeTree(game.balancedRoot);
    // A rotation named right into a dead end (29 under 30 turns the tree to 30(29,50), and no number lies between
    // 29 and 30): taken back to before the delivery that asked for it, and then the fruit goes to the bin.
    ASSERT_TRUE(driver.insert(29, TreeSlot::LeftLeft));
    driver.answer(RotationKind::SingleRight);
    expectTakenBack(LossCause::Stuck, 29);
    EXPECT_EQ(describeTree(game.balancedRoot), twoFruits);
    EXPECT_EQ(describeTree(game.playerRoot), twoFruits);
    EXPECT_EQ(game.slotFruit[TreeSlot::LeftLeft], kNoFruit);
    driver.walkInto(game.binAreaSprite);
    // A wrong stall: the card, then the fruit in the hand and the trees as they were.
    ASSERT_TRUE(driver.insert(20, TreeSlot::LeftRight));
    expectTakenBack(LossCause::WrongSlot, 20);
    EXPECT_EQ(describeTree(game.balancedRoot), twoFruits);
    // A wrong rotation: the insertion itself is undone, and the same delivery asks again.
    ASSERT_TRUE(driver.deliverTo(TreeSlot::LeftLeft));
    ASSERT_EQ(game.pendingRotation, RotationKind::SingleRight);
    driver.answer(RotationKind::SingleLeft);
    expectTakenBack(LossCause::WrongRotation, 20);
    EXPECT_EQ(describeTree(game.balancedRoot), twoFruits);
    EXPECT_EQ(describeTree(game.playerRoot), twoFruits);
    ASSERT_TRUE(driver.deliverTo(TreeSlot::LeftLeft));
    ASSERT_EQ(game.pendingRotation, RotationKind::SingleRight);
    driver.answer(RotationKind::SingleRight);
    finishStallAnimation();
    // A repeated number goes back to the hand, and then to the bin.
    ASSERT_TRUE(driver.insert(30, TreeSlot::RightLeft));
    expectTakenBack(LossCause::RepeatedKey, 30);
    driver.walkInto(game.binAreaSprite);
    ASSERT_FALSE(game.carrying);
    // No clock: far past ninety seconds nothing ends, and the timer's place says so.
    game.matchTime = sf::seconds(10 * kMatchSeconds);
    game.updateTimer();
    driver.turn();
    EXPECT_FALSE(game.hasOutcome());
    EXPECT_TRUE(shows(driver.capture(), game.noClockSprite));
    play({{10, 3}, {25, 4}, {40, 5}, {60, 6}});
    driver.turn();
    ASSERT_EQ(game.matchWon, 1);
    const sf::Image finished = driver.capture();
    EXPECT_TRUE(shows(finished, titleOf(game.practiceCompleteSprite)));
    // One mistake of each kind, each counted on a row of its own: something is drawn over each row's spot.
    for (const int32_t cause : {LossCause::WrongSlot, LossCause::WrongRotation, LossCause::RepeatedKey,
                                LossCause::Stuck}) {
        EXPECT_EQ(game.practiceMistakes[cause], 1) << "mistakes of kind " << cause;
    }
    for (const sf::Vector2f& spot : kCardMistakeCentres) {
        const sf::IntRect middle(static_cast<int>(spot.x) - 8, static_cast<int>(spot.y) - 8, 16, 16);
        EXPECT_FALSE(shows(finished, centredOn(game.practiceCompleteTexture, middle, spot))) << "a bare spot";
    }
    EXPECT_FALSE(std::filesystem::exists(scratch / "jogo" / "best-time")) << "practice kept a record";
    // Every move is in the history, the mistakes taken back among them.
    std::vector<std::string> moves;
    for (const auto& line : history()) {
        EXPECT_EQ(line[Mode], "practice");
        moves.push_back(line[Event] + " " + line[Correct]);
    }
    const std::vector<std::string> made = {"stall 1",  "stall 1", "stall 1", "rotation 1", "stuck 0",
                                           "stall 0",  "stall 1", "rotation 0", "stall 1", "rotation 1",
                                           "repeat 0", "stall 1", "stall 1", "stall 1", "stall 1",
                                           "complete 1"};
    EXPECT_EQ(moves, made);
    // Back at the menu a match is the match it was: the clock runs, H shows nothing, a mistake ends it.
    driver.press(sf::Keyboard::Enter, 2);
    ASSERT_TRUE(game.menuActive);
    driver.press(sf::Keyboard::Enter, 2);
    ASSERT_TRUE(game.playActive && !game.practicing);
    EXPECT_TRUE(game.movementEnabled);
    EXPECT_EQ(game.balancedRoot, nullptr);
    driver.press(sf::Keyboard::H);
    ASSERT_TRUE(driver.insert(50, TreeSlot::Root));
    const sf::Image match = driver.capture();
    EXPECT_TRUE(shows(match, game.timerSprites[kMatchSeconds - game.shownSeconds]));
    EXPECT_FALSE(shows(match, game.balanceSprites[TreeSlot::Root])) << "H showed a badge in a match";
    ASSERT_TRUE(driver.insert(60, TreeSlot::Left));
    ASSERT_EQ(game.lossCause, LossCause::WrongSlot);
    driver.press(sf::Keyboard::Enter, 2);
    EXPECT_TRUE(game.menuActive) << "Enter took a match's mistake back";
}

TEST_F(Practice, BadgesShowEachFilledStallsBalanceFactorAndTheTwoOfAQuestion) {
    driver.press(sf::Keyboard::H);
    const auto expectBadges = [&](const char* when) {
        SCOPED_TRACE(when);
        const sf::Image shot = driver.capture();
        int32_t shown = 0;
        for (int32_t slot = 0; slot < kStallCount; ++slot) {
            const TreeNode* node = nodeAtSlot(game.playerRoot, slot);
            if (node == nullptr) continue;
            const int32_t factor = expectedFactor(node);
            sf::Sprite badge(game.balanceTexture, {(factor + 2) * kBadgeWidth, 0, kBadgeWidth, kBadgeHeight});
            badge.setPosition(game.balanceSprites[slot].getPosition());
            EXPECT_TRUE(shows(shot, badge)) << "slot " << slot << " does not show " << factor;
            shown += factor != 0;
        }
        return shown;
    };
    // 50, 30, 20 unbalance the root (+2) and its left child leans left (+1).
    play({{50, 0}, {30, 1}, {20, 3}});
    ASSERT_EQ(game.pendingRotation, RotationKind::SingleRight);
    EXPECT_EQ(expectBadges("during the question"), 2);
    driver.answer(RotationKind::SingleRight);
    finishStallAnimation();
    // 30 at the root, 20 and 50 below; 40 under 50 makes 50 lean left (+1) and the root right (-1).
    ASSERT_TRUE(driver.insert(40, TreeSlot::RightLeft));
    EXPECT_EQ(expectBadges("after the rotation and 40"), 2);
    driver.press(sf::Keyboard::H);
    EXPECT_FALSE(shows(driver.capture(), game.balanceSprites[TreeSlot::Right])) << "H again hides them";
}

namespace {

// A tree the test owns, freed whatever the outcome.
struct OwnedTree {
    TreeNode* root = nullptr;
    ~OwnedTree() { destroyTree(&root); }
};

// Each legal move from the tree at root: every number of 0..numbers-1 not in it, at the place plain insertion gives
// it within three levels, then the AVL insertion; `next` sees the tree after it.
void eachMove(TreeNode* root, int32_t numbers, const std::function<void(TreeNode*)>& next) {
    for (int32_t number = 0; number < numbers; ++number) {
        if (findKey(&root, number) != -1 || placeOfKey(root, number) == TreeSlot::None) continue;
        OwnedTree after;
        copyTree(&root, &after.root);
        int32_t kind = RotationKind::None;
        insertBalanced(&after.root, number, 0, kind);
        next(after.root);
    }
}

// The trees legal play reaches, each once, up to `mostFruits` fruits.
void everyTree(int32_t numbers, int32_t mostFruits, const std::function<void(TreeNode*)>& visit) {
    std::set<std::string> seen;
    std::function<void(TreeNode*)> grow = [&](TreeNode* root) {
        if (!seen.insert(describeTree(root)).second) return;
        visit(root);
        if (static_cast<int32_t>(inOrderKeys(root).size()) < mostFruits) eachMove(root, numbers, grow);
    };
    grow(nullptr);
}

// Whether a tree can still be completed, asked of the numbers themselves, every tree met remembered whole.
struct NumberSearch {
    bool completable(TreeNode* root) {
        const std::string tree = describeTree(root);
        if (answers.count(tree) == 0) {
            bool found = filledSlots(root) == kStallCount;
            eachMove(root, numbers, [&](TreeNode* next) { found = found || completable(next); });
            answers[tree] = found;
        }
        return answers[tree];
    }
    int32_t numbers;
    std::map<std::string, bool> answers;
};

// findDeadEnd agrees with the numbers' search, and the stall it names is free and hangs from one of its two numbers,
// which are neighbours (or the range's ends).
::testing::AssertionResult agrees(NumberSearch& search, TreeNode* root) {
    const DeadEnd found = findDeadEnd(root, search.numbers);
    const std::string tree = describeTree(root) + " in 0.." + std::to_string(search.numbers - 1);
    if (found.stuck == search.completable(root)) return ::testing::AssertionFailure() << tree << " misjudged";
    if (!found.stuck) return ::testing::AssertionSuccess();
    const std::vector<int32_t> keys = inOrderKeys(root);
    const auto bound = std::lower_bound(keys.begin(), keys.end(), found.above);
    const TreeNode* parent = nodeAtSlot(root, (found.slot - 1) / 2);
    const bool right = (bound == keys.end() ? found.above == search.numbers : *bound == found.above) &&
                       (bound == keys.begin() ? found.below == -1 : *(bound - 1) == found.below) &&
                       found.slot > 0 && !nodeAtSlot(root, found.slot) && parent &&
                       parent->key == (found.slot % 2 ? found.above : found.below);
    if (right) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << tree << ": stall " << found.slot << " between " << found.below << " and "
                                         << found.above;
}

}  // namespace

TEST(DeadEnd, AgreesWithASearchOverTheNumbersOnEveryTreeOfSmallRangesAndOnRandomTrees) {
    // In 7 to 10 numbers gaps hold few, so which one is taken decides what is left; every tree play reaches there is
    // tried, those of two fruits (one rotation away) among them.
    int32_t stuckRotationAway = 0;
    for (int32_t numbers = 7; numbers <= 10; ++numbers) {
        NumberSearch search{numbers, {}};
        everyTree(numbers, kStallCount, [&](TreeNode* root) {
            EXPECT_TRUE(agrees(search, root));
            stuckRotationAway += filledSlots(root) == 2 && findDeadEnd(root, numbers).stuck;
        });
    }
    EXPECT_GT(stuckRotationAway, 50);
    // In the game's range a stuck tree always shows a stall no number fits: tried on every tree of one or two fruits
    // (after the third no move rotates, and each free stall takes only numbers of its own gap), and the issue's.
    everyTree(kFruitCount, 2, [&](TreeNode* root) {
        const DeadEnd found = findDeadEnd(root);
        EXPECT_TRUE(!found.stuck || found.above == found.below + 1) << describeTree(root);
    });
    const std::pair<std::vector<int32_t>, int32_t> examples[] = {
        {{50, 49}, TreeSlot::LeftRight}, {{50, 51}, TreeSlot::RightLeft}, {{50, 49, 51}, TreeSlot::LeftRight}};
    for (const auto& [keys, slot] : examples) {
        OwnedTree tree;
        for (const int32_t key : keys) {
            int32_t kind = RotationKind::None;
            insertBalanced(&tree.root, key, 0, kind);
        }
        EXPECT_EQ(findDeadEnd(tree.root).slot, slot) << describeTree(tree.root);
    }
}
