// Invariant checks over the game's search trees, for any test that builds or
// judges trees. Each check walks the nodes on its own (it never calls the tree
// module's height or balance code), so a fault there cannot hide itself.
//
//   EXPECT_TRUE(isSearchTree(root));                  // order only (player trees may break it)
//   EXPECT_TRUE(isBalancedSearchTree(root, keys));    // everything a reference tree keeps
//   EXPECT_EQ(describeTree(root), "2(1,3)");           // shape in failure messages
//
// Checks return gtest assertion results whose message names the first broken node.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tree/tree.hpp"

// Search order: the keys read in symmetric order (left, node, right) never
// decrease. Insertion sends an equal key right, behind its earlier twins; a later
// rotation may lift a twin above it, so a rebalanced tree can hold an equal key in
// a left subtree, yet never out of symmetric order. Trees of distinct keys (every
// tree the game judges) thus have smaller keys left and greater keys right.
::testing::AssertionResult isSearchTree(const TreeNode* root);

// Search order, heights that treeHeight() agrees with at every node, every
// balance factor within -1..1, and exactly the given keys (as a multiset, in any
// order; the node count follows from it).
::testing::AssertionResult isBalancedSearchTree(const TreeNode* root,
                                                const std::vector<int32_t>& expectedKeys);

// Number of nodes, counted by walking the tree.
int32_t nodeCount(const TreeNode* root);

// Keys in symmetric order (left, node, right).
std::vector<int32_t> inOrderKeys(const TreeNode* root);

// Every node of the tree, in pre-order; handy to watch what becomes of them.
std::vector<const TreeNode*> treeNodes(const TreeNode* root);

// The tree as text: "key(left,right)", "-" for an empty link, leaves bare.
// 3, 2, 1 inserted with rebalancing read "2(1,3)"; a left chain reads "3(2(1,-),-)".
std::string describeTree(const TreeNode* root);

// Counts the calls to free() on the nodes it was given, from its construction on:
// the way to tell that a destruction freed every node, and each one once.
// An allocator may hand a freed address out again, so "exactly once" holds only
// over code that allocates nothing else (destroyTree); across a game loop use
// allFreed(), and let the sanitizer build catch a second free. One counter at a
// time; it stops counting when it goes out of scope.
class FreeCounter {
public:
    explicit FreeCounter(const std::vector<const TreeNode*>& nodes);
    ~FreeCounter();
    FreeCounter(const FreeCounter&) = delete;
    FreeCounter& operator=(const FreeCounter&) = delete;

    // Calls to free() seen on node i of the list given at construction.
    int32_t timesFreed(std::size_t i) const;
    // Every node freed at least once / exactly once.
    ::testing::AssertionResult allFreed() const;
    ::testing::AssertionResult allFreedOnce() const;
    // Frees seen on any watched node, counted with repeats.
    int32_t totalFrees() const;

    static constexpr std::size_t kMaxNodes = 1024;

private:
    std::size_t count;
};
