// The search behind a dead end. Its state is a tree whose keys only stand for their order: a move takes a gap
// between two neighbours (all of its numbers land at one stall and compare alike with the tree), and which of its
// numbers is taken only decides how many free numbers the two gaps it leaves hold. Counts are what the search
// keeps, each cut to the moves still left: a gap can never be asked for more numbers than that, and more free
// numbers never hurt. A rotation can only come while some level above the last one has a free stall: from then on
// every free stall is on the last level and takes a number of its own gap, so the search stops there and counts
// the gaps. Four levels give the search many more trees to try; those already found hopeless are remembered.
#include "match/dead_end.hpp"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

// A tree the search owns, freed however the search leaves it.
struct OwnedTree {
    TreeNode* root = nullptr;
    OwnedTree() = default;
    OwnedTree(const OwnedTree&) = delete;
    OwnedTree& operator=(const OwnedTree&) = delete;
    ~OwnedTree() { destroyTree(&root); }
};

void inOrder(TreeNode* node, std::vector<TreeNode*>& nodes) {
    if (node != nullptr) {
        inOrder(node->left, nodes);
        nodes.push_back(node);
        inOrder(node->right, nodes);
    }
}

// Gives the keys of the tree (its range below `top`) the smallest values that keep the order and let each gap
// hold as many free numbers as before, but no more than `enough`. Returns the new top of the range.
int32_t relabel(TreeNode* root, int32_t top, int32_t enough) {
    std::vector<TreeNode*> nodes;
    inOrder(root, nodes);
    int32_t before = -1;
    int32_t after = -1;
    for (TreeNode* node : nodes) {
        const int32_t free = node->key - before - 1;
        before = node->key;
        node->key = after + 1 + std::min(free, enough);
        after = node->key;
    }
    return after + 1 + std::min(top - before - 1, enough);
}

// The tree's shape and keys, and the top of its range: a search state.
void describe(const TreeNode* node, std::string& into) {
    if (node == nullptr) {
        into += '.';
        return;
    }
    into += static_cast<char>(node->key & 0xff);
    into += static_cast<char>(node->key >> 8);
    describe(node->left, into);
    describe(node->right, into);
}

class Search {
public:
    explicit Search(int32_t slotCount) : slotCount(slotCount) {}

    // True when some sequence of moves fills every stall of the relabelled tree at root, whose range ends below
    // top.
    bool completable(TreeNode* root, int32_t top) {
        // A dead end is only called when proven: a search that runs too long takes the tree as one that can
        // still be completed, and the play goes on.
        if (++tried > kMostTrees) {
            return true;
        }
        std::string state{static_cast<char>(top & 0xff), static_cast<char>(top >> 8)};
        describe(root, state);
        if (hopeless.count(state) != 0) {
            return false;
        }
        const bool can = tryMoves(root, top);
        if (!can) {
            hopeless.insert(state);
        }
        return can;
    }

private:
    bool tryMoves(TreeNode* root, int32_t top) {
        std::vector<TreeNode*> nodes;
        inOrder(root, nodes);
        const int32_t count = static_cast<int32_t>(nodes.size());
        // Gaps that still hold a number, each landing at a stall of its own. When each free stall's gap holds
        // enough numbers for the whole subtree under it, filling the shallowest free stalls first with the middle
        // of their gaps completes the tree without a rotation, so nothing needs trying.
        int32_t open = 0;
        bool roomy = true;
        for (int32_t gap = 0; gap <= count; ++gap) {
            const int32_t below = gap == 0 ? -1 : nodes[gap - 1]->key;
            const int32_t above = gap == count ? top : nodes[gap]->key;
            // Equal keys go right: the numbers just above `below` land where it does.
            const int32_t slot = placeOfKey(root, below, slotCount);
            if (slot != TreeSlot::None) {
                open += above - below >= 2 ? 1 : 0;
                roomy = roomy && above - below - 1 >= subtreeSlots(slot);
            }
        }
        if (roomy) {
            return true;
        }
        bool upperLevelsFull = true;
        for (int32_t slot = 0; slot < slotCount / 2; ++slot) {
            upperLevelsFull = upperLevelsFull && nodeAtSlot(root, slot) != nullptr;
        }
        if (upperLevelsFull) {
            // No insertion within the last level unbalances a node any more.
            return open == slotCount - count;
        }
        for (int32_t gap = 0; gap <= count; ++gap) {
            const int32_t below = gap == 0 ? -1 : nodes[gap - 1]->key;
            const int32_t above = gap == count ? top : nodes[gap]->key;
            if (above - below < 2 || placeOfKey(root, below + 1, slotCount) == TreeSlot::None) {
                continue;
            }
            // From the middle of the gap out: an even split is the likeliest to leave both sides enough.
            std::vector<int32_t> numbers;
            for (int32_t number = below + 1; number < above; ++number) {
                numbers.push_back(number);
            }
            const auto nearerTheMiddle = [below, above](int32_t a, int32_t b) {
                return std::abs(2 * a - below - above) < std::abs(2 * b - below - above);
            };
            std::stable_sort(numbers.begin(), numbers.end(), nearerTheMiddle);
            for (const int32_t number : numbers) {
                OwnedTree next;
                copyTree(&root, &next.root);
                int32_t rotation = RotationKind::None;
                insertBalanced(&next.root, number, 0, rotation);
                if (completable(next.root, relabel(next.root, top, slotCount - count - 1))) {
                    return true;
                }
            }
        }
        return false;
    }

    // The slots of the whole subtree a free stall heads, down to the market's last level.
    int32_t subtreeSlots(int32_t slot) const {
        int32_t slots = 0;
        for (int32_t level = 1; slot < slotCount; slot = 2 * slot + 1, level *= 2) {
            slots += level;
        }
        return slots;
    }

    // Some milliseconds at most; no tree of seven stalls comes near it.
    static constexpr int32_t kMostTrees = 4000;
    const int32_t slotCount;
    int32_t tried = 0;
    std::unordered_set<std::string> hopeless;
};

}  // namespace

DeadEnd findDeadEnd(TreeNode* root, int32_t numbers, int32_t slotCount) {
    DeadEnd deadEnd;
    deadEnd.above = numbers;
    std::vector<TreeNode*> nodes;
    inOrder(root, nodes);
    const int32_t count = static_cast<int32_t>(nodes.size());
    if (root == nullptr || count >= slotCount) {
        return deadEnd;
    }
    OwnedTree relabelled;
    copyTree(&root, &relabelled.root);
    const int32_t top = relabel(relabelled.root, numbers, slotCount - count);
    if (Search(slotCount).completable(relabelled.root, top)) {
        return deadEnd;
    }
    // Which stall to show: of the free ones (empty, under a filled parent), the first with the fewest free numbers
    // between its neighbours, the keys on its path that bound it. In the game's range a stuck tree always has one
    // with none, so the stall shown is one no number fits (the tests try every tree of one or two fruits; after the
    // third nothing rotates). Only a smaller range can leave gaps that each hold a number yet too few in all.
    int32_t fewest = numbers + 1;
    for (int32_t slot = 0; slot < slotCount; ++slot) {
        const bool free = nodeAtSlot(root, slot) == nullptr && (slot == TreeSlot::Root ||
                                                                nodeAtSlot(root, (slot - 1) / 2) != nullptr);
        if (!free) {
            continue;
        }
        // Slot s has its children at 2s+1 and 2s+2, so an odd slot is a left child.
        const std::vector<int32_t> path = slotPath(slot);
        int32_t below = -1;
        int32_t above = numbers;
        const TreeNode* node = root;
        for (size_t step = 1; step < path.size(); ++step) {
            const bool left = path[step] % 2 == 1;
            (left ? above : below) = node->key;
            node = left ? node->left : node->right;
        }
        if (above - below - 1 < fewest) {
            fewest = above - below - 1;
            deadEnd = DeadEnd{true, slot, below, above};
        }
    }
    deadEnd.stuck = true;
    return deadEnd;
}
