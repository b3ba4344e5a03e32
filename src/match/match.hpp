// A match or a practice as plain data and rules: no window, no pictures, no files.
// The game turns each turn's presses into Intents, calls step() with the time the
// turn took, and reads back what happened: the sounds to play, the history lines to
// write, whether to leave for the menu. Drawing reads the MatchState as it stands.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "match/dead_end.hpp"
#include "match/market.hpp"
#include "match/outcomes.hpp"
#include "tree/tree.hpp"

constexpr int32_t kNoFruit = -1;
// A practice left open for a day still shows a number that fits its card.
constexpr float kLongestPracticeSeconds = 99999.f;
// A pause (a question, an end card, a stalled machine) is never one giant step.
constexpr float kLongestStepSeconds = 0.1f;
constexpr float kStallAnimationSeconds = 0.8f;

enum class Phase {
    Walking,       // the character walks, picks, delivers
    Where,         // the big market asks which stall lost its balance, before the rotation
    Question,      // a delivery asked for a rotation, which the player must name
    StallsMoving,  // the named rotation is played out; the character waits
    Card,          // the end card, or a practice mistake's correction card
};

enum class Direction { None, Left, Right, Up, Down };

// Rows of the character sheet.
namespace Facing {
constexpr int32_t Up = 0;
constexpr int32_t Right = 1;
constexpr int32_t Left = 2;
constexpr int32_t Down = 3;
}  // namespace Facing

struct Lane {
    int32_t fruit = kNoFruit;  // none only while a teacher's list waits
    Point position;
    bool taken = false;  // picked up or thrown away: no longer shown
};

// What the player asks of the match in one turn.
struct Intents {
    Direction walk = Direction::None;
    bool insert = false;                    // Enter, Space or the insert button
    int32_t rotation = RotationKind::None;  // the first rotation named in the turn
    bool confirm = false;                   // Enter or the card's button: play again, try again
    bool toggleBadges = false;              // H
    // Where a delivery unbalanced the tree: a stall pointed at, or the highlight
    // moved along the path (up toward the root is -1) and then chosen.
    int32_t pointedStall = TreeSlot::None;
    int32_t highlightMove = 0;
    bool choose = false;  // Enter or Space
    bool leave = false;                     // Backspace or the corner button
};

enum class Sound { Pick, Place, Bin, Lost, Won };

// One judged event, to be written as a line of the history.
struct Judged {
    std::string event;
    int32_t fruit = kNoFruit;
    std::string chosen;
    std::string expected;
    bool correct = false;
    float seconds = 0;
};

struct StepResult {
    std::vector<Sound> sounds;
    std::vector<Judged> judged;
    bool musicStops = false;  // the match just ended (a practice's mistake does not)
    bool won = false;         // a match (not a practice) was won in this step
    bool toMenu = false;      // play again after the end, or the player left
};

struct MatchState {
    const Market* market = &smallMarket();
    bool practice = false;
    // The first step starts the match: its clock, its lanes.
    bool starting = true;
    Phase phase = Phase::Walking;
    float seconds = 0;
    int32_t shownSeconds = 0;  // the timer's whole seconds, frozen at the outcome

    Point character;
    int32_t facing = Facing::Right;
    int32_t walkFrame = 0;

    std::vector<Lane> lanes;
    std::vector<int32_t> fruitList;  // a teacher's numbers, or empty for chance
    size_t nextListed = 0;

    int32_t carried = kNoFruit;
    int32_t pickedLane = -1;
    // The free stall the character touches, whose insert button is offered.
    int32_t offeredSlot = TreeSlot::None;
    // Both trees, and both as they stood before the last delivery (practice only).
    Tree reference;
    Tree player;
    Tree referenceBefore;
    Tree playerBefore;
    // The fruit each stall shows.
    std::vector<int32_t> stallFruits;
    int32_t pendingRotation = RotationKind::None;
    // The big market's question of where: the stall that lost its balance (the
    // lowest on the path of the last fruit with a balance factor of two), the
    // stall the highlight is on and the one chosen. The player's tree shows the
    // fruit placed and nothing rotated until the rotation is named.
    int32_t unbalancedSlot = TreeSlot::None;
    int32_t highlightedSlot = TreeSlot::None;
    int32_t chosenSlot = TreeSlot::None;
    // The rotation being played out: the fruit each stall showed before it.
    std::vector<int32_t> stallFruitsBefore;
    float animationSeconds = 0;

    // The outcome, and what its card teaches.
    int32_t loss = LossCause::None;
    bool won = false;
    int32_t deliveredFruit = kNoFruit;
    int32_t deliveredSlot = TreeSlot::None;
    int32_t rightRotation = RotationKind::None;
    DeadEnd deadEnd;
    int32_t wonSeconds = 0;

    // Practice: the badges shown, the mistakes by kind.
    bool badgesShown = false;
    std::vector<int32_t> mistakes = std::vector<int32_t>(LossCause::Count, 0);

    bool hasOutcome() const { return loss != LossCause::None || won; }
    int32_t stallCount() const { return market->stallCount(); }
};

// A new match (or practice) on a market, the character at its start; the first
// step places the lanes.
MatchState newMatch(const Market& market, bool practice, const std::vector<int32_t>& fruitList = {});

// Advances the match by `seconds` of real time, acting on the turn's intents.
StepResult step(MatchState& match, float seconds, const Intents& intents);

// The character's box where it stands.
Box characterBox(const MatchState& match);
