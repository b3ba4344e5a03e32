// The reference tree: AVL insertion with the rotation it reports, lookup,
// comparison, copy, destruction, heights and balance factors.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "support/tree_check.hpp"
#include "tree/tree.hpp"

namespace {

// A tree owned by the test, freed whatever the test's outcome.
struct OwnedTree {
    TreeNode* root = nullptr;
    OwnedTree() = default;
    OwnedTree(const OwnedTree&) = delete;
    OwnedTree& operator=(const OwnedTree&) = delete;
    ~OwnedTree() { destroyTree(&root); }

    // Inserts with rebalancing; returns the kind variable after the call, preset to -1.
    int32_t insert(int32_t key, int32_t value = 0) {
        int32_t kind = RotationKind::None;
        insertBalanced(&root, key, value, kind);
        return kind;
    }
};

// The kinds reported by inserting keys one by one into an empty tree.
std::vector<int32_t> kindsOfInserting(OwnedTree& tree, const std::vector<int32_t>& keys) {
    std::vector<int32_t> kinds;
    for (int32_t key : keys) {
        kinds.push_back(tree.insert(key));
    }
    return kinds;
}

constexpr int32_t kNone = RotationKind::None;

void collectPairs(const TreeNode* node, std::vector<std::pair<int32_t, int32_t>>& pairs) {
    if (node == nullptr) return;
    collectPairs(node->left, pairs);
    pairs.emplace_back(node->key, node->value);
    collectPairs(node->right, pairs);
}

// For trees whose values count the insertions: each equal key went in behind its
// earlier twins, so in symmetric order twins appear with rising values. Rotations
// keep the symmetric order, so this holds whatever they did.
::testing::AssertionResult twinsInInsertionOrder(const TreeNode* root) {
    std::vector<std::pair<int32_t, int32_t>> pairs;
    collectPairs(root, pairs);
    for (std::size_t i = 1; i < pairs.size(); ++i) {
        if (pairs[i].first == pairs[i - 1].first && pairs[i].second < pairs[i - 1].second) {
            return ::testing::AssertionFailure()
                   << "key " << pairs[i].first << " inserted at " << pairs[i].second
                   << " stands before its twin inserted at " << pairs[i - 1].second << " in "
                   << describeTree(root);
        }
    }
    return ::testing::AssertionSuccess();
}

}  // namespace

// --- The four rotations ------------------------------------------------------

TEST(Insertion, LeftLeftChainRotatesSingleRight) {
    OwnedTree tree;
    EXPECT_EQ(kindsOfInserting(tree, {3, 2, 1}),
              (std::vector<int32_t>{kNone, kNone, RotationKind::SingleRight}));
    EXPECT_EQ(describeTree(tree.root), "2(1,3)");
}

TEST(Insertion, RightRightChainRotatesSingleLeft) {
    OwnedTree tree;
    EXPECT_EQ(kindsOfInserting(tree, {1, 2, 3}),
              (std::vector<int32_t>{kNone, kNone, RotationKind::SingleLeft}));
    EXPECT_EQ(describeTree(tree.root), "2(1,3)");
}

TEST(Insertion, LeftRightZigZagRotatesDoubleRight) {
    OwnedTree tree;
    EXPECT_EQ(kindsOfInserting(tree, {3, 1, 2}),
              (std::vector<int32_t>{kNone, kNone, RotationKind::DoubleRight}));
    EXPECT_EQ(describeTree(tree.root), "2(1,3)");
}

TEST(Insertion, RightLeftZigZagRotatesDoubleLeft) {
    OwnedTree tree;
    EXPECT_EQ(kindsOfInserting(tree, {1, 3, 2}),
              (std::vector<int32_t>{kNone, kNone, RotationKind::DoubleLeft}));
    EXPECT_EQ(describeTree(tree.root), "2(1,3)");
}

TEST(Insertion, RotationBelowTheRootKeepsTheRoot) {
    // 20 under 30 under 50 leans two to the left at 30, not at the root.
    OwnedTree tree;
    EXPECT_EQ(kindsOfInserting(tree, {50, 30, 70, 20, 10}),
              (std::vector<int32_t>{kNone, kNone, kNone, kNone, RotationKind::SingleRight}));
    EXPECT_EQ(describeTree(tree.root), "50(20(10,30),70)");
}

TEST(Insertion, RootRotationCarriesTheInnerSubtreeAcross) {
    // Inserting 25 unbalances the root 50 through its left child's right side.
    OwnedTree tree;
    EXPECT_EQ(kindsOfInserting(tree, {50, 30, 70, 20, 40, 25}),
              (std::vector<int32_t>{kNone, kNone, kNone, kNone, kNone, RotationKind::SingleRight}));
    EXPECT_EQ(describeTree(tree.root), "30(20(-,25),50(40,70))");
}

TEST(Insertion, InsertionWithoutRotationLeavesTheKindUntouched) {
    OwnedTree tree;
    // Into an empty tree, then without any imbalance.
    EXPECT_EQ(tree.insert(10), kNone);
    EXPECT_EQ(tree.insert(5), kNone);
    EXPECT_EQ(tree.insert(15), kNone);
    EXPECT_EQ(tree.insert(12), kNone);
    // Whatever the caller holds stays, not just -1.
    int32_t kind = RotationKind::DoubleLeft;
    insertBalanced(&tree.root, 3, 0, kind);
    EXPECT_EQ(kind, RotationKind::DoubleLeft);
    EXPECT_TRUE(isBalancedSearchTree(tree.root, {10, 5, 15, 12, 3}));
}

TEST(Insertion, ReturnsTheNewRootAndStoresItInTheLink) {
    OwnedTree tree;
    int32_t kind = kNone;
    EXPECT_EQ(insertBalanced(&tree.root, 1, 0, kind), tree.root);
    insertBalanced(&tree.root, 2, 0, kind);
    TreeNode* returned = insertBalanced(&tree.root, 3, 0, kind);
    ASSERT_NE(tree.root, nullptr);
    EXPECT_EQ(returned, tree.root);
    EXPECT_EQ(tree.root->key, 2);
}

TEST(Insertion, NewNodeHoldsKeyValueAndNoChildren) {
    OwnedTree tree;
    tree.insert(42, 7);
    ASSERT_NE(tree.root, nullptr);
    EXPECT_EQ(tree.root->key, 42);
    EXPECT_EQ(tree.root->value, 7);
    EXPECT_EQ(tree.root->left, nullptr);
    EXPECT_EQ(tree.root->right, nullptr);
}

// --- Equal keys ----------------------------------------------------------------

TEST(Insertion, EqualKeyGoesIntoTheRightSubtree) {
    OwnedTree tree;
    tree.insert(5, 1);
    tree.insert(5, 2);
    ASSERT_NE(tree.root, nullptr);
    EXPECT_EQ(tree.root->left, nullptr);
    ASSERT_NE(tree.root->right, nullptr);
    EXPECT_EQ(tree.root->right->key, 5);
    EXPECT_EQ(tree.root->right->value, 2);
}

TEST(Insertion, EqualKeysBelowASmallerRootGoRightOfTheirTwin) {
    OwnedTree tree;
    kindsOfInserting(tree, {5, 3, 8, 3});
    // The second 3 lands right of the first, not left of it.
    EXPECT_EQ(describeTree(tree.root), "5(3(-,3),8)");
    EXPECT_TRUE(isBalancedSearchTree(tree.root, {5, 3, 8, 3}));
}

TEST(Insertion, ThreeEqualKeysRotateSingleLeftKeepingTheirOrder) {
    OwnedTree tree;
    int32_t kinds[3];
    for (int32_t step = 0; step < 3; ++step) {
        kinds[step] = tree.insert(5, step);
    }
    EXPECT_EQ(kinds[0], kNone);
    EXPECT_EQ(kinds[1], kNone);
    EXPECT_EQ(kinds[2], RotationKind::SingleLeft);
    EXPECT_EQ(describeTree(tree.root), "5(5,5)");
    EXPECT_TRUE(isBalancedSearchTree(tree.root, {5, 5, 5}));
    EXPECT_TRUE(twinsInInsertionOrder(tree.root));
}

// --- The rebalancing rule on hand-built trees ------------------------------------

TEST(Rebalancing, LeftChildBalanceZeroChoosesSingleRight) {
    // 5 with a full left subtree 3(2,4) and nothing right: balance -2, child 0.
    OwnedTree tree;
    placeAtSlot(&tree.root, 5, 0, TreeSlot::Root);
    placeAtSlot(&tree.root, 3, 0, TreeSlot::Left);
    placeAtSlot(&tree.root, 2, 0, TreeSlot::LeftLeft);
    placeAtSlot(&tree.root, 4, 0, TreeSlot::LeftRight);
    ASSERT_EQ(describeTree(tree.root), "5(3(2,4),-)");
    int32_t kind = kNone;
    TreeNode* returned = rebalanceReporting(&tree.root, kind);
    EXPECT_EQ(kind, RotationKind::SingleRight);
    EXPECT_EQ(returned, tree.root);
    EXPECT_EQ(describeTree(tree.root), "3(2,5(4,-))");
}

TEST(Rebalancing, RightChildBalanceZeroChoosesSingleLeft) {
    OwnedTree tree;
    placeAtSlot(&tree.root, 5, 0, TreeSlot::Root);
    placeAtSlot(&tree.root, 7, 0, TreeSlot::Right);
    placeAtSlot(&tree.root, 6, 0, TreeSlot::RightLeft);
    placeAtSlot(&tree.root, 8, 0, TreeSlot::RightRight);
    ASSERT_EQ(describeTree(tree.root), "5(-,7(6,8))");
    int32_t kind = kNone;
    TreeNode* returned = rebalanceReporting(&tree.root, kind);
    EXPECT_EQ(kind, RotationKind::SingleLeft);
    EXPECT_EQ(returned, tree.root);
    EXPECT_EQ(describeTree(tree.root), "7(5(-,6),8)");
}

TEST(Rebalancing, HeavyInnerGrandchildChoosesTheDoubleRotation) {
    OwnedTree left;
    placeAtSlot(&left.root, 5, 0, TreeSlot::Root);
    placeAtSlot(&left.root, 2, 0, TreeSlot::Left);
    placeAtSlot(&left.root, 3, 0, TreeSlot::LeftRight);
    int32_t kind = kNone;
    rebalanceReporting(&left.root, kind);
    EXPECT_EQ(kind, RotationKind::DoubleRight);
    EXPECT_EQ(describeTree(left.root), "3(2,5)");

    OwnedTree right;
    placeAtSlot(&right.root, 5, 0, TreeSlot::Root);
    placeAtSlot(&right.root, 8, 0, TreeSlot::Right);
    placeAtSlot(&right.root, 7, 0, TreeSlot::RightLeft);
    kind = kNone;
    rebalanceReporting(&right.root, kind);
    EXPECT_EQ(kind, RotationKind::DoubleLeft);
    EXPECT_EQ(describeTree(right.root), "7(5,8)");
}

TEST(Rebalancing, BalancedNodeIsLeftAsItIs) {
    OwnedTree tree;
    placeAtSlot(&tree.root, 5, 0, TreeSlot::Root);
    placeAtSlot(&tree.root, 3, 0, TreeSlot::Left);
    TreeNode* const before = tree.root;
    int32_t kind = RotationKind::SingleLeft;
    EXPECT_EQ(rebalanceReporting(&tree.root, kind), before);
    EXPECT_EQ(tree.root, before);
    EXPECT_EQ(kind, RotationKind::SingleLeft);
    EXPECT_EQ(describeTree(tree.root), "5(3,-)");
}

TEST(Rotation, RightRotationMovesTheInnerSubtreeAcross) {
    OwnedTree tree;
    placeAtSlot(&tree.root, 4, 0, TreeSlot::Root);
    placeAtSlot(&tree.root, 2, 0, TreeSlot::Left);
    placeAtSlot(&tree.root, 5, 0, TreeSlot::Right);
    placeAtSlot(&tree.root, 1, 0, TreeSlot::LeftLeft);
    placeAtSlot(&tree.root, 3, 0, TreeSlot::LeftRight);
    TreeNode* const pivot = tree.root->left;
    EXPECT_EQ(rotateRight(&tree.root), pivot);
    EXPECT_EQ(tree.root, pivot);
    EXPECT_EQ(describeTree(tree.root), "2(1,4(3,5))");
}

TEST(Rotation, LeftRotationMovesTheInnerSubtreeAcross) {
    OwnedTree tree;
    placeAtSlot(&tree.root, 2, 0, TreeSlot::Root);
    placeAtSlot(&tree.root, 1, 0, TreeSlot::Left);
    placeAtSlot(&tree.root, 4, 0, TreeSlot::Right);
    placeAtSlot(&tree.root, 3, 0, TreeSlot::RightLeft);
    placeAtSlot(&tree.root, 5, 0, TreeSlot::RightRight);
    TreeNode* const pivot = tree.root->right;
    EXPECT_EQ(rotateLeft(&tree.root), pivot);
    EXPECT_EQ(tree.root, pivot);
    EXPECT_EQ(describeTree(tree.root), "4(2(1,3),5)");
}

TEST(Rotation, RotatingAtAChildLinkRewritesThatLinkOnly) {
    OwnedTree tree;
    placeAtSlot(&tree.root, 9, 0, TreeSlot::Root);
    placeAtSlot(&tree.root, 5, 0, TreeSlot::Left);
    placeAtSlot(&tree.root, 3, 0, TreeSlot::LeftLeft);
    TreeNode* const root = tree.root;
    rotateRight(&tree.root->left);
    EXPECT_EQ(tree.root, root);
    EXPECT_EQ(describeTree(tree.root), "9(3(-,5),-)");
}

// --- Heights and balance factors --------------------------------------------------

TEST(TreeShape, EmptyTreeHasHeightMinusOne) {
    TreeNode* root = nullptr;
    EXPECT_EQ(treeHeight(&root), -1);
}

TEST(TreeShape, SingleNodeHasHeightZeroAndBalanceZero) {
    OwnedTree tree;
    tree.insert(1);
    EXPECT_EQ(treeHeight(&tree.root), 0);
    EXPECT_EQ(balanceFactor(&tree.root), 0);
}

TEST(TreeShape, HeightCountsTheLongerSideAndBalanceIsRightMinusLeft) {
    OwnedTree tree;
    placeAtSlot(&tree.root, 10, 0, TreeSlot::Root);
    placeAtSlot(&tree.root, 5, 0, TreeSlot::Left);
    placeAtSlot(&tree.root, 3, 0, TreeSlot::LeftLeft);
    EXPECT_EQ(treeHeight(&tree.root), 2);
    EXPECT_EQ(balanceFactor(&tree.root), -2);
    EXPECT_EQ(balanceFactor(&tree.root->left), -1);

    placeAtSlot(&tree.root, 20, 0, TreeSlot::Right);
    placeAtSlot(&tree.root, 15, 0, TreeSlot::RightLeft);
    placeAtSlot(&tree.root, 25, 0, TreeSlot::RightRight);
    EXPECT_EQ(treeHeight(&tree.root), 2);
    EXPECT_EQ(balanceFactor(&tree.root), 0);
    EXPECT_EQ(balanceFactor(&tree.root->right), 0);

    destroyTree(&tree.root->left->left);
    placeAtSlot(&tree.root, 7, 0, TreeSlot::LeftRight);
    EXPECT_EQ(balanceFactor(&tree.root->left), 1);
    destroyTree(&tree.root->left);
    EXPECT_EQ(balanceFactor(&tree.root), 2);
    EXPECT_EQ(treeHeight(&tree.root->right), 1);
}

// --- Lookup ------------------------------------------------------------------------

TEST(TreeLookup, EmptyTreeFindsNothing) {
    TreeNode* root = nullptr;
    EXPECT_EQ(findKey(&root, 0), -1);
    EXPECT_EQ(findKey(&root, 42), -1);
}

TEST(TreeLookup, FindsEveryPresentKeyAndNoAbsentOne) {
    OwnedTree tree;
    const std::vector<int32_t> keys = {50, 20, 80, 10, 30, 70, 90, 0, 99, 25};
    kindsOfInserting(tree, keys);
    for (int32_t key : keys) {
        EXPECT_EQ(findKey(&tree.root, key), key) << "key " << key;
    }
    for (int32_t key : {1, 21, 49, 51, 98, 100}) {
        EXPECT_EQ(findKey(&tree.root, key), -1) << "key " << key;
    }
}

TEST(TreeLookup, FindsAKeyOnlyWhereTheSearchOrderLeads) {
    // A player tree may break the order: 10 left of 5 is not found by the walk,
    // which is what lets the game tell a misplaced fruit from a present one.
    OwnedTree tree;
    placeAtSlot(&tree.root, 5, 0, TreeSlot::Root);
    placeAtSlot(&tree.root, 10, 0, TreeSlot::Left);
    EXPECT_EQ(findKey(&tree.root, 5), 5);
    EXPECT_EQ(findKey(&tree.root, 10), -1);
}

// --- Comparison ------------------------------------------------------------------

TEST(TreeComparison, TwoEmptyTreesAreEqual) { EXPECT_TRUE(sameShapeAndKeys(nullptr, nullptr)); }

TEST(TreeComparison, EmptyAndNonEmptyDiffer) {
    OwnedTree tree;
    tree.insert(1);
    EXPECT_FALSE(sameShapeAndKeys(tree.root, nullptr));
    EXPECT_FALSE(sameShapeAndKeys(nullptr, tree.root));
}

TEST(TreeComparison, SameKeysInAnotherShapeDiffer) {
    OwnedTree balanced;
    kindsOfInserting(balanced, {2, 1, 3});
    OwnedTree chain;
    placeAtSlot(&chain.root, 1, 0, TreeSlot::Root);
    placeAtSlot(&chain.root, 2, 0, TreeSlot::Right);
    placeAtSlot(&chain.root, 3, 0, TreeSlot::RightRight);
    EXPECT_FALSE(sameShapeAndKeys(balanced.root, chain.root));
    EXPECT_FALSE(sameShapeAndKeys(chain.root, balanced.root));
}

TEST(TreeComparison, SameShapeWithOneKeyChangedDiffers) {
    // Differences deep on the right spine and deep on the left both count.
    OwnedTree a;
    OwnedTree b;
    for (int32_t slot = TreeSlot::Root; slot < TreeSlot::Count; ++slot) {
        placeAtSlot(&a.root, slot, 0, slot);
        placeAtSlot(&b.root, slot, 0, slot);
    }
    EXPECT_TRUE(sameShapeAndKeys(a.root, b.root));
    b.root->right->right->key = 60;
    EXPECT_FALSE(sameShapeAndKeys(a.root, b.root));
    b.root->right->right->key = TreeSlot::RightRight;
    b.root->left->left->key = 30;
    EXPECT_FALSE(sameShapeAndKeys(a.root, b.root));
}

TEST(TreeComparison, MissingLeafDiffers) {
    OwnedTree a;
    OwnedTree b;
    kindsOfInserting(a, {2, 1, 3});
    kindsOfInserting(b, {2, 1, 3});
    destroyTree(&b.root->right);
    EXPECT_FALSE(sameShapeAndKeys(a.root, b.root));
    EXPECT_FALSE(sameShapeAndKeys(b.root, a.root));
}

TEST(TreeComparison, ValuesPlayNoPart) {
    OwnedTree a;
    OwnedTree b;
    for (int32_t key : {4, 2, 6, 1, 3}) {
        a.insert(key, key * 100);
        b.insert(key, -key);
    }
    EXPECT_TRUE(sameShapeAndKeys(a.root, b.root));
}

// --- Copy -------------------------------------------------------------------------

TEST(TreeCopy, EmptySourceLeavesTheDestinationUnchanged) {
    TreeNode* source = nullptr;
    OwnedTree destination;
    kindsOfInserting(destination, {2, 1, 3});
    const std::vector<const TreeNode*> before = treeNodes(destination.root);
    copyTree(&source, &destination.root);
    EXPECT_EQ(treeNodes(destination.root), before);
    EXPECT_EQ(describeTree(destination.root), "2(1,3)");

    TreeNode* emptyDestination = nullptr;
    copyTree(&source, &emptyDestination);
    EXPECT_EQ(emptyDestination, nullptr);
}

TEST(TreeCopy, CopyEqualsItsSourceKeysAndValuesInNodesOfItsOwn) {
    OwnedTree source;
    int32_t value = 1000;
    for (int32_t key : {40, 20, 60, 10, 30, 50, 70, 5, 35, 65}) {
        source.insert(key, value++);
    }
    OwnedTree copy;
    copyTree(&source.root, &copy.root);
    EXPECT_TRUE(sameShapeAndKeys(source.root, copy.root));
    const std::vector<const TreeNode*> original = treeNodes(source.root);
    const std::vector<const TreeNode*> copied = treeNodes(copy.root);
    ASSERT_EQ(copied.size(), original.size());
    for (std::size_t i = 0; i < original.size(); ++i) {
        EXPECT_NE(copied[i], original[i]) << "node " << i << " is shared";
        EXPECT_EQ(copied[i]->key, original[i]->key);
        EXPECT_EQ(copied[i]->value, original[i]->value) << "key " << original[i]->key;
    }
    // The copy lives on alone.
    destroyTree(&source.root);
    EXPECT_EQ(nodeCount(copy.root), static_cast<int32_t>(copied.size()));
    EXPECT_EQ(describeTree(copy.root), "40(20(10(5,-),30(-,35)),60(50,70(65,-)))");
}

TEST(TreeCopy, CopiesAnUnorderedPlayerTreeAsItIs) {
    OwnedTree source;
    placeAtSlot(&source.root, 1, 11, TreeSlot::Root);
    placeAtSlot(&source.root, 9, 99, TreeSlot::Left);
    placeAtSlot(&source.root, 0, 7, TreeSlot::LeftRight);
    OwnedTree copy;
    copyTree(&source.root, &copy.root);
    EXPECT_EQ(describeTree(copy.root), "1(9(-,0),-)");
    ASSERT_NE(copy.root, nullptr);
    EXPECT_EQ(copy.root->left->right->value, 7);
}

// --- Destruction -------------------------------------------------------------------

TEST(TreeDestruction, EmptyLinkStaysEmpty) {
    TreeNode* root = nullptr;
    destroyTree(&root);
    EXPECT_EQ(root, nullptr);
}

TEST(TreeDestruction, FreesEveryNodeOnceAndEmptiesTheLink) {
    TreeNode* root = nullptr;
    int32_t kind = kNone;
    for (int32_t key = 0; key < 40; ++key) {
        insertBalanced(&root, (key * 17) % 40, key, kind);
    }
    const std::vector<const TreeNode*> nodes = treeNodes(root);
    ASSERT_EQ(nodes.size(), 40u);
    FreeCounter frees(nodes);
    destroyTree(&root);
    EXPECT_EQ(root, nullptr);
    EXPECT_TRUE(frees.allFreedOnce());
    EXPECT_EQ(frees.totalFrees(), 40);
}

TEST(TreeDestruction, DestroyingASubtreeLeavesTheRestAlone) {
    OwnedTree tree;
    kindsOfInserting(tree, {4, 2, 6, 1, 3, 5, 7});
    const std::vector<const TreeNode*> leftNodes = treeNodes(tree.root->left);
    FreeCounter frees(leftNodes);
    destroyTree(&tree.root->left);
    EXPECT_EQ(tree.root->left, nullptr);
    EXPECT_TRUE(frees.allFreedOnce());
    EXPECT_EQ(describeTree(tree.root), "4(-,6(5,7))");
}

TEST(TreeDestruction, InitTreeEmptiesTheLinkWithoutFreeing) {
    // initTree only forgets: the node it is handed belongs to the test's stack.
    TreeNode onStack{1, 0, nullptr, nullptr};
    TreeNode* root = &onStack;
    initTree(&root);
    EXPECT_EQ(root, nullptr);
}

// --- Randomised insertion against an independent model ------------------------------

namespace {

// A plain AVL tree with stored heights. It names each rotation by the path the new
// key took below the unbalanced node (left-left, left-right, ...), the textbook
// way, rather than by the balance of the child as the game's tree does.
struct ModelNode {
    int32_t key;
    int32_t height = 0;
    std::unique_ptr<ModelNode> left;
    std::unique_ptr<ModelNode> right;
    explicit ModelNode(int32_t k) : key(k) {}
};

int32_t modelHeight(const std::unique_ptr<ModelNode>& node) { return node ? node->height : -1; }

void updateHeight(ModelNode& node) {
    node.height = 1 + std::max(modelHeight(node.left), modelHeight(node.right));
}

void modelRotateRight(std::unique_ptr<ModelNode>& link) {
    std::unique_ptr<ModelNode> pivot = std::move(link->left);
    link->left = std::move(pivot->right);
    updateHeight(*link);
    pivot->right = std::move(link);
    updateHeight(*pivot);
    link = std::move(pivot);
}

void modelRotateLeft(std::unique_ptr<ModelNode>& link) {
    std::unique_ptr<ModelNode> pivot = std::move(link->right);
    link->right = std::move(pivot->left);
    updateHeight(*link);
    pivot->left = std::move(link);
    updateHeight(*pivot);
    link = std::move(pivot);
}

enum class Went { Nowhere, Left, Right };

// Inserts key below link; returns the direction taken at this node.
Went modelInsert(std::unique_ptr<ModelNode>& link, int32_t key, int32_t& kind) {
    if (!link) {
        link = std::make_unique<ModelNode>(key);
        return Went::Nowhere;
    }
    const Went here = key < link->key ? Went::Left : Went::Right;
    const Went below = modelInsert(here == Went::Left ? link->left : link->right, key, kind);
    updateHeight(*link);
    const int32_t balance = modelHeight(link->right) - modelHeight(link->left);
    if (balance < -1 || balance > 1) {
        if (here == Went::Left && below == Went::Left) {
            modelRotateRight(link);
            kind = RotationKind::SingleRight;
        } else if (here == Went::Left) {
            modelRotateLeft(link->left);
            modelRotateRight(link);
            kind = RotationKind::DoubleRight;
        } else if (below == Went::Right) {
            modelRotateLeft(link);
            kind = RotationKind::SingleLeft;
        } else {
            modelRotateRight(link->right);
            modelRotateLeft(link);
            kind = RotationKind::DoubleLeft;
        }
    }
    return here;
}

std::string describeModel(const std::unique_ptr<ModelNode>& node) {
    if (!node) {
        return "-";
    }
    const std::string key = std::to_string(node->key);
    if (!node->left && !node->right) {
        return key;
    }
    return key + "(" + describeModel(node->left) + "," + describeModel(node->right) + ")";
}

// Insertion orders that stress different rotations: random with many repeats,
// random over the game's range, ascending, descending and zig-zag.
std::vector<int32_t> insertionOrder(uint32_t seed) {
    std::mt19937 random(seed);
    constexpr int32_t kLongestSequence = 200;
    const int32_t length = std::uniform_int_distribution<int32_t>(1, kLongestSequence)(random);
    std::vector<int32_t> keys(length);
    switch (seed % 5) {
    case 0:  // few distinct keys: many equal keys
        for (int32_t& key : keys) key = std::uniform_int_distribution<int32_t>(0, 9)(random);
        break;
    case 1:
        for (int32_t& key : keys) key = std::uniform_int_distribution<int32_t>(0, 99)(random);
        break;
    case 2:
        for (int32_t i = 0; i < length; ++i) keys[i] = i / 2;  // ascending with twins
        break;
    case 3:
        for (int32_t i = 0; i < length; ++i) keys[i] = length - i;
        break;
    default:
        for (int32_t i = 0; i < length; ++i) keys[i] = i % 2 == 0 ? 1000 + i : 1000 - i;
        break;
    }
    return keys;
}

}  // namespace

TEST(InsertionModel, RandomSequencesMatchAPlainAvlTreeAfterEveryInsertion) {
    constexpr uint32_t kSequences = 300;
    for (uint32_t seed = 1; seed <= kSequences; ++seed) {
        const std::vector<int32_t> keys = insertionOrder(seed);
        OwnedTree tree;
        std::unique_ptr<ModelNode> model;
        std::vector<int32_t> inserted;
        for (std::size_t step = 0; step < keys.size(); ++step) {
            int32_t expectedKind = kNone;
            modelInsert(model, keys[step], expectedKind);
            const int32_t kind = tree.insert(keys[step], static_cast<int32_t>(step));
            inserted.push_back(keys[step]);

            ASSERT_EQ(kind, expectedKind) << "seed " << seed << ", step " << step << ", key "
                                          << keys[step];
            ASSERT_TRUE(isBalancedSearchTree(tree.root, inserted))
                << "seed " << seed << ", step " << step;
            ASSERT_TRUE(twinsInInsertionOrder(tree.root)) << "seed " << seed << ", step " << step;
            ASSERT_EQ(describeTree(tree.root), describeModel(model))
                << "seed " << seed << ", step " << step;
            ASSERT_EQ(treeHeight(&tree.root), modelHeight(model));
        }
        ASSERT_EQ(nodeCount(tree.root), static_cast<int32_t>(keys.size()));
    }
}

TEST(InsertionModel, CheckerRejectsBrokenTrees) {
    // The checker itself must see order, balance and key faults, or the tests above
    // prove nothing.
    OwnedTree unordered;
    placeAtSlot(&unordered.root, 5, 0, TreeSlot::Root);
    placeAtSlot(&unordered.root, 10, 0, TreeSlot::Left);
    EXPECT_FALSE(isSearchTree(unordered.root));

    OwnedTree smallerOnTheRight;
    placeAtSlot(&smallerOnTheRight.root, 5, 0, TreeSlot::Root);
    placeAtSlot(&smallerOnTheRight.root, 4, 0, TreeSlot::Right);
    EXPECT_FALSE(isSearchTree(smallerOnTheRight.root));

    OwnedTree deepBreak;  // 7 is right of 3 but left of the root 6
    placeAtSlot(&deepBreak.root, 6, 0, TreeSlot::Root);
    placeAtSlot(&deepBreak.root, 3, 0, TreeSlot::Left);
    placeAtSlot(&deepBreak.root, 7, 0, TreeSlot::LeftRight);
    EXPECT_FALSE(isSearchTree(deepBreak.root));

    OwnedTree chain;
    placeAtSlot(&chain.root, 1, 0, TreeSlot::Root);
    placeAtSlot(&chain.root, 2, 0, TreeSlot::Right);
    placeAtSlot(&chain.root, 3, 0, TreeSlot::RightRight);
    EXPECT_TRUE(isSearchTree(chain.root));
    EXPECT_FALSE(isBalancedSearchTree(chain.root, {1, 2, 3}));

    OwnedTree good;
    kindsOfInserting(good, {2, 1, 3});
    EXPECT_TRUE(isBalancedSearchTree(good.root, {3, 1, 2}));
    EXPECT_FALSE(isBalancedSearchTree(good.root, {1, 2}));
    EXPECT_FALSE(isBalancedSearchTree(good.root, {1, 2, 2}));
}
