// The player's tree is built by hand: each fruit goes to the slot the player chose,
// whatever its key. Judging compares it with the reference tree afterwards.
#include "tree/tree.hpp"

#include <cstdlib>

namespace {

// The link a slot's node hangs from, or null when the slot's parent is missing or
// the code is not a slot.
TreeNode** slotLink(TreeNode** root, int32_t slot) {
    switch (slot) {
    case TreeSlot::Root:
        return root;
    case TreeSlot::Left:
        return *root != nullptr ? &(*root)->left : nullptr;
    case TreeSlot::Right:
        return *root != nullptr ? &(*root)->right : nullptr;
    case TreeSlot::LeftLeft:
    case TreeSlot::LeftRight: {
        TreeNode** parent = slotLink(root, TreeSlot::Left);
        if (parent == nullptr || *parent == nullptr) {
            return nullptr;
        }
        return slot == TreeSlot::LeftLeft ? &(*parent)->left : &(*parent)->right;
    }
    case TreeSlot::RightLeft:
    case TreeSlot::RightRight: {
        TreeNode** parent = slotLink(root, TreeSlot::Right);
        if (parent == nullptr || *parent == nullptr) {
            return nullptr;
        }
        return slot == TreeSlot::RightLeft ? &(*parent)->left : &(*parent)->right;
    }
    default:
        return nullptr;
    }
}

}  // namespace

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

int32_t placeOfKey(TreeNode* root, int32_t key) {
    // Slot s has its children at 2s+1 and 2s+2: the codes follow the search path.
    int32_t slot = TreeSlot::Root;
    for (const TreeNode* node = root; node != nullptr;) {
        const bool left = key < node->key;
        slot = 2 * slot + (left ? 1 : 2);
        if (slot >= TreeSlot::Count) {
            return TreeSlot::None;
        }
        node = left ? node->left : node->right;
    }
    return slot;
}

int32_t filledSlots(TreeNode* root) {
    int32_t filled = 0;
    for (int32_t slot = 0; slot < TreeSlot::Count; ++slot) {
        filled += nodeAtSlot(root, slot) != nullptr ? 1 : 0;
    }
    return filled;
}
