// The game's own binary search tree of fruit numbers: AVL insertion that reports
// the rotation it performed, lookup, comparison, copy, destruction, and the
// placement of a node at one of the seven slots of a three-level tree.
//
// Every operation that can change a tree takes a link (the address of a
// TreeNode*) and writes the new subtree root back through it. Nodes are single
// malloc blocks owned by whoever holds the root link.
#pragma once

#include <cstdint>
#include <vector>

struct TreeNode {
    int32_t key;
    int32_t value;  // opaque payload: copied, never compared
    TreeNode* left;
    TreeNode* right;
};

// The rotation an AVL insertion performed. -1 means "none" in the game's members;
// the tree never writes -1 itself.
namespace RotationKind {
constexpr int32_t None = -1;
constexpr int32_t SingleRight = 0;
constexpr int32_t DoubleRight = 1;
constexpr int32_t SingleLeft = 2;
constexpr int32_t DoubleLeft = 3;
}  // namespace RotationKind

// The positions of the player's tree, numbered from the root down and left to
// right, so that slot s has its children at 2s+1 and 2s+2; stall k is slot k. The
// seven of a three-level tree are named; a four-level one goes on to slot 14.
namespace TreeSlot {
constexpr int32_t None = -1;
constexpr int32_t Root = 0;
constexpr int32_t Left = 1;
constexpr int32_t Right = 2;
constexpr int32_t LeftLeft = 3;
constexpr int32_t LeftRight = 4;
constexpr int32_t RightLeft = 5;
constexpr int32_t RightRight = 6;
constexpr int32_t Count = 7;
constexpr int32_t FourLevelCount = 15;
}  // namespace TreeSlot

// Makes *link an empty tree. Frees nothing.
void initTree(TreeNode** link);

// Inserts key (equal keys go right) and rebalances every node on the way back up.
// Writes kind only when a rotation happens, so a caller's preset -1 means "none".
// Returns the new subtree root, also stored in *link.
TreeNode* insertBalanced(TreeNode** link, int32_t key, int32_t value, int32_t& kind);

// Returns key when it is in the tree, otherwise -1. Iterative.
int32_t findKey(TreeNode* const* link, int32_t key);

// True when both trees have the same shape and the same key at every position.
// Values are not compared. Two empty trees are equal.
bool sameShapeAndKeys(const TreeNode* a, const TreeNode* b);

// Deep-copies *source (keys and values, pre-order) into *destination, which must
// be empty. An empty source leaves *destination unchanged.
void copyTree(TreeNode* const* source, TreeNode** destination);

// Frees every node of *link exactly once and leaves *link null. Empty: nothing.
void destroyTree(TreeNode** link);

// A tree held by value: a copy is a deep copy, and the nodes are freed with it.
struct Tree {
    TreeNode* root = nullptr;

    Tree() = default;
    Tree(const Tree& other) { copyTree(&other.root, &root); }
    Tree& operator=(const Tree& other) {
        if (this != &other) {
            destroyTree(&root);
            copyTree(&other.root, &root);
        }
        return *this;
    }
    ~Tree() { destroyTree(&root); }
};

// Creates a node {key, value} at the given TreeSlot position of the tree at *root,
// without comparing keys or rebalancing. A missing parent, an occupied target or a
// negative slot leaves the tree unchanged.
void placeAtSlot(TreeNode** root, int32_t key, int32_t value, int32_t slot);

// Height of *link: -1 when empty, 0 for a single node. Recomputed on every call.
int32_t treeHeight(TreeNode* const* link);

// Height of the right subtree minus the height of the left. *link must exist.
int32_t balanceFactor(TreeNode* const* link);

// Rotates the subtree at *link to the right: its left child becomes its root.
// Returns the new root, also stored in *link. *link and its left child must exist.
TreeNode* rotateRight(TreeNode** link);

// Rotates the subtree at *link to the left: its right child becomes its root.
// Returns the new root, also stored in *link. *link and its right child must exist.
TreeNode* rotateLeft(TreeNode** link);

// Restores the balance of the node at *link with a single or double rotation when
// one side is two or more higher, and names it in kind (otherwise kind is left as
// it was). Returns the node now at *link. *link must exist.
TreeNode* rebalanceReporting(TreeNode** link, int32_t& kind);

// The node at the given slot position, or null when the slot is empty, its parent
// is missing or the slot is negative.
TreeNode* nodeAtSlot(TreeNode* root, int32_t slot);

// How many of the first slotCount slots hold a node: 0 for an empty tree, 7 for a
// complete three-level one.
int32_t filledSlots(TreeNode* root, int32_t slotCount = TreeSlot::Count);

// The slot where plain search-tree insertion would put key into the tree at root
// (smaller keys left, greater or equal right, down to the first empty link), or
// TreeSlot::None when that link lies at slotCount or beyond: below the third level
// by default. Changes nothing.
int32_t placeOfKey(TreeNode* root, int32_t key, int32_t slotCount = TreeSlot::Count);

// The slots from the root down to slot (both included), or nothing for a negative
// slot.
std::vector<int32_t> slotPath(int32_t slot);
