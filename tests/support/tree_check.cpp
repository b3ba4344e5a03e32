#include "support/tree_check.hpp"

#include <algorithm>

namespace {

// Height counted here (empty -1, leaf 0); the first problem met goes into *problem.
int32_t checkedHeight(const TreeNode* node, std::string* problem) {
    if (node == nullptr) return -1;
    const int32_t left = checkedHeight(node->left, problem);
    const int32_t right = checkedHeight(node->right, problem);
    const int32_t height = 1 + std::max(left, right);
    TreeNode* const asLink = const_cast<TreeNode*>(node);
    if (!problem->empty()) {
    } else if (treeHeight(&asLink) != height) {
        *problem = "treeHeight() is " + std::to_string(treeHeight(&asLink)) + " at key " +
                   std::to_string(node->key) + ", counted " + std::to_string(height);
    } else if (right - left < -1 || right - left > 1) {
        *problem = "balance " + std::to_string(right - left) + " at key " + std::to_string(node->key);
    }
    return height;
}

void collect(const TreeNode* node, std::vector<int32_t>& keys) {
    if (node != nullptr) {
        collect(node->left, keys);
        keys.push_back(node->key);
        collect(node->right, keys);
    }
}

}  // namespace

::testing::AssertionResult isBalancedSearchTree(const TreeNode* root) {
    const std::vector<int32_t> keys = inOrderKeys(root);
    std::string problem;
    if (!std::is_sorted(keys.begin(), keys.end())) {
        problem = "keys out of search order";
    } else {
        checkedHeight(root, &problem);
    }
    if (!problem.empty()) return ::testing::AssertionFailure() << problem << " in " << describeTree(root);
    return ::testing::AssertionSuccess();
}

std::vector<int32_t> inOrderKeys(const TreeNode* root) {
    std::vector<int32_t> keys;
    collect(root, keys);
    return keys;
}

std::string describeTree(const TreeNode* root) {
    if (root == nullptr) return "-";
    const std::string key = std::to_string(root->key);
    if (root->left == nullptr && root->right == nullptr) return key;
    return key + "(" + describeTree(root->left) + "," + describeTree(root->right) + ")";
}
