// The rules of a match through src/match alone: no window, no pictures, no files. Matches and practices are driven
// by intents through step(), the character stood where a player would have walked it, and every step is checked
// for what a player could see go wrong: the trees, the stalls, the lanes, the walls, the verdict, the history.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <memory>
#include <numeric>
#include <random>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "match/match.hpp"
#include "support/tree_check.hpp"

namespace {

constexpr float kFrame = 1.f / 60;
// The market the tests play on: the small one unless a test stands in the big one.
const Market* played = &smallMarket();
const Market& market() { return *played; }
struct InBigMarket {
    InBigMarket() { played = &bigMarket(); }
    ~InBigMarket() { played = &smallMarket(); }
};

// The intents of a turn in which the player does one thing.
template <typename Field>
Intents with(Field Intents::*field, Field value) {
    Intents intents;
    intents.*field = value;
    return intents;
}

// Enter inserts beside a stall and confirms a card: a press that delivers must not also answer the card it brings.
Intents enter() {
    Intents intents = with(&Intents::insert, true);
    intents.confirm = true;
    return intents;
}

// A judged event as a line of the history writes it, from its event to its correctness.
std::string line(const Judged& judged) {
    const std::string fruit = judged.fruit == kNoFruit ? "" : std::to_string(judged.fruit);
    const std::string correct = judged.correct ? "1" : "0";
    return judged.event + "," + fruit + "," + judged.chosen + "," + judged.expected + "," + correct;
}

bool solid(const Box& body) {
    const auto touches = [&](const Box& area) { return body.touches(area); };
    return touches(market().bin) || std::any_of(market().stallAreas.begin(), market().stallAreas.end(), touches);
}

// A place the character can stand: inside the walk limits and out of every solid box.
bool walkable(Point at) {
    return at.x >= market().leftLimit && at.x <= market().rightLimit && at.y >= market().topLimit &&
           at.y <= market().bottomLimit && !solid(market().character.at(at));
}

// Against the middle of stall `slot`'s counter, where a player walking up to it stops, touching no other stall.
Point spotAgainst(int32_t slot) {
    const Box& stall = market().stalls[slot];
    const Box& counter = market().stallAreas[slot];
    const Point at{stall.left + (stall.width - market().character.width) / 2,
                   std::min(counter.top + counter.height, market().bottomLimit)};
    const auto touched = [&](const Box& other) { return market().character.at(at).touches(other); };
    EXPECT_TRUE(walkable(at) && std::count_if(market().stalls.begin(), market().stalls.end(), touched) == 1) << slot;
    return at;
}

// How far box `c`, walking the unit step `way`, still is from box `o` ahead of it.
float gap(Point way, const Box& o, const Box& c) {
    if (way.x != 0) {
        return way.x > 0 ? o.left - c.left - c.width : c.left - o.left - o.width;
    }
    return way.y > 0 ? o.top - c.top - c.height : c.top - o.top - o.height;
}

struct Move {
    int32_t fruit;
    int32_t slot;
    int32_t answer = RotationKind::None;  // the rotation named after this delivery
};

// Each rule of a step: the first one broken ends the check with its reason.
#define RULE(holds, reason) \
    if (!(holds)) return ::testing::AssertionFailure() << reason

// A match or a practice and all it told: every step is checked, its lines and sounds kept.
class Play {
public:
    explicit Play(bool practice = false, const std::vector<int32_t>& fruitList = {})
        : m(newMatch(market(), practice, fruitList)) {
        turn();
    }

    StepResult turn(const Intents& intents = {}, float seconds = kFrame) {
        const StepResult result = step(m, seconds, intents);
        for (const Judged& judged : result.judged) {
            lines.push_back(line(judged));
        }
        sounds.insert(sounds.end(), result.sounds.begin(), result.sounds.end());
        musicStops += result.musicStops;
        records += result.won;
        EXPECT_TRUE(check(result)) << "after " << lines.size() << " lines";
        return result;
    }
    // Waits, as the character must, until the fruits of a rotation have reached their stalls.
    void settle() {
        for (int turns = 0; turns < 100 && m.phase == Phase::StallsMoving; ++turns) {
            turn({}, kLongestStepSeconds);
        }
    }
    // Stands at the character's start and lets `fruit` fall into its hands from a free lane: true once carried.
    bool carry(int32_t fruit) {
        settle();
        m.character = {market().character.left, market().character.top};
        const Box body = characterBox(m);
        const float fall = market().fallPixelsPerSecond * kFrame;
        const auto free = std::find_if(m.lanes.begin(), m.lanes.end(), [](const Lane& l) { return !l.taken; });
        if (free == m.lanes.end() || m.carried != kNoFruit) {
            return false;
        }
        for (Lane& other : m.lanes) {
            // The numbers falling together stay different, and only the asked-for one lands on the character.
            other.fruit = other.fruit == fruit ? free->fruit : other.fruit;
            if (body.touches({other.position.x, other.position.y + fall, market().fruitSize, market().fruitSize})) {
                other.position.y = -2 * market().fruitSize;
            }
        }
        free->fruit = fruit;
        free->position = {body.left + body.width / 4, body.top + body.height / 4 - fall};
        turn();
        return m.carried == fruit;
    }
    // Stands against stall `slot` and presses Enter: true when the fruit left the hand.
    bool deliver(int32_t slot) {
        m.character = spotAgainst(slot);
        turn();
        EXPECT_EQ(m.offeredSlot, slot) << "stall " << slot << " offered no insert button";
        turn(enter());
        return m.carried == kNoFruit;
    }
    void play(const std::vector<Move>& moves) {
        for (const Move& move : moves) {
            ASSERT_TRUE(carry(move.fruit) && deliver(move.slot)) << "fruit " << move.fruit;
            if (move.answer != RotationKind::None) {
                turn(with(&Intents::rotation, move.answer));
            }
        }
    }
    // Walks into the bin from its left.
    void throwAway() {
        settle();
        m.character = {market().bin.left - market().character.width - 1, market().bin.top};
        for (int turns = 0; turns < 3; ++turns) {
            turn(with(&Intents::walk, Direction::Right));
        }
    }
    // Right of the lanes, where no fruit falls onto the character.
    void standAside() { m.character = {market().laneWidth + market().fruitSize, market().topLimit}; }

    MatchState m;
    std::vector<std::string> lines;
    std::vector<Sound> sounds;
    int32_t musicStops = 0;
    int32_t records = 0;  // steps that said a match was won, for the best time

private:
    // After every step: the reference is a balanced search tree of different numbers; between moves the player's
    // tree equals it and the stalls show it; a rotation is asked for only after the fruit went to its own stall; the
    // fruits of a rotation travel only while the stalls move; the falling numbers differ; the character stays in the
    // market and out of every solid box; each line carries the step's clock; an outcome never changes, writes
    // nothing more, sounds once and freezes the timer.
    ::testing::AssertionResult check(const StepResult& result) {
        for (const Judged& judged : result.judged) {
            RULE(judged.seconds == m.seconds, line(judged) << " at " << judged.seconds << " s of " << m.seconds);
        }
        const ::testing::AssertionResult tree = isBalancedSearchTree(m.reference.root);
        RULE(tree, "reference tree: " << tree.message());
        const std::vector<int32_t> keys = inOrderKeys(m.reference.root);
        RULE(std::adjacent_find(keys.begin(), keys.end()) == keys.end(), "a number twice in the reference tree");
        RULE(m.hasOutcome() == (m.phase == Phase::Card), "an outcome without its card, or a card without one");
        if (!m.hasOutcome()) {
            const bool asked = m.phase == Phase::Where || m.phase == Phase::Question;
            RULE(asked == (m.pendingRotation != RotationKind::None), "a question unasked");
            RULE(m.phase != Phase::Where || market().asksWhere, "where asked in the small market");
            RULE(asked || sameShapeAndKeys(m.reference.root, m.player.root),
                 "the trees differ: " << describeTree(m.reference.root) << " / " << describeTree(m.player.root));
            for (int32_t slot = 0; slot < m.stallCount(); ++slot) {
                const TreeNode* node = nodeAtSlot(m.player.root, slot);
                RULE(m.stallFruits[slot] == (node ? node->key : kNoFruit),
                     "stall " << slot << " shows " << m.stallFruits[slot] << " of " << describeTree(m.player.root));
            }
        }
        const std::vector<int32_t> playerKeys = inOrderKeys(m.player.root);
        RULE(m.pendingRotation == RotationKind::None ||
                 (std::is_sorted(playerKeys.begin(), playerKeys.end()) &&
                  slotOfKey(m.player.root, m.deliveredFruit) == m.deliveredSlot),
             "a rotation asked for after " << m.deliveredFruit << " in stall " << m.deliveredSlot);
        RULE(m.phase == Phase::StallsMoving || m.animationSeconds == kStallAnimationSeconds,
             "the stall fruits still travel in phase " << static_cast<int>(m.phase));
        for (const Lane& lane : m.lanes) {
            const bool waits = lane.fruit == kNoFruit && !m.fruitList.empty();  // only a teacher's list waits
            const auto same = [&](const Lane& other) { return other.fruit == lane.fruit; };
            RULE(waits || (lane.fruit >= 0 && lane.fruit < kFruitCount &&
                           std::count_if(m.lanes.begin(), m.lanes.end(), same) == 1),
                 "a lane brings " << lane.fruit);
        }
        const float reach = market().walkPixelsPerSecond * kLongestStepSeconds;
        const Point at = m.character;
        RULE(!solid(characterBox(m)) && at.x >= market().leftLimit - reach && at.x <= market().rightLimit + reach &&
                 at.y >= market().topLimit - reach && at.y <= market().bottomLimit + reach,
             "the character stands at (" << at.x << ", " << at.y << ")");
        // A practice takes its mistakes back: then there is no outcome again.
        if (m.practice && !m.hasOutcome()) {
            seenLoss = LossCause::None;
        }
        if (seenLoss != LossCause::None || seenWon) {
            const auto verdict = [](Sound s) { return s == Sound::Lost || s == Sound::Won; };
            RULE(m.loss == seenLoss && m.won == seenWon && m.shownSeconds == seenShown && result.judged.empty() &&
                     std::none_of(result.sounds.begin(), result.sounds.end(), verdict) && !result.musicStops,
                 "the outcome " << seenLoss << "/" << seenWon << " at " << seenShown << " s became " << m.loss << "/"
                                << m.won << " at " << m.shownSeconds << " s");
        }
        seenLoss = m.loss;
        seenWon = m.won;
        seenShown = m.shownSeconds;
        return ::testing::AssertionSuccess();
    }

    int32_t seenLoss = LossCause::None;
    bool seenWon = false;
    int32_t seenShown = 0;
};

}  // namespace

TEST(Match, EachOutcomeWritesItsLinesStandsAndItsCardLeadsToTheMenu) {
    // How a match is brought to its end after its moves.
    enum class End { Moves, Clock, Leave };
    const struct {
        std::vector<Move> moves;
        End end;
        int32_t loss;
        std::string last;  // the history's last line
    } rows[] = {
        {{{50, 0}, {30, 2}}, End::Moves, LossCause::WrongSlot, "stall,30,R,L,0"},
        // A fruit that would rotate, in its sibling's stall: the stall loses before any rotation is asked.
        {{{50, 0}, {30, 1}, {40, 3}}, End::Moves, LossCause::WrongSlot, "stall,40,LL,LR,0"},
        {{{50, 0}, {30, 1}, {70, 2}, {20, 3}, {40, 4}, {60, 5}, {10, 6}}, End::Moves, LossCause::WrongSlot,
         "stall,10,RR,bin,0"},
        {{{50, 0}, {30, 1}, {40, 4, RotationKind::SingleLeft}}, End::Moves, LossCause::WrongRotation,
         "rotation,40,single-left,double-right,0"},
        // A repeat into the last free stall, instead of a win.
        {{{50, 0}, {25, 1}, {75, 2}, {12, 3}, {37, 4}, {62, 5}, {50, 6}}, End::Moves, LossCause::RepeatedKey,
         "repeat,50,RR,,0"},
        // No number lies between 49 and 50, nor above 99 (where a rotation named right brought 99).
        {{{50, 0}, {49, 1}}, End::Moves, LossCause::Stuck, "stuck,49,LR,,0"},
        {{{1, 0}, {70, 2}, {99, 6, RotationKind::SingleLeft}}, End::Moves, LossCause::Stuck, "stuck,99,RR,,0"},
        // The clock runs out while walking, during a question and while the fruits of a rotation travel.
        {{{50, 0}, {30, 1}, {70, 2}}, End::Clock, LossCause::TimeOut, "timeout,,3,7,0"},
        {{{50, 0}, {30, 1}, {20, 3}}, End::Clock, LossCause::TimeOut, "timeout,,3,7,0"},
        {{{50, 0}, {30, 1}, {20, 3, RotationKind::SingleRight}}, End::Clock, LossCause::TimeOut, "timeout,,3,7,0"},
        {{{50, 0}, {30, 1}, {20, 3, RotationKind::SingleRight}, {10, 3}, {25, 4}, {40, 5}, {60, 6}}, End::Moves,
         LossCause::None, "won,,,,1"},
        {{{50, 0}}, End::Leave, LossCause::None, "left,,,,0"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.last + " after " + std::to_string(row.moves.size()) + " moves");
        Play match;
        match.play(row.moves);
        MatchState& m = match.m;
        if (row.end == End::Clock) {
            // Stalled turns: one to just before the end, one past it.
            match.turn({}, market().matchSeconds - 0.05f - m.seconds);
            EXPECT_EQ(m.shownSeconds, market().matchSeconds - 1);
            EXPECT_FALSE(m.hasOutcome());
            match.turn({}, 0.1f);
        } else if (row.end == End::Leave) {
            EXPECT_TRUE(match.turn(with(&Intents::leave, true)).toMenu);
        }
        // A line for each delivery and rotation named, and one for an end by time, a dead end, a win or leaving.
        size_t judged = row.moves.size();
        for (const Move& move : row.moves) {
            judged += move.answer != RotationKind::None;
        }
        judged += row.end != End::Moves || row.loss == LossCause::Stuck || row.loss == LossCause::None;
        ASSERT_EQ(match.lines.size(), judged);
        EXPECT_EQ(match.lines.back(), row.last);
        if (row.end == End::Leave) {
            continue;
        }
        EXPECT_EQ(m.loss, row.loss);
        EXPECT_EQ(m.won, row.loss == LossCause::None);
        EXPECT_EQ(match.records, m.won ? 1 : 0);
        EXPECT_EQ(match.musicStops, 1);
        EXPECT_EQ(std::count(match.sounds.begin(), match.sounds.end(), m.won ? Sound::Won : Sound::Lost), 1);
        // Nothing changes the verdict: a fruit at a free stall, the question's rotation named, the clock read far
        // past the end in one stalled turn. The step's checks see that no line is written and nothing sounds.
        const auto free = std::find(m.stallFruits.begin(), m.stallFruits.end(), kNoFruit);
        const bool carrying = free != m.stallFruits.end();
        if (carrying) {
            ASSERT_TRUE(match.carry(42));
            m.character = spotAgainst(static_cast<int32_t>(free - m.stallFruits.begin()));
        }
        const std::vector<int32_t> stalls = m.stallFruits;
        const std::string player = describeTree(m.player.root);
        Intents late = with(&Intents::rotation, m.pendingRotation);
        late.rotation = late.rotation == RotationKind::None ? RotationKind::SingleRight : late.rotation;
        late.insert = true;
        match.turn(late, 1e12f);
        EXPECT_EQ(m.offeredSlot, TreeSlot::None);
        EXPECT_EQ(m.carried, carrying ? 42 : kNoFruit);
        EXPECT_EQ(m.stallFruits, stalls);
        EXPECT_EQ(describeTree(m.player.root), player);
        EXPECT_TRUE(match.turn(with(&Intents::confirm, true)).toMenu);
    }
}

TEST(Match, EachRotationIsAskedNamedAndPlayedOutWhileTheCharacterWaits) {
    const struct {
        std::vector<Move> moves;  // the last one asks for the rotation
        int32_t kind;
        std::string line;     // the rotation named, as the history writes it
        std::string rotated;  // the tree after it
    } rows[] = {
        {{{50, 0}, {30, 1}, {20, 3}}, RotationKind::SingleRight, "rotation,20,single-right,single-right,1",
         "30(20,50)"},
        {{{50, 0}, {30, 1}, {40, 4}}, RotationKind::DoubleRight, "rotation,40,double-right,double-right,1",
         "40(30,50)"},
        {{{10, 0}, {50, 2}, {90, 6}}, RotationKind::SingleLeft, "rotation,90,single-left,single-left,1", "50(10,90)"},
        {{{50, 0}, {90, 2}, {60, 5}}, RotationKind::DoubleLeft, "rotation,60,double-left,double-left,1", "60(50,90)"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.line);
        Play match;
        match.play(row.moves);
        MatchState& m = match.m;
        ASSERT_EQ(m.pendingRotation, row.kind);
        const Point standing = m.character;
        const Intents left = with(&Intents::walk, Direction::Left);
        match.turn(left);
        const std::vector<int32_t> before = m.stallFruits;
        match.turn(with(&Intents::rotation, row.kind));
        EXPECT_EQ(match.lines.back(), row.line);
        EXPECT_EQ(match.sounds.back(), Sound::Place);
        EXPECT_EQ(describeTree(m.player.root), row.rotated);
        EXPECT_EQ(m.stallFruitsBefore, before);  // where each fruit sets out from
        // The character waits through the question and while the fruits travel, and no longer.
        float waited = 0;
        for (; m.phase == Phase::StallsMoving && waited < 1; waited += kFrame) {
            match.turn(left);
        }
        EXPECT_EQ(m.character, standing);
        EXPECT_NEAR(waited, kStallAnimationSeconds, kFrame);
        match.turn(left);
        EXPECT_LT(m.character.x, standing.x);
    }
}

TEST(Practice, EachMistakeIsCountedAndTakenBackAndSevenStallsFinishIt) {
    Play practice(true);
    MatchState& m = practice.m;
    practice.play({{50, 0}, {30, 1}});
    const std::string twoFruits = describeTree(m.reference.root);
    const std::vector<int32_t> twoStalls = m.stallFruits;
    // Each mistake shows its card; confirmed, the trees and stalls are as before it and the fruit is in the hand.
    const auto takeBack = [&](int32_t cause, int32_t fruit) {
        SCOPED_TRACE("mistake " + std::to_string(cause));
        ASSERT_EQ(m.loss, cause);
        practice.turn(with(&Intents::confirm, true));
        EXPECT_EQ(m.phase, Phase::Walking);
        EXPECT_EQ(m.carried, fruit);
        EXPECT_EQ(describeTree(m.reference.root), twoFruits);
        EXPECT_EQ(describeTree(m.player.root), twoFruits);
        EXPECT_EQ(m.stallFruits, twoStalls);
    };
    // A rotation named right into a dead end: 29 under 30 turns the tree to 30(29,50), and no number lies between.
    practice.play({{29, 3, RotationKind::SingleRight}});
    takeBack(LossCause::Stuck, 29);
    practice.throwAway();
    ASSERT_EQ(m.carried, kNoFruit);
    // With empty hands the button beside a free stall inserts nothing.
    m.character = spotAgainst(TreeSlot::LeftLeft);
    practice.turn(enter());
    EXPECT_EQ(m.offeredSlot, TreeSlot::LeftLeft);
    practice.play({{20, 4}});
    takeBack(LossCause::WrongSlot, 20);
    // Against a filled stall, or away from every stall, no button is offered, and Enter keeps the fruit in hand.
    for (const Point at : {spotAgainst(TreeSlot::Left), Point{market().character.left, market().character.top}}) {
        m.character = at;
        practice.turn(enter());
        EXPECT_EQ(m.offeredSlot, TreeSlot::None);
        EXPECT_EQ(m.carried, 20);
    }
    ASSERT_TRUE(practice.deliver(TreeSlot::LeftLeft));
    practice.turn(with(&Intents::rotation, RotationKind::SingleLeft));
    takeBack(LossCause::WrongRotation, 20);
    ASSERT_TRUE(practice.deliver(TreeSlot::LeftLeft));
    practice.turn(with(&Intents::rotation, RotationKind::SingleRight));
    practice.play({{30, 5}});
    ASSERT_EQ(m.loss, LossCause::RepeatedKey);
    practice.turn(with(&Intents::confirm, true));
    EXPECT_EQ(m.carried, 30);
    practice.throwAway();
    // No clock: far past a match's end nothing ends. The badges come and go.
    practice.turn({}, 10 * market().matchSeconds);
    EXPECT_FALSE(m.hasOutcome());
    practice.turn(with(&Intents::toggleBadges, true));
    EXPECT_TRUE(m.badgesShown);
    practice.turn(with(&Intents::toggleBadges, true));
    EXPECT_FALSE(m.badgesShown);
    practice.play({{10, 3}, {25, 4}, {40, 5}, {60, 6}});
    ASSERT_TRUE(m.won);
    for (const int32_t cause : {LossCause::WrongSlot, LossCause::WrongRotation, LossCause::RepeatedKey,
                                LossCause::Stuck}) {
        EXPECT_EQ(m.mistakes[cause], 1) << "mistakes of kind " << cause;
    }
    // A lesson, not a defeat: the music stops only at the end, and a practice keeps no best time.
    EXPECT_EQ(practice.musicStops, 1);
    EXPECT_EQ(std::count(practice.sounds.begin(), practice.sounds.end(), Sound::Lost), 0);
    EXPECT_EQ(practice.records, 0);
    EXPECT_EQ(m.wonSeconds, static_cast<int32_t>(m.seconds));
    const std::vector<std::string> made = {
        "stall,50,root,root,1", "stall,30,L,L,1", "stall,29,LL,LL,1", "rotation,29,single-right,single-right,1",
        "stuck,29,LR,,0", "stall,20,LR,LL,0", "stall,20,LL,LL,1", "rotation,20,single-left,single-right,0",
        "stall,20,LL,LL,1", "rotation,20,single-right,single-right,1", "repeat,30,RL,,0", "stall,10,LL,LL,1",
        "stall,25,LR,LR,1", "stall,40,RL,RL,1", "stall,60,RR,RR,1", "complete,,,,1"};
    EXPECT_EQ(practice.lines, made);
    EXPECT_TRUE(practice.turn(with(&Intents::confirm, true)).toMenu);
    // A practice left halfway keeps no score, so it writes no line.
    Play left(true);
    left.play({{50, 0}});
    EXPECT_TRUE(left.turn(with(&Intents::leave, true)).toMenu);
    EXPECT_EQ(left.lines.size(), 1u);
    // A match shows no badges.
    Play match;
    match.turn(with(&Intents::toggleBadges, true));
    EXPECT_FALSE(match.m.badgesShown);
}

TEST(Walk, EachDirectionWalksItsPixelsPerSecondUpToItsLimitAndNotAStepBefore) {
    // At each limit and half a pixel inside it: the top limit is the last place Up still steps from, the three
    // others the first places their direction no longer steps from.
    const float x = market().character.left;
    const struct {
        Direction direction;
        Point from;
        bool steps;
        int32_t facing;  // after the turn, which only a step changes
    } rows[] = {{Direction::Left, {market().leftLimit, 400}, false, Facing::Right},
                {Direction::Left, {market().leftLimit + 0.5f, 400}, true, Facing::Left},
                {Direction::Right, {market().rightLimit, market().bottomLimit}, false, Facing::Right},
                {Direction::Right, {market().rightLimit - 0.5f, market().bottomLimit}, true, Facing::Right},
                {Direction::Up, {x, market().topLimit}, true, Facing::Up},
                {Direction::Up, {x, market().topLimit - 0.5f}, false, Facing::Right},
                {Direction::Down, {x, market().bottomLimit}, false, Facing::Right},
                {Direction::Down, {x, market().bottomLimit - 0.5f}, true, Facing::Down}};
    for (const auto& row : rows) {
        SCOPED_TRACE("from " + std::to_string(row.from.x) + ", " + std::to_string(row.from.y));
        Play match;
        match.m.character = row.from;
        match.turn(with(&Intents::walk, row.direction));
        const Point moved = match.m.character - row.from;
        EXPECT_FLOAT_EQ(std::hypot(moved.x, moved.y), row.steps ? market().walkPixelsPerSecond * kFrame : 0);
        EXPECT_EQ(match.m.facing, row.facing);
    }
    // A turn stalled for half a second walks a tenth of a second's way.
    Play stalled;
    stalled.turn(with(&Intents::walk, Direction::Up), 0.5f);
    EXPECT_FLOAT_EQ(market().character.top - stalled.m.character.y, market().walkPixelsPerSecond * kLongestStepSeconds);
}

TEST(Walk, StallsAndTheBinStopTheCharacterFromEverySideItCanStandAndTheStallsOfferTheirButton) {
    std::vector<Box> obstacles = market().stallAreas;
    obstacles.push_back(market().bin);
    const Box& body = market().character;
    for (size_t k = 0; k < obstacles.size(); ++k) {
        const Box& o = obstacles[k];
        const bool bin = k == obstacles.size() - 1;
        SCOPED_TRACE(bin ? "bin" : "stall " + std::to_string(k));
        const Point middle{o.left + o.width / 2 - body.width / 2, o.top + o.height / 2 - body.height / 2};
        int tried = 0;
        const std::pair<Direction, Point> ways[] = {{Direction::Right, {1, 0}}, {Direction::Left, {-1, 0}},
                                                    {Direction::Down, {0, 1}}, {Direction::Up, {0, -1}}};
        for (const auto& [towards, way] : ways) {
            // Off the side it walks in from, several steps away or, where there is no room for that, just off.
            const auto off = [&](float distance) { return middle - way * (distance - gap(way, o, body.at(middle))); };
            const Point from = walkable(off(20.5f)) ? off(20.5f) : off(2.5f);
            if (!walkable(from)) {
                continue;
            }
            ++tried;
            SCOPED_TRACE("walking " + std::to_string(static_cast<int>(towards)));
            Play match;
            ASSERT_TRUE(!bin || match.carry(42));
            match.m.character = from;
            for (int turn = 0; turn < 10; ++turn) {
                match.turn(with(&Intents::walk, towards));
            }
            const float left = gap(way, o, characterBox(match.m));
            EXPECT_TRUE(left >= 0 && left < market().walkPixelsPerSecond * kFrame) << "stopped " << left << " px off";
            // The stall's picture reaches past its counter beside and below it: the button is offered there.
            EXPECT_TRUE(bin || towards == Direction::Down || match.m.offeredSlot == static_cast<int32_t>(k));
            if (bin) {
                EXPECT_TRUE(match.m.carried == kNoFruit && match.sounds.back() == Sound::Bin) << "nothing thrown";
                // Thrown away, the fruit is gone from its lane as it falls on: standing in its way picks nothing.
                match.m.character = match.m.lanes[match.m.pickedLane].position;
                match.turn();
                EXPECT_NE(match.m.carried, 42);
            }
        }
        EXPECT_GE(tried, 2) << "reachable from one side only";
    }
}

TEST(Lanes, SixDifferentNumbersFallThreePixelsASixtiethAndComeBackFromTheTop) {
    std::srand(5);
    Play match;
    std::vector<Lane>& lanes = match.m.lanes;
    match.standAside();
    // Turns of a sixtieth, of a twentieth and stalled ones, which fall a tenth of a second's way.
    const float turns[] = {kFrame, 3 * kFrame, 0.25f};
    std::vector<int> wrapped(lanes.size(), 0);
    int kept = 0;
    for (int turn = 0; turn < 3000; ++turn) {
        const float fall = 3 * std::min(turns[turn % 3], kLongestStepSeconds) / kFrame;
        const std::vector<Lane> before = lanes;
        match.turn({}, turns[turn % 3]);
        for (size_t lane = 0; lane < lanes.size(); ++lane) {
            const Point at = lanes[lane].position;
            if (at.y >= before[lane].position.y) {
                ASSERT_NEAR(at.y - before[lane].position.y, fall, 1e-3f) << "lane " << lane;
                continue;
            }
            // Gone below the picture, the lane comes back from its top at a whole place, with a new number.
            ASSERT_GE(before[lane].position.y, market().laneBottom);
            ASSERT_NEAR(at.y, fall, 1e-3f);
            EXPECT_TRUE(at.x == std::floor(at.x) && at.x >= 0 && at.x < market().laneWidth) << at.x;
            ++wrapped[lane];
            kept += lanes[lane].fruit == before[lane].fruit;
        }
    }
    EXPECT_GE(*std::min_element(wrapped.begin(), wrapped.end()), 30);
    EXPECT_LT(kept, 30) << "lanes come back with their number";
}

TEST(Lanes, ATeachersListFallsInOrderAndOverAgainInAsManyLanesAsItHasNumbers) {
    // Seven numbers and the first again, so twice in a row once the list starts over; three, one twice; one alone:
    // each with the lanes it can fill (one number falls in one lane at a time).
    const std::pair<std::vector<int32_t>, int64_t> rows[] = {
        {{50, 30, 40, 70, 60, 80, 20, 50}, 6}, {{50, 30, 40, 30}, 3}, {{7}, 1}};
    for (const auto& [list, lanes] : rows) {
        SCOPED_TRACE(::testing::PrintToString(list));
        Play match(false, list);
        match.standAside();
        std::vector<int32_t> fallen;  // each number a lane began to bring, in order
        int64_t mostAtOnce = 0;
        for (int turn = 0; turn <= 150; ++turn) {
            const std::vector<Lane> before = match.m.lanes;
            if (turn > 0) {
                match.turn({}, 0.1f);
            }
            for (size_t lane = 0; lane < before.size(); ++lane) {
                const Lane& now = match.m.lanes[lane];
                if ((turn == 0 || now.position.y < before[lane].position.y) && now.fruit != kNoFruit) {
                    fallen.push_back(now.fruit);
                }
            }
            const auto none = [](const Lane& l) { return l.fruit == kNoFruit; };
            mostAtOnce = std::max(mostAtOnce, market().laneCount - std::count_if(before.begin(), before.end(), none));
        }
        std::vector<int32_t> expected;
        for (size_t at = 0; at < fallen.size(); ++at) {
            expected.push_back(list[at % list.size()]);
        }
        EXPECT_GT(fallen.size(), list.size()) << "the list never started over";
        EXPECT_EQ(fallen, expected);
        EXPECT_EQ(mostAtOnce, lanes);
    }
}

namespace {

// The numbers of 0..numbers - 1 a player can still bring to the tree: not in it, and at home within three levels.
std::vector<int32_t> moves(TreeNode* root, int32_t numbers) {
    std::vector<int32_t> free;
    for (int32_t number = 0; number < numbers; ++number) {
        if (findKey(&root, number) == -1 && placeOfKey(root, number) != TreeSlot::None) {
            free.push_back(number);
        }
    }
    return free;
}

// A copy of the tree at root with `number` added, balanced as the reference tree is.
Tree grown(TreeNode* root, int32_t number) {
    Tree next;
    copyTree(&root, &next.root);
    int32_t kind = RotationKind::None;
    insertBalanced(&next.root, number, 0, kind);
    return next;
}

// Whether a tree can still be completed, asked of the numbers themselves: each move in turn, then the AVL
// insertion. Every tree met is remembered whole, as describeTree writes it.
class NumberSearch {
public:
    explicit NumberSearch(int32_t numbers) : numbers(numbers) {}
    bool completable(TreeNode* root) {
        if (filledSlots(root) == TreeSlot::Count) {
            return true;
        }
        const std::string tree = describeTree(root);
        if (const auto known = answers.find(tree); known != answers.end()) {
            return known->second;
        }
        bool found = false;
        for (const int32_t number : moves(root, numbers)) {
            found = found || completable(grown(root, number).root);
        }
        return answers[tree] = found;
    }
    const int32_t numbers;

private:
    std::unordered_map<std::string, bool> answers;
};

// findDeadEnd agrees with the numbers' search, and in the game's range the stall it names is free and no number
// can fill it: its two numbers are neighbours in the tree (or the range's bound past it) with none between them,
// and a number between them would go to that stall.
::testing::AssertionResult agrees(NumberSearch& search, TreeNode* root) {
    const DeadEnd found = findDeadEnd(root, search.numbers);
    const std::string tree = describeTree(root) + " in 0.." + std::to_string(search.numbers - 1);
    if (found.stuck == search.completable(root)) {
        return ::testing::AssertionFailure() << tree << (found.stuck ? " is not stuck" : " is stuck");
    }
    const std::vector<int32_t> keys = inOrderKeys(root);
    const auto bound = [&](int32_t key, int32_t past) {
        return key == past || std::count(keys.begin(), keys.end(), key) == 1;
    };
    // Equal keys go right, so the bound below leads where the numbers just above it would go.
    const bool closed = found.above == found.below + 1 && bound(found.below, -1) &&
                        bound(found.above, search.numbers) && placeOfKey(root, found.below) == found.slot &&
                        nodeAtSlot(root, found.slot) == nullptr;
    if (found.stuck && search.numbers == kFruitCount && !closed) {
        return ::testing::AssertionFailure() << tree << ": stall " << found.slot << " between " << found.below
                                             << " and " << found.above;
    }
    return ::testing::AssertionSuccess();
}

}  // namespace

TEST(DeadEnd, AgreesWithASearchOverTheNumbersOnEveryTreeOfSmallRangesAndOnRandomTrees) {
    // In ranges of 7 to 10 numbers gaps hold few numbers, so which one is taken decides what is left; every tree
    // play reaches there is tried, those one rotation away among them.
    int32_t stuck = 0;
    int32_t total = 0;
    for (int32_t numbers = 7; numbers <= 10; ++numbers) {
        NumberSearch search(numbers);
        std::set<std::string> seen;
        std::function<void(TreeNode*)> grow = [&](TreeNode* root) {
            if (!seen.insert(describeTree(root)).second) {
                return;
            }
            ASSERT_TRUE(agrees(search, root));
            stuck += findDeadEnd(root, numbers).stuck;
            ++total;
            for (const int32_t number : moves(root, numbers)) {
                grow(grown(root, number).root);
            }
        };
        grow(nullptr);
    }
    EXPECT_GT(stuck, total / 4);
    EXPECT_LT(stuck, total * 9 / 10);
    // The game's range: trees of four to six fruits (fewer where no number fits any more), drawn so that
    // neighbours often lie close.
    NumberSearch search(kFruitCount);
    std::mt19937 random(25);
    stuck = 0;
    for (int tree = 0; tree < 300; ++tree) {
        Tree played;
        const size_t fruits = 4 + random() % 3;
        for (size_t count = 0; count < fruits; ++count) {
            const std::vector<int32_t> free = moves(played.root, kFruitCount);
            if (free.empty()) {
                break;
            }
            const std::vector<int32_t> keys = inOrderKeys(played.root);
            int32_t number = free[random() % free.size()];
            if (!keys.empty() && random() % 2 == 0) {
                const int32_t near = keys[random() % keys.size()] + (random() % 2 ? 1 : -1);
                number = std::count(free.begin(), free.end(), near) ? near : number;
            }
            played = grown(played.root, number);
        }
        ASSERT_TRUE(agrees(search, played.root));
        stuck += findDeadEnd(played.root).stuck;
    }
    EXPECT_GT(stuck, 30);
    EXPECT_LT(stuck, 270);
}

namespace {

// An AVL tree of the test's own, heights kept in its nodes, for the big market to be checked against: where a
// number goes among fifteen stalls, at which stall the insertion rotates and how.
struct ModelNode {
    int32_t key = 0;
    int32_t value = 0;  // unused, read as the game's nodes are
    int32_t height = 0;
    std::unique_ptr<ModelNode> left;
    std::unique_ptr<ModelNode> right;
};
using ModelLink = std::unique_ptr<ModelNode>;

int32_t heightOf(const ModelLink& node) { return node ? node->height : -1; }
void fix(ModelNode& node) { node.height = 1 + std::max(heightOf(node.left), heightOf(node.right)); }

// The child on side `left` comes up.
void turn(ModelLink& link, bool left) {
    ModelLink up = std::move(left ? link->left : link->right);
    (left ? link->left : link->right) = std::move(left ? up->right : up->left);
    fix(*link);
    (left ? up->right : up->left) = std::move(link);
    fix(*up);
    link = std::move(up);
}

struct AvlModel {
    ModelLink root;
    int32_t rotatedSlot = TreeSlot::None;
    int32_t kind = RotationKind::None;

    int32_t place(int32_t key) const {
        int32_t slot = 0;
        for (const ModelNode* node = root.get(); node; node = key < node->key ? node->left.get() : node->right.get()) {
            slot = 2 * slot + (key < node->key ? 1 : 2);
        }
        return slot < TreeSlot::FourLevelCount ? slot : TreeSlot::None;
    }
    void insert(int32_t key) {
        rotatedSlot = TreeSlot::None;
        kind = RotationKind::None;
        add(root, key, 0);
    }

private:
    void add(ModelLink& link, int32_t key, int32_t slot) {
        if (!link) {
            link = std::make_unique<ModelNode>();
            link->key = key;
            return;
        }
        const bool left = key < link->key;
        add(left ? link->left : link->right, key, 2 * slot + (left ? 1 : 2));
        fix(*link);
        const int32_t factor = heightOf(link->left) - heightOf(link->right);
        if (factor == 2) {
            kind = key < link->left->key ? RotationKind::SingleRight : RotationKind::DoubleRight;
        } else if (factor == -2) {
            kind = key >= link->right->key ? RotationKind::SingleLeft : RotationKind::DoubleLeft;
        } else {
            return;
        }
        rotatedSlot = slot;
        if (kind == RotationKind::DoubleRight || kind == RotationKind::DoubleLeft) {
            turn(factor == 2 ? link->left : link->right, factor != 2);
        }
        turn(link, factor == 2);
    }
};

// The nodes whose sides differ in height by two or more, heights counted here.
int32_t unbalancedNodes(const TreeNode* node, int32_t* height) {
    if (node == nullptr) {
        *height = -1;
        return 0;
    }
    int32_t left = 0;
    int32_t right = 0;
    const int32_t below = unbalancedNodes(node->left, &left) + unbalancedNodes(node->right, &right);
    *height = 1 + std::max(left, right);
    return below + (std::abs(left - right) >= 2 ? 1 : 0);
}

int32_t depthOf(int32_t slot) { return static_cast<int32_t>(slotPath(slot).size()) - 1; }

std::string stallLine(const char* event, int32_t fruit, int32_t chosen, int32_t expected, bool right) {
    return std::string(event) + "," + std::to_string(fruit) + "," + slotCode(chosen) + "," + slotCode(expected) +
           (right ? ",1" : ",0");
}

}  // namespace

TEST(BigMarket, PlaysAgreeWithAnIndependentAvlTreeOnWhereWhichAndTheTreeAfter) {
    // Every number in a random order, those whose place lies below the fourth level left out: each play ends won
    // or at a dead end, the stall to find climbed to with the highlight or pointed at.
    InBigMarket big;
    std::mt19937 random(28);
    int32_t rotations[4][2] = {};  // by kind, and by the depth of the stall that lost its balance
    int32_t twoAtOnce = 0;
    int32_t wins = 0;
    for (int32_t play = 0; play < 300; ++play) {
        Play match;
        MatchState& m = match.m;
        AvlModel model;
        std::vector<int32_t> numbers(kFruitCount);
        std::iota(numbers.begin(), numbers.end(), 0);
        std::shuffle(numbers.begin(), numbers.end(), random);
        for (size_t next = 0; next < numbers.size() && !m.hasOutcome(); ++next) {
            const int32_t fruit = numbers[next];
            const int32_t slot = model.place(fruit);
            if (slot == TreeSlot::None) {
                continue;
            }
            const size_t judged = match.lines.size();
            ASSERT_TRUE(match.carry(fruit) && match.deliver(slot));
            ASSERT_EQ(match.lines[judged], stallLine("stall", fruit, slot, slot, true));
            model.insert(fruit);
            if (model.kind == RotationKind::None) {
                continue;
            }
            ASSERT_EQ(m.phase, Phase::Where);
            ASSERT_EQ(m.unbalancedSlot, model.rotatedSlot) << describeTree(m.player.root);
            int32_t height = 0;
            twoAtOnce += unbalancedNodes(m.player.root, &height) >= 2;
            if (play % 2 == 0) {
                match.turn(with(&Intents::pointedStall, model.rotatedSlot));
            } else {
                for (int32_t climb = depthOf(slot) - depthOf(model.rotatedSlot); climb > 0; --climb) {
                    match.turn(with(&Intents::highlightMove, -1));
                }
                match.turn(with(&Intents::choose, true));
            }
            ASSERT_EQ(match.lines[judged + 1], stallLine("balance", fruit, model.rotatedSlot, model.rotatedSlot, true));
            ASSERT_EQ(m.pendingRotation, model.kind);
            match.turn(with(&Intents::rotation, model.kind));
            ++rotations[model.kind][depthOf(model.rotatedSlot)];
            ASSERT_EQ(describeTree(m.player.root), describeTree(model.root));
        }
        ASSERT_TRUE(m.won || m.loss == LossCause::Stuck) << describeTree(m.player.root);
        EXPECT_EQ(match.lines.back(), m.won ? "won,,,,1" : "stuck," + std::to_string(m.deliveredFruit) + "," +
                                                               slotCode(m.deadEnd.slot) + ",,0");
        wins += m.won;
    }
    // A stall at the third level or below has too little under it to lose its balance.
    for (const auto& kind : rotations) {
        EXPECT_GT(kind[0], 30);
        EXPECT_GT(kind[1], 30);
    }
    EXPECT_GT(twoAtOnce, 40);
    EXPECT_GT(wins, 60);
}

TEST(BigMarket, EachNewEndingWritesItsLinesAndAPracticeTakesAWrongWhereBack) {
    InBigMarket big;
    // 10 under 20 leaves 30 at +1 and the root at +2: the root is the lowest out of balance.
    const std::vector<Move> example = {{50, 0}, {30, 1}, {70, 2}, {20, 3}, {40, 4}, {10, 7}};
    Play wrongWhere;
    wrongWhere.play(example);
    ASSERT_EQ(wrongWhere.m.phase, Phase::Where);
    wrongWhere.turn(with(&Intents::pointedStall, static_cast<int32_t>(TreeSlot::Left)));
    EXPECT_EQ(wrongWhere.m.loss, LossCause::WrongWhere);
    EXPECT_EQ(wrongWhere.lines.back(), "balance,10,L,root,0");
    EXPECT_EQ(wrongWhere.musicStops, 1);
    EXPECT_EQ(std::count(wrongWhere.sounds.begin(), wrongWhere.sounds.end(), Sound::Lost), 1);
    // 5 belongs below 10, on a fifth level: in the bin. In practice the fruit comes back to the hand.
    for (const bool inPractice : {false, true}) {
        Play tooDeep(inPractice);
        tooDeep.play({{50, 0}, {30, 1}, {70, 2}, {20, 3}, {40, 4}, {60, 5}, {80, 6}, {10, 7}, {5, 8}});
        EXPECT_EQ(tooDeep.m.loss, LossCause::WrongSlot);
        EXPECT_EQ(tooDeep.lines.back(), "stall,5,LLR,bin,0");
        tooDeep.turn(with(&Intents::confirm, true));
        EXPECT_EQ(tooDeep.m.carried, inPractice ? 5 : kNoFruit);
        EXPECT_EQ(tooDeep.m.stallFruits[8], inPractice ? kNoFruit : 5);
    }
    Play late;
    late.play({{50, 0}});
    late.turn({}, market().matchSeconds - 0.05f - late.m.seconds);
    EXPECT_FALSE(late.m.hasOutcome()) << "the big market's clock gives 180 seconds";
    late.turn({}, 0.1f);
    EXPECT_EQ(late.lines.back(), "timeout,,1,15,0");
    // In practice the wrong stall is a lesson: taken back with its fruit, then the climb to the root is right.
    Play practice(true);
    practice.play(example);
    practice.turn(with(&Intents::pointedStall, static_cast<int32_t>(TreeSlot::LeftLeft)));
    ASSERT_EQ(practice.m.loss, LossCause::WrongWhere);
    practice.turn(with(&Intents::confirm, true));
    EXPECT_EQ(practice.m.carried, 10);
    EXPECT_EQ(describeTree(practice.m.player.root), "50(30(20,40),70)");
    ASSERT_TRUE(practice.deliver(7));
    // Empty stalls and stalls off the path take no answer from the highlight; it climbs no higher than the root.
    practice.turn(with(&Intents::pointedStall, 12));
    practice.turn(with(&Intents::highlightMove, 1));
    EXPECT_EQ(practice.m.highlightedSlot, 7) << "nothing lies below the new fruit";
    for (int32_t climb = 0; climb < 5; ++climb) practice.turn(with(&Intents::highlightMove, -1));
    EXPECT_EQ(practice.m.highlightedSlot, TreeSlot::Root);
    practice.turn(with(&Intents::choose, true));
    practice.turn(with(&Intents::rotation, RotationKind::SingleRight));
    EXPECT_EQ(describeTree(practice.m.player.root), "30(20(10,-),50(40,70))");
    EXPECT_EQ(practice.m.mistakes[LossCause::WrongWhere], 1);

    const std::vector<std::string> judged = {"balance,10,LL,root,0", "stall,10,LLL,LLL,1", "balance,10,root,root,1",
                                             "rotation,10,single-right,single-right,1"};
    EXPECT_EQ(std::vector<std::string>(practice.lines.end() - 4, practice.lines.end()), judged);

}

TEST(Walk, FromItsStartTheCharacterWalksToEveryStallOfEitherMarketAloneWithItsButton) {
    for (const Market* shape : {&smallMarket(), &bigMarket()}) {
        SCOPED_TRACE(std::to_string(shape->stallCount()) + " stalls");
        // Every place a frame's step in some direction leads to, searched from the start.
        MatchState m = newMatch(*shape, true);
        step(m, kFrame, {});
        std::set<std::pair<float, float>> seen;
        std::vector<Point> next = {m.character};
        std::vector<bool> reached(static_cast<size_t>(shape->stallCount()), false);
        while (!next.empty()) {
            const Point at = next.back();
            next.pop_back();
            if (!seen.insert({at.x, at.y}).second) {
                continue;
            }
            for (const Direction way : {Direction::Left, Direction::Right, Direction::Up, Direction::Down}) {
                m.character = at;
                m.carried = kNoFruit;
                step(m, kFrame, with(&Intents::walk, way));
                if (m.offeredSlot != TreeSlot::None) {
                    const auto touched = [&](const Box& stall) { return characterBox(m).touches(stall); };
                    reached[m.offeredSlot] = reached[m.offeredSlot] ||
                                             std::count_if(shape->stalls.begin(), shape->stalls.end(), touched) == 1;
                }
                next.push_back(m.character);
            }
        }
        EXPECT_GT(seen.size(), 10000u);
        for (size_t stall = 0; stall < reached.size(); ++stall) {
            EXPECT_TRUE(reached[stall]) << "stall " << stall;
        }
    }
}
