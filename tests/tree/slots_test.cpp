// The player's tree: a node goes exactly where the player put it, or nowhere.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "support/tree_check.hpp"
#include "tree/tree.hpp"

namespace {

// A player tree owned by the test, freed whatever the outcome.
struct PlayerTree {
    TreeNode* root = nullptr;
    PlayerTree() = default;
    PlayerTree(const PlayerTree&) = delete;
    PlayerTree& operator=(const PlayerTree&) = delete;
    ~PlayerTree() { destroyTree(&root); }

    void place(int32_t key, int32_t slot, int32_t value = 0) {
        placeAtSlot(&root, key, value, slot);
    }
    // All seven slots, slot k holding key 10 * k and value k.
    void fill() {
        for (int32_t slot = TreeSlot::Root; slot < TreeSlot::Count; ++slot) {
            place(10 * slot, slot, slot);
        }
    }
};

// The full tree as fill() builds it: slot k's node shows key 10 * k.
const char* const kFullTree = "0(10(30,40),20(50,60))";

// The node at a slot, found by following the links by hand.
const TreeNode* nodeFollowing(const TreeNode* root, int32_t slot) {
    if (root == nullptr) return nullptr;
    switch (slot) {
    case TreeSlot::Root: return root;
    case TreeSlot::Left: return root->left;
    case TreeSlot::Right: return root->right;
    case TreeSlot::LeftLeft: return root->left ? root->left->left : nullptr;
    case TreeSlot::LeftRight: return root->left ? root->left->right : nullptr;
    case TreeSlot::RightLeft: return root->right ? root->right->left : nullptr;
    case TreeSlot::RightRight: return root->right ? root->right->right : nullptr;
    default: return nullptr;
    }
}

}  // namespace

TEST(SlotPlacement, RootOfAnEmptyTreeMakesAOneNodeTree) {
    PlayerTree tree;
    tree.place(42, TreeSlot::Root, 7);
    ASSERT_NE(tree.root, nullptr);
    EXPECT_EQ(tree.root->key, 42);
    EXPECT_EQ(tree.root->value, 7);
    EXPECT_EQ(tree.root->left, nullptr);
    EXPECT_EQ(tree.root->right, nullptr);
}

TEST(SlotPlacement, EveryOtherSlotOfAnEmptyTreeChangesNothing) {
    for (int32_t slot = TreeSlot::Left; slot < TreeSlot::Count; ++slot) {
        PlayerTree tree;
        tree.place(5, slot);
        EXPECT_EQ(tree.root, nullptr) << "slot " << slot;
    }
}

TEST(SlotPlacement, EachSlotIsItsOwnPositionInTheTree) {
    PlayerTree tree;
    tree.fill();
    EXPECT_EQ(describeTree(tree.root), kFullTree);
    for (int32_t slot = TreeSlot::Root; slot < TreeSlot::Count; ++slot) {
        const TreeNode* node = nodeFollowing(tree.root, slot);
        ASSERT_NE(node, nullptr) << "slot " << slot;
        EXPECT_EQ(node->key, 10 * slot);
        EXPECT_EQ(node->value, slot);
    }
}

TEST(SlotPlacement, SlotsFillInAnyOrderOnceTheirParentsExist) {
    // Bottom row before its siblings, right before left.
    PlayerTree tree;
    const int32_t order[] = {TreeSlot::Root,     TreeSlot::Right,    TreeSlot::RightRight,
                             TreeSlot::Left,     TreeSlot::LeftRight, TreeSlot::RightLeft,
                             TreeSlot::LeftLeft};
    for (int32_t slot : order) {
        tree.place(10 * slot, slot);
    }
    EXPECT_EQ(describeTree(tree.root), kFullTree);
}

TEST(SlotPlacement, KeysArePlacedAgainstTheSearchOrder) {
    PlayerTree tree;
    tree.place(5, TreeSlot::Root);
    tree.place(10, TreeSlot::Left);
    tree.place(1, TreeSlot::Right);
    tree.place(99, TreeSlot::LeftLeft);
    EXPECT_EQ(describeTree(tree.root), "5(10(99,-),1)");
    EXPECT_FALSE(isSearchTree(tree.root));
}

TEST(SlotPlacement, NothingIsRebalanced) {
    PlayerTree tree;
    tree.place(3, TreeSlot::Root);
    tree.place(2, TreeSlot::Left);
    tree.place(1, TreeSlot::LeftLeft);
    EXPECT_EQ(describeTree(tree.root), "3(2(1,-),-)");
}

TEST(SlotPlacement, GrandchildWithoutItsParentChangesNothing) {
    PlayerTree tree;
    tree.place(50, TreeSlot::Root);
    for (int32_t slot : {TreeSlot::LeftLeft, TreeSlot::LeftRight, TreeSlot::RightLeft,
                         TreeSlot::RightRight}) {
        tree.place(1, slot);
    }
    EXPECT_EQ(describeTree(tree.root), "50");
}

TEST(SlotPlacement, RightGrandchildrenNeverLookAtTheLeftChild) {
    PlayerTree tree;
    tree.place(50, TreeSlot::Root);
    tree.place(30, TreeSlot::Left);
    tree.place(60, TreeSlot::RightLeft);
    tree.place(70, TreeSlot::RightRight);
    EXPECT_EQ(describeTree(tree.root), "50(30,-)");

    tree.place(80, TreeSlot::Right);
    tree.place(60, TreeSlot::RightLeft);
    tree.place(70, TreeSlot::RightRight);
    EXPECT_EQ(describeTree(tree.root), "50(30,80(60,70))");
}

TEST(SlotPlacement, LeftGrandchildrenNeverLookAtTheRightChild) {
    PlayerTree tree;
    tree.place(50, TreeSlot::Root);
    tree.place(80, TreeSlot::Right);
    tree.place(10, TreeSlot::LeftLeft);
    tree.place(20, TreeSlot::LeftRight);
    EXPECT_EQ(describeTree(tree.root), "50(-,80)");
}

TEST(SlotPlacement, CodesOutsideTheSevenSlotsChangeNothing) {
    for (int32_t code : {-1, 7, 8, 100, INT_MIN, INT_MAX}) {
        PlayerTree empty;
        empty.place(5, code);
        EXPECT_EQ(empty.root, nullptr) << "code " << code;

        PlayerTree full;
        full.fill();
        full.place(5, code);
        EXPECT_EQ(describeTree(full.root), kFullTree) << "code " << code;
        EXPECT_EQ(nodeCount(full.root), TreeSlot::Count);
    }
}

TEST(SlotPlacement, OccupiedSlotKeepsItsSubtreeWhole) {
    // The insert button can answer beside a slot that was filled meanwhile, and a
    // rotation moves nodes under the slot pictures: the tree must survive both.
    for (int32_t slot = TreeSlot::Root; slot < TreeSlot::Count; ++slot) {
        PlayerTree tree;
        tree.fill();
        const std::vector<const TreeNode*> before = treeNodes(tree.root);
        tree.place(77, slot, 77);
        EXPECT_EQ(treeNodes(tree.root), before) << "slot " << slot;
        EXPECT_EQ(describeTree(tree.root), kFullTree) << "slot " << slot;
        EXPECT_EQ(nodeFollowing(tree.root, slot)->value, slot) << "slot " << slot;
    }
}

TEST(SlotPlacement, OccupiedRootOfALargerTreeIsNotReplaced) {
    // A tree copied from the reference tree can be deeper than three levels.
    PlayerTree tree;
    int32_t kind = RotationKind::None;
    for (int32_t key : {8, 4, 12, 2, 6, 10, 14, 1, 3}) {
        insertBalanced(&tree.root, key, 0, kind);
    }
    const std::string before = describeTree(tree.root);
    const std::vector<const TreeNode*> nodes = treeNodes(tree.root);
    for (int32_t slot = TreeSlot::Root; slot < TreeSlot::Count; ++slot) {
        tree.place(50, slot);
    }
    EXPECT_EQ(describeTree(tree.root), before);
    EXPECT_EQ(treeNodes(tree.root), nodes);
}

TEST(SlotPlacement, NodeAtSlotFindsThePlacedNodeOrNothing) {
    PlayerTree tree;
    EXPECT_EQ(nodeAtSlot(tree.root, TreeSlot::Root), nullptr);
    tree.place(50, TreeSlot::Root);
    tree.place(20, TreeSlot::Left);
    tree.place(40, TreeSlot::LeftRight);
    EXPECT_EQ(nodeAtSlot(tree.root, TreeSlot::Root), tree.root);
    EXPECT_EQ(nodeAtSlot(tree.root, TreeSlot::Left), tree.root->left);
    EXPECT_EQ(nodeAtSlot(tree.root, TreeSlot::LeftRight), tree.root->left->right);
    EXPECT_EQ(nodeAtSlot(tree.root, TreeSlot::LeftLeft), nullptr);
    EXPECT_EQ(nodeAtSlot(tree.root, TreeSlot::Right), nullptr);
    EXPECT_EQ(nodeAtSlot(tree.root, TreeSlot::RightRight), nullptr);
    EXPECT_EQ(nodeAtSlot(tree.root, -1), nullptr);
    EXPECT_EQ(nodeAtSlot(tree.root, 7), nullptr);
}
