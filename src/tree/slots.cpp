// The player's tree is built by hand: each fruit goes to the slot the player chose,
// whatever its key. Judging compares it with the reference tree afterwards.
#include "tree/tree.hpp"

#include <cstdlib>

namespace {

// The link a slot's node hangs from, or null when the slot's parent is missing or
// the code is not a slot. The turns from the root are the slot's own path.
TreeNode** slotLink(TreeNode** root, int32_t slot) {
    if (slot < 0) {
        return nullptr;
    }
    const std::vector<int32_t> path = slotPath(slot);
    TreeNode** link = root;
    for (size_t step = 1; step < path.size(); ++step) {
        if (*link == nullptr) {
            return nullptr;
        }
        link = path[step] % 2 == 1 ? &(*link)->left : &(*link)->right;
    }
    return link;
}

}  // namespace

std::vector<int32_t> slotPath(int32_t slot) {
    std::vector<int32_t> path;
    for (int32_t at = slot; at >= 0; at = at == 0 ? -1 : (at - 1) / 2) {
        path.insert(path.begin(), at);
    }
    return path;
}

void placeAtSlot(TreeNode** root, int32_t key, int32_t value, int32_t slot) {
    TreeNode** link = slotLink(root, slot);
    // An occupied target keeps its subtree: overwriting it would leak and lose keys.
    if (link == nullptr || *link != nullptr) {
        return;
    }
    // Inserting into an empty link only allocates the node, and keeps one place
    // that decides what happens when memory runs out.
    int32_t noRotation = RotationKind::None;
    insertBalanced(link, key, value, noRotation);
}

TreeNode* nodeAtSlot(TreeNode* root, int32_t slot) {
    TreeNode** link = slotLink(&root, slot);
    return link != nullptr ? *link : nullptr;
}

int32_t placeOfKey(TreeNode* root, int32_t key, int32_t slotCount) {
    // Slot s has its children at 2s+1 and 2s+2: the codes follow the search path.
    int32_t slot = TreeSlot::Root;
    for (const TreeNode* node = root; node != nullptr;) {
        const bool left = key < node->key;
        slot = 2 * slot + (left ? 1 : 2);
        if (slot >= slotCount) {
            return TreeSlot::None;
        }
        node = left ? node->left : node->right;
    }
    return slot;
}

int32_t filledSlots(TreeNode* root, int32_t slotCount) {
    int32_t filled = 0;
    for (int32_t slot = 0; slot < slotCount; ++slot) {
        filled += nodeAtSlot(root, slot) != nullptr ? 1 : 0;
    }
    return filled;
}
