// The one invariant check of a search tree, for every test that builds or judges
// trees. It walks the nodes on its own and never trusts the tree module's height
// or balance code, so a fault there cannot hide itself.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tree/tree.hpp"

// Keys never decrease in symmetric order, every height treeHeight() reports is
// the counted one, and every balance factor lies within -1..1. The message names
// the first broken node.
::testing::AssertionResult isBalancedSearchTree(const TreeNode* root);

// Keys in symmetric order (left, node, right).
std::vector<int32_t> inOrderKeys(const TreeNode* root);

// "key(left,right)", "-" for an empty link, leaves bare: 3, 2, 1 with
// rebalancing read "2(1,3)".
std::string describeTree(const TreeNode* root);
