// One step of a match, in the order its parts decide things: the clock, leaving,
// the lanes, the walk (or the stall fruits moving), the solid bin and stalls, the
// hand, the insert button, the rotation question, the badges, the clock running
// out, and the end card's button. Every rule reads its places from the market.
#include "match/match.hpp"

#include <algorithm>
#include <cstdlib>

namespace {

// The walking legs show three columns of the sheet; standing shows the first.
constexpr int32_t kWalkFrames = 3;

int32_t randomFruit() { return std::rand() % kFruitCount; }

bool allDifferent(const std::vector<Lane>& lanes) {
    for (size_t a = 0; a < lanes.size(); ++a) {
        for (size_t b = a + 1; b < lanes.size(); ++b) {
            if (lanes[a].fruit == lanes[b].fruit) {
                return false;
            }
        }
    }
    return true;
}

class Stepper {
public:
    Stepper(MatchState& match, float seconds, const Intents& intents)
        : m(match), market(*match.market), intents(intents), seconds(seconds),
          motion(std::min(seconds, kLongestStepSeconds)) {}

    StepResult take() {
        const bool onCard = m.phase == Phase::Card;
        m.seconds = m.starting ? 0.f : m.seconds + seconds;
        if (intents.leave) {
            if (!m.practice && !m.hasOutcome()) {
                judge("left", kNoFruit, "", "", false);
            }
            result.toMenu = true;
            return result;
        }
        advanceLanes();
        if (m.phase == Phase::Walking) {
            walk();
        } else if (m.phase == Phase::StallsMoving) {
            moveStallFruits();
        }
        // The step into the bin is taken back, but the fruit carried into it stays there.
        const bool intoBin = characterBox(m).touches(market.bin);
        keepOutOf(market.bin);
        if (intoBin && m.carried != kNoFruit) {
            result.sounds.push_back(Sound::Bin);
            m.carried = kNoFruit;
        }
        for (const Box& area : market.stallAreas) {
            keepOutOf(area);
        }
        pickFruit();
        offerInsertButton();
        if (intents.insert && m.offeredSlot != TreeSlot::None && m.carried != kNoFruit) {
            result.sounds.push_back(Sound::Place);
            deliver(m.offeredSlot);
        }
        if (m.phase == Phase::Where) {
            askWhere();
        }
        if (m.phase == Phase::Question && intents.rotation != RotationKind::None) {
            answer(intents.rotation);
        }
        if (m.practice && intents.toggleBadges) {
            m.badgesShown = !m.badgesShown;
        }
        runClock();
        if (onCard && intents.confirm && m.hasOutcome()) {
            if (m.practice && m.loss != LossCause::None) {
                takeBack();
            } else {
                result.toMenu = true;
            }
        }
        m.starting = false;
        return result;
    }

private:
    void judge(const char* event, int32_t fruit, const std::string& chosen, const std::string& expected,
               bool correct) {
        result.judged.push_back({event, fruit, chosen, expected, correct, m.seconds});
    }

    // Each lane brings a fruit down; one gone below the picture comes back from the
    // top with a new number unlike the others falling. The order in which numbers
    // and places are drawn by chance is the game's since its first version: a seeded
    // game brings the same fruits.
    void advanceLanes() {
        for (int32_t lane = 0; lane < market.laneCount; ++lane) {
            chooseFruit(lane);
            Lane& it = m.lanes[lane];
            if (it.position.y >= market.laneBottom || m.starting) {
                it.taken = false;
                it.position.y = m.starting ? market.firstLaneStartY - lane * market.laneStartSpacing : 0.f;
                it.position.x = static_cast<float>(std::rand() % market.laneWidth);
            }
            it.position.y += market.fallPixelsPerSecond * motion;
        }
    }

    void chooseFruit(int32_t lane) {
        if (!m.fruitList.empty()) {
            chooseListedFruit(lane);
            return;
        }
        if (m.starting) {
            do {
                for (Lane& each : m.lanes) {
                    each.fruit = randomFruit();
                }
            } while (!allDifferent(m.lanes));
            return;
        }
        if (m.lanes[lane].position.y < market.laneBottom) {
            return;
        }
        do {
            m.lanes[lane].fruit = randomFruit();
        } while (!allDifferent(m.lanes));
    }

    void chooseListedFruit(int32_t lane) {
        if (m.starting && lane == 0) {
            for (Lane& each : m.lanes) {
                each.fruit = kNoFruit;
            }
            m.nextListed = 0;
        }
        if (!m.starting && m.lanes[lane].position.y < market.laneBottom) {
            return;
        }
        // The lane's own number is gone; the next one comes unless another lane
        // still brings it (each number has one picture), and then this lane falls
        // empty once and the list waits.
        m.lanes[lane].fruit = kNoFruit;
        const int32_t next = m.fruitList[m.nextListed];
        const auto brings = [next](const Lane& l) { return l.fruit == next; };
        const bool falling = std::any_of(m.lanes.begin(), m.lanes.end(), brings);
        if (!falling) {
            m.lanes[lane].fruit = next;
            m.nextListed = (m.nextListed + 1) % m.fruitList.size();
        }
    }

    void walk() {
        const float step = market.walkPixelsPerSecond * motion;
        Point& at = m.character;
        switch (intents.walk) {
        case Direction::Left:
            if (at.x > market.leftLimit) {
                m.facing = Facing::Left;
                moved = {-step, 0};
            }
            break;
        case Direction::Right:
            if (at.x < market.rightLimit) {
                m.facing = Facing::Right;
                moved = {step, 0};
            }
            break;
        case Direction::Up:
            if (at.y >= market.topLimit) {
                m.facing = Facing::Up;
                moved = {0, -step};
            }
            break;
        case Direction::Down:
            if (at.y < market.bottomLimit) {
                m.facing = Facing::Down;
                moved = {0, step};
            }
            break;
        case Direction::None:
            break;
        }
        at = at + moved;
        // The legs keep going against a bound too.
        m.walkFrame = intents.walk == Direction::None ? 0 : (m.walkFrame + 1) % kWalkFrames;
    }

    // A step that took the character into something solid is taken back.
    void keepOutOf(const Box& obstacle) {
        if (characterBox(m).touches(obstacle)) {
            m.character = m.character - moved;
            moved = Point();
        }
    }

    void pickFruit() {
        for (int32_t lane = 0; lane < market.laneCount && m.carried == kNoFruit; ++lane) {
            Lane& it = m.lanes[lane];
            const Box fruit{it.position.x, it.position.y, market.fruitSize, market.fruitSize};
            if (it.fruit != kNoFruit && !it.taken && characterBox(m).touches(fruit)) {
                result.sounds.push_back(Sound::Pick);
                it.taken = true;
                m.carried = it.fruit;
                m.pickedLane = lane;
            }
        }
    }

    void offerInsertButton() {
        // None under an end card: a click there must not change the card's answer.
        m.offeredSlot = TreeSlot::None;
        for (int32_t stall = 0; stall < m.stallCount() && !m.hasOutcome(); ++stall) {
            if (characterBox(m).touches(market.stalls[stall]) && m.stallFruits[stall] == kNoFruit) {
                m.offeredSlot = stall;
            }
        }
    }

    // The stall is judged before any balancing: a fruit at the wrong stall loses even
    // when its insertion would rotate, so that naming the rotation can never make up
    // for it. Neither tree takes it.
    void deliver(int32_t slot) {
        if (m.practice) {
            m.referenceBefore = m.reference;
            m.playerBefore = m.player;
        }
        const int32_t fruit = m.carried;
        m.unbalancedSlot = TreeSlot::None;
        m.chosenSlot = TreeSlot::None;
        m.deliveredFruit = fruit;
        m.deliveredSlot = slot;
        m.stallFruits[slot] = fruit;
        if (m.pickedLane >= 0 && m.pickedLane < market.laneCount) {
            m.lanes[m.pickedLane].taken = false;
        }
        m.carried = kNoFruit;
        if (findKey(&m.reference.root, fruit) != -1) {
            judge("repeat", fruit, slotCode(slot), "", false);
            lose(LossCause::RepeatedKey);
            return;
        }
        const int32_t rightSlot = placeOfKey(m.reference.root, fruit, m.stallCount());
        const bool placedRight = rightSlot != TreeSlot::None && slot == rightSlot;
        judge("stall", fruit, slotCode(slot), slotCode(rightSlot), placedRight);
        if (!placedRight) {
            lose(LossCause::WrongSlot);
            return;
        }
        insertBalanced(&m.reference.root, fruit, 0, m.pendingRotation);
        placeAtSlot(&m.player.root, fruit, 0, slot);
        if (m.pendingRotation != RotationKind::None) {
            m.unbalancedSlot = lowestUnbalanced(slot);
            m.highlightedSlot = slot;
            m.phase = market.asksWhere && m.unbalancedSlot != TreeSlot::None ? Phase::Where : Phase::Question;
            standStill();
            return;
        }
        // A rotation to name changes the tree again: the checks wait for it.
        endIfStuck();
        winIfComplete();
    }

    // On the path from the new fruit up to the root, the first stall of the
    // player's tree (the fruit placed, nothing rotated) whose sides differ by two.
    int32_t lowestUnbalanced(int32_t placed) const {
        const std::vector<int32_t> path = slotPath(placed);
        for (auto slot = path.rbegin(); slot != path.rend(); ++slot) {
            TreeNode* const node = nodeAtSlot(m.player.root, *slot);
            if (std::abs(balanceFactor(&node)) >= 2) {
                return *slot;
            }
        }
        return TreeSlot::None;
    }

    // A stall pointed at answers at once; otherwise the highlight moves along the
    // path (never off it) and Enter or Space answers with the stall it is on.
    void askWhere() {
        int32_t chosen = intents.pointedStall;
        if (chosen < 0 || chosen >= m.stallCount() || m.stallFruits[chosen] == kNoFruit) {
            const std::vector<int32_t> path = slotPath(m.deliveredSlot);
            const auto at = static_cast<int32_t>(std::find(path.begin(), path.end(), m.highlightedSlot) - path.begin());
            const auto last = static_cast<int32_t>(path.size()) - 1;
            m.highlightedSlot = path[static_cast<size_t>(std::clamp(at + intents.highlightMove, 0, last))];
            chosen = intents.choose ? m.highlightedSlot : TreeSlot::None;
        }
        if (chosen == TreeSlot::None) {
            return;
        }
        m.chosenSlot = chosen;
        const bool right = chosen == m.unbalancedSlot;
        judge("balance", m.deliveredFruit, slotCode(chosen), slotCode(m.unbalancedSlot), right);
        if (!right) {
            m.rightRotation = m.pendingRotation;
            m.pendingRotation = RotationKind::None;
            lose(LossCause::WrongWhere);
            return;
        }
        m.phase = Phase::Question;
    }

    void answer(int32_t named) {
        const bool right = named == m.pendingRotation;
        judge("rotation", m.deliveredFruit, rotationCode(named), rotationCode(m.pendingRotation), right);
        if (!right) {
            m.rightRotation = m.pendingRotation;
            m.pendingRotation = RotationKind::None;
            lose(LossCause::WrongRotation);
            return;
        }
        result.sounds.push_back(Sound::Place);
        // The fruits travel from their stalls to those of the rotated tree.
        m.stallFruitsBefore = m.stallFruits;
        m.player = m.reference;
        m.pendingRotation = RotationKind::None;
        showPlayerTree();
        m.animationSeconds = 0;
        m.phase = Phase::StallsMoving;
        endIfStuck();
        winIfComplete();
    }

    void moveStallFruits() {
        m.animationSeconds += motion;
        if (m.animationSeconds >= kStallAnimationSeconds) {
            m.animationSeconds = kStallAnimationSeconds;
            m.phase = Phase::Walking;
        }
    }

    void endIfStuck() {
        m.deadEnd = findDeadEnd(m.reference.root, kFruitCount, m.stallCount());
        if (m.deadEnd.stuck) {
            judge("stuck", m.deliveredFruit, slotCode(m.deadEnd.slot), "", false);
            lose(LossCause::Stuck);
        }
    }

    void winIfComplete() {
        const auto empty = [](int32_t fruit) { return fruit == kNoFruit; };
        const bool full = std::none_of(m.stallFruits.begin(), m.stallFruits.end(), empty);
        if (m.hasOutcome() || !full || filledSlots(m.player.root, m.stallCount()) != m.stallCount() ||
            !sameShapeAndKeys(m.reference.root, m.player.root)) {
            return;
        }
        m.won = true;
        judge(m.practice ? "complete" : "won", kNoFruit, "", "", true);
        result.musicStops = true;
        result.sounds.push_back(Sound::Won);
        if (m.practice) {
            m.wonSeconds = static_cast<int32_t>(std::min(m.seconds, kLongestPracticeSeconds));
        } else {
            // The whole seconds, as the timer counted them.
            m.wonSeconds = std::min(static_cast<int32_t>(m.seconds), static_cast<int32_t>(market.matchSeconds) - 1);
            result.won = true;
        }
        endCard();
    }

    // The first outcome stands. In practice a mistake is a lesson, not a defeat: its
    // card shows it, the music goes on.
    void lose(int32_t cause) {
        if (m.hasOutcome()) {
            return;
        }
        m.loss = cause;
        if (m.practice) {
            ++m.mistakes[cause];
        } else {
            result.musicStops = true;
            result.sounds.push_back(Sound::Lost);
        }
        endCard();
    }

    // Fruits still travelling to the stalls of a rotation stand there at once.
    void endCard() {
        m.phase = Phase::Card;
        m.animationSeconds = kStallAnimationSeconds;
        m.offeredSlot = TreeSlot::None;
        standStill();
    }

    void standStill() {
        m.walkFrame = 0;
        m.facing = Facing::Right;
    }

    // Practice has no clock to run out. A stalled loop can first count past the
    // end; it still ends the match by time and shows no second left.
    void runClock() {
        if (m.hasOutcome() || m.practice) {
            return;
        }
        m.shownSeconds = static_cast<int32_t>(std::min(m.seconds, market.matchSeconds));
        if (m.shownSeconds == static_cast<int32_t>(market.matchSeconds)) {
            judge("timeout", kNoFruit, std::to_string(filledSlots(m.player.root, m.stallCount())),
                  std::to_string(m.stallCount()), false);
            lose(LossCause::TimeOut);
        }
    }

    // Undoes the move the card showed: the trees and stalls as before that delivery,
    // the fruit back in the hand. The lanes go on and the character stays.
    void takeBack() {
        m.reference = m.referenceBefore;
        m.player = m.playerBefore;
        showPlayerTree();
        m.carried = m.deliveredFruit;
        m.pendingRotation = RotationKind::None;
        m.rightRotation = RotationKind::None;
        m.unbalancedSlot = TreeSlot::None;
        m.chosenSlot = TreeSlot::None;
        m.deadEnd = DeadEnd();
        m.loss = LossCause::None;
        m.phase = Phase::Walking;
    }

    // The stalls show what the player's tree holds, whatever rotation took place.
    void showPlayerTree() {
        for (int32_t slot = 0; slot < m.stallCount(); ++slot) {
            const TreeNode* node = nodeAtSlot(m.player.root, slot);
            m.stallFruits[slot] = node != nullptr ? node->key : kNoFruit;
        }
    }

    MatchState& m;
    const Market& market;
    const Intents& intents;
    const float seconds;
    const float motion;
    Point moved;
    StepResult result;
};

}  // namespace

MatchState newMatch(const Market& market, bool practice, const std::vector<int32_t>& fruitList) {
    MatchState match;
    match.market = &market;
    match.practice = practice;
    match.fruitList = fruitList;
    match.character = {market.character.left, market.character.top};
    match.lanes.resize(static_cast<size_t>(market.laneCount));
    match.stallFruits.assign(static_cast<size_t>(market.stallCount()), kNoFruit);
    match.stallFruitsBefore = match.stallFruits;
    match.animationSeconds = kStallAnimationSeconds;
    return match;
}

StepResult step(MatchState& match, float seconds, const Intents& intents) {
    return Stepper(match, seconds, intents).take();
}

Box characterBox(const MatchState& match) { return match.market->character.at(match.character); }
