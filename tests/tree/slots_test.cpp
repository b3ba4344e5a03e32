// Placing the player's fruits at the seven stall slots: no comparison, no
// rebalancing, and nothing placed where the slot cannot hold a node.
#include <gtest/gtest.h>

#include "support/tree_check.hpp"
#include "tree/tree.hpp"

namespace {

struct OwnedTree {
    TreeNode* root = nullptr;
    ~OwnedTree() { destroyTree(&root); }
};

}  // namespace

TEST(SlotPlacement, EverySlotIsItsOwnPositionWhateverTheKeys) {
    // Keys against the search order, filled parents first, both ends of the range.
    OwnedTree tree;
    const int32_t keys[TreeSlot::Count] = {0, 99, 1, 98, 2, 97, 3};
    for (int32_t slot = TreeSlot::Root; slot < TreeSlot::Count; ++slot) {
        placeAtSlot(&tree.root, keys[slot], slot + 100, slot);
    }
    EXPECT_EQ(describeTree(tree.root), "0(99(98,2),1(97,3))");
    for (int32_t slot = TreeSlot::Root; slot < TreeSlot::Count; ++slot) {
        ASSERT_NE(nodeAtSlot(tree.root, slot), nullptr);
        EXPECT_EQ(nodeAtSlot(tree.root, slot)->key, keys[slot]);
        EXPECT_EQ(nodeAtSlot(tree.root, slot)->value, slot + 100);
    }
}

TEST(SlotPlacement, MissingParentOccupiedTargetOrUnknownCodeChangesNothing) {
    struct Row {
        const char* name;
        std::vector<int32_t> filled;  // slots placed first, keyed by slot number
        int32_t slot;
    } const rows[] = {
        {"grandchild of an empty tree", {}, TreeSlot::RightRight},
        {"child of an empty tree", {}, TreeSlot::Left},
        {"left grandchild under a missing left child", {0, 2}, TreeSlot::LeftLeft},
        {"right grandchild under a missing right child", {0, 1}, TreeSlot::RightLeft},
        {"occupied root", {0, 1, 2}, TreeSlot::Root},
        {"occupied leaf", {0, 2, 6}, TreeSlot::RightRight},
        {"code below the slots", {}, TreeSlot::None},
        {"code above the slots", {}, TreeSlot::Count},
        {"code above the slots under a full tree", {0, 1, 2, 3, 4, 5, 6}, TreeSlot::Count},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        OwnedTree tree;
        for (int32_t slot : row.filled) placeAtSlot(&tree.root, slot, 0, slot);
        const std::string before = describeTree(tree.root);
        placeAtSlot(&tree.root, 42, 0, row.slot);
        EXPECT_EQ(describeTree(tree.root), before);
        EXPECT_EQ(nodeAtSlot(tree.root, row.slot) != nullptr && nodeAtSlot(tree.root, row.slot)->key == 42, false);
    }
}
