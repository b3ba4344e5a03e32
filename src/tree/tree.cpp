// AVL insertion with rotation reporting, and the whole-tree operations the judging
// needs. Heights are computed on demand: the trees hold at most a handful of nodes,
// and a node stays four 32-bit-sized fields.
#include "tree/tree.hpp"

#include <algorithm>
#include <cstdlib>

namespace {

// A node we cannot allocate would leave the trees in a state the game cannot judge;
// ending at once is better than writing through a null pointer.
TreeNode* newNode(int32_t key, int32_t value) {
    auto* node = static_cast<TreeNode*>(std::malloc(sizeof(TreeNode)));
    if (node == nullptr) {
        std::abort();
    }
    *node = TreeNode{key, value, nullptr, nullptr};
    return node;
}

}  // namespace

void initTree(TreeNode** link) { *link = nullptr; }

int32_t treeHeight(TreeNode* const* link) {
    if (*link == nullptr) {
        return -1;
    }
    return 1 + std::max(treeHeight(&(*link)->left), treeHeight(&(*link)->right));
}

int32_t balanceFactor(TreeNode* const* link) {
    return treeHeight(&(*link)->right) - treeHeight(&(*link)->left);
}

TreeNode* rotateRight(TreeNode** link) {
    TreeNode* node = *link;
    TreeNode* pivot = node->left;
    node->left = pivot->right;
    pivot->right = node;
    *link = pivot;
    return pivot;
}

TreeNode* rotateLeft(TreeNode** link) {
    TreeNode* node = *link;
    TreeNode* pivot = node->right;
    node->right = pivot->left;
    pivot->left = node;
    *link = pivot;
    return pivot;
}

TreeNode* rebalanceReporting(TreeNode** link, int32_t& kind) {
    const int32_t balance = balanceFactor(link);
    if (balance < -1) {
        if (balanceFactor(&(*link)->left) <= 0) {
            rotateRight(link);
            kind = RotationKind::SingleRight;
        } else {
            rotateLeft(&(*link)->left);
            rotateRight(link);
            kind = RotationKind::DoubleRight;
        }
    } else if (balance > 1) {
        if (balanceFactor(&(*link)->right) < 0) {
            rotateRight(&(*link)->right);
            rotateLeft(link);
            kind = RotationKind::DoubleLeft;
        } else {
            rotateLeft(link);
            kind = RotationKind::SingleLeft;
        }
    }
    return *link;
}

TreeNode* insertBalanced(TreeNode** link, int32_t key, int32_t value, int32_t& kind) {
    if (*link == nullptr) {
        *link = newNode(key, value);
        return *link;
    }
    TreeNode* node = *link;
    if (node->key > key) {
        node->left = insertBalanced(&node->left, key, value, kind);
    } else {
        node->right = insertBalanced(&node->right, key, value, kind);
    }
    *link = rebalanceReporting(link, kind);
    return *link;
}

int32_t findKey(TreeNode* const* link, int32_t key) {
    const TreeNode* node = *link;
    while (node != nullptr) {
        if (node->key == key) {
            return key;
        }
        node = node->key > key ? node->left : node->right;
    }
    return -1;
}

bool sameShapeAndKeys(const TreeNode* a, const TreeNode* b) {
    while (a != nullptr || b != nullptr) {
        if (a == nullptr || b == nullptr || a->key != b->key) {
            return false;
        }
        if (!sameShapeAndKeys(a->left, b->left)) {
            return false;
        }
        a = a->right;
        b = b->right;
    }
    return true;
}

void copyTree(TreeNode* const* source, TreeNode** destination) {
    while (*source != nullptr) {
        TreeNode* copy = newNode((*source)->key, (*source)->value);
        *destination = copy;
        copyTree(&(*source)->left, &copy->left);
        source = &(*source)->right;
        destination = &copy->right;
    }
}

void destroyTree(TreeNode** link) {
    if (*link == nullptr) {
        return;
    }
    destroyTree(&(*link)->left);
    destroyTree(&(*link)->right);
    std::free(*link);
    *link = nullptr;
}
