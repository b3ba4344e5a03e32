// The one invariant check of a search tree, for every test that builds or judges
// trees. It walks the nodes on its own and never trusts the tree module's height
// or balance code, so a fault there cannot hide itself.
#pragma once

#include <gtest/gtest.h>
#include <algorithm>
#include <functional>
#include <string>
#include <vector>
#include "tree/tree.hpp"

// "key(left,right)", "-" for an empty link, leaves bare: 3, 2, 1 with
// rebalancing read "2(1,3)"; "key:value" with the values. A model's nodes read the same way.
template <typename Node>
std::string describeTree(const Node& n, bool values = false) {
    if (!n) return "-";
    const std::string key = std::to_string(n->key) + (values ? ":" + std::to_string(n->value) : "");
    if (!n->left && !n->right) return key;
    return key + "(" + describeTree(n->left, values) + "," + describeTree(n->right, values) + ")";
}

// Keys in symmetric order (left, node, right).
inline std::vector<int32_t> inOrderKeys(const TreeNode* n, std::vector<int32_t> keys = {}) {
    if (n == nullptr) return keys;
    keys = inOrderKeys(n->left, std::move(keys));
    keys.push_back(n->key);
    return inOrderKeys(n->right, std::move(keys));
}

// The slot of the node holding key; None when it is not in the first four levels.
inline int32_t slotOfKey(TreeNode* root, int32_t key) {
    for (int32_t slot = 0; slot < TreeSlot::FourLevelCount; ++slot) {
        if (const TreeNode* node = nodeAtSlot(root, slot); node && node->key == key) return slot;
    }
    return TreeSlot::None;
}

// Keys never decrease in symmetric order, every height treeHeight() reports is
// the counted one, and every balance factor lies within -1..1. The message names
// the first broken node.
inline ::testing::AssertionResult isBalancedSearchTree(const TreeNode* root) {
    std::string problem;
    // Height counted here (empty -1, leaf 0); the first problem met is kept.
    std::function<int32_t(const TreeNode*)> height = [&](const TreeNode* n) -> int32_t {
        if (n == nullptr) return -1;
        const int32_t left = height(n->left), right = height(n->right), counted = 1 + std::max(left, right);
        TreeNode* const link = const_cast<TreeNode*>(n);
        if (problem.empty() && treeHeight(&link) != counted) {
            problem = "treeHeight() is " + std::to_string(treeHeight(&link)) + " at key " + std::to_string(n->key);
        } else if (problem.empty() && (right - left < -1 || right - left > 1)) {
            problem = "balance " + std::to_string(right - left) + " at key " + std::to_string(n->key);
        }
        return counted;
    };
    const std::vector<int32_t> keys = inOrderKeys(root);
    if (!std::is_sorted(keys.begin(), keys.end())) problem = "keys out of search order";
    height(root);
    if (problem.empty()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << problem << " in " << describeTree(root);
}
