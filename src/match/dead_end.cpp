// The search behind a dead end. Its state is a tree whose keys only stand for their order: a move takes a gap
// between two neighbours (all of its numbers land at one stall and compare alike with the tree), and which of its
// numbers is taken only decides how many free numbers the two gaps it leaves hold. Counts are what the search
// keeps, each cut to the moves still left: a gap can never be asked for more numbers than that, and more free
// numbers never hurt. A rotation can only come while the root lacks a child: from then on every free stall is a
// grandchild that takes a number of its own gap, so the search stops there and counts the gaps.
#include "match/dead_end.hpp"

#include <algorithm>
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

// True when some sequence of moves fills every stall of the relabelled tree at root, whose range ends below top.
bool completable(TreeNode* root, int32_t top) {
    std::vector<TreeNode*> nodes;
    inOrder(root, nodes);
    const int32_t count = static_cast<int32_t>(nodes.size());
    // Gaps that still hold a number, each landing at a stall of its own.
    int32_t open = 0;
    for (int32_t gap = 0; gap <= count; ++gap) {
        const int32_t below = gap == 0 ? -1 : nodes[gap - 1]->key;
        const int32_t above = gap == count ? top : nodes[gap]->key;
        open += above - below >= 2 && placeOfKey(root, below + 1) != TreeSlot::None ? 1 : 0;
    }
    if (nodeAtSlot(root, TreeSlot::Left) != nullptr && nodeAtSlot(root, TreeSlot::Right) != nullptr) {
        // No insertion within three levels unbalances a node any more.
        return open == TreeSlot::Count - count;
    }
    for (int32_t gap = 0; gap <= count; ++gap) {
        const int32_t below = gap == 0 ? -1 : nodes[gap - 1]->key;
        const int32_t above = gap == count ? top : nodes[gap]->key;
        if (above - below < 2 || placeOfKey(root, below + 1) == TreeSlot::None) {
            continue;
        }
        for (int32_t number = below + 1; number < above; ++number) {
            OwnedTree next;
            copyTree(&root, &next.root);
            int32_t rotation = RotationKind::None;
            insertBalanced(&next.root, number, 0, rotation);
            if (completable(next.root, relabel(next.root, top, TreeSlot::Count - count - 1))) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

DeadEnd findDeadEnd(TreeNode* root, int32_t numbers) {
    DeadEnd deadEnd;
    deadEnd.above = numbers;
    std::vector<TreeNode*> nodes;
    inOrder(root, nodes);
    const int32_t count = static_cast<int32_t>(nodes.size());
    if (root == nullptr || count >= TreeSlot::Count) {
        return deadEnd;
    }
    OwnedTree relabelled;
    copyTree(&root, &relabelled.root);
    const int32_t top = relabel(relabelled.root, numbers, TreeSlot::Count - count);
    if (completable(relabelled.root, top)) {
        return deadEnd;
    }
    // Which stall to show: of the free ones (empty, under a filled parent), the first with the fewest free numbers
    // between its neighbours, the keys on its path that bound it. In the game's range a stuck tree always has one
    // with none, so the stall shown is one no number fits (the tests try every tree of one or two fruits; after the
    // third nothing rotates). Only a smaller range can leave gaps that each hold a number yet too few in all.
    int32_t fewest = numbers + 1;
    for (int32_t slot = 0; slot < TreeSlot::Count; ++slot) {
        const bool free = nodeAtSlot(root, slot) == nullptr && (slot == TreeSlot::Root ||
                                                                nodeAtSlot(root, (slot - 1) / 2) != nullptr);
        if (!free) {
            continue;
        }
        // Slot s has its children at 2s+1 and 2s+2: the turns from the root, read back up from the slot.
        int32_t turns[3];
        int32_t depth = 0;
        for (int32_t at = slot; at > 0; at = (at - 1) / 2) {
            turns[depth++] = at % 2;  // 1: left
        }
        int32_t below = -1;
        int32_t above = numbers;
        const TreeNode* node = root;
        while (depth-- > 0) {
            (turns[depth] == 1 ? above : below) = node->key;
            node = turns[depth] == 1 ? node->left : node->right;
        }
        if (above - below - 1 < fewest) {
            fewest = above - below - 1;
            deadEnd = DeadEnd{true, slot, below, above};
        }
    }
    deadEnd.stuck = true;
    return deadEnd;
}
