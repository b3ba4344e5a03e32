// The game's own tree: AVL insertion and the rotation it reports, checked against
// a plain model; lookup, comparison, copy and destruction; and the placement of the
// player's fruits at the seven stall slots, with no comparison and no rebalancing.
#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>
#include "support/tree_check.hpp"

namespace {

// A tree owned by the test, freed whatever the outcome.
struct OwnedTree {
    TreeNode* root = nullptr;
    ~OwnedTree() { destroyTree(&root); }
    // The kind the insertion wrote, or -1 when it wrote none.
    int32_t insert(int32_t key, int32_t value = 0) {
        int32_t kind = RotationKind::None;
        insertBalanced(&root, key, value, kind);
        return kind;
    }
};

// A plain AVL tree written from the textbook: equal keys go right, and the kind
// of rotation follows the two steps taken below the unbalanced node.
struct Model {
    int32_t key;
    int32_t value;
    int32_t height = 0;
    std::unique_ptr<Model> left, right;
};
using Link = std::unique_ptr<Model>;

int32_t height(const Link& n) { return n ? n->height : -1; }
void fix(Model& n) { n.height = 1 + std::max(height(n.left), height(n.right)); }

void turn(Link& link, bool toTheRight) {
    Link pivot = std::move(toTheRight ? link->left : link->right);
    (toTheRight ? link->left : link->right) = std::move(toTheRight ? pivot->right : pivot->left);
    fix(*link);
    (toTheRight ? pivot->right : pivot->left) = std::move(link);
    fix(*pivot);
    link = std::move(pivot);
}

// Returns the side taken at this node: 0 none, -1 left, +1 right.
int modelInsert(Link& link, int32_t key, int32_t& kind) {
    if (!link) {
        link.reset(new Model{key, 0, 0, nullptr, nullptr});
        return 0;
    }
    const int here = key < link->key ? -1 : 1;
    const int below = modelInsert(here < 0 ? link->left : link->right, key, kind);
    fix(*link);
    const int32_t balance = height(link->right) - height(link->left);
    if (balance < -1 || balance > 1) {
        if (here != below) turn(here < 0 ? link->left : link->right, here > 0);
        turn(link, here < 0);
        kind = here < 0 ? (here == below ? RotationKind::SingleRight : RotationKind::DoubleRight)
                        : (here == below ? RotationKind::SingleLeft : RotationKind::DoubleLeft);
    }
    return here;
}

// Orders that reach every rotation kind: random over the game's numbers (both
// ends included), few numbers with many repeats, ascending, descending, zig-zag.
std::vector<int32_t> insertionOrder(uint32_t seed) {
    std::mt19937 random(seed);
    const int32_t length = std::uniform_int_distribution<int32_t>(1, 200)(random);
    std::vector<int32_t> keys(length);
    for (int32_t i = 0; i < length; ++i) {
        switch (seed % 5) {
        case 0: keys[i] = std::uniform_int_distribution<int32_t>(0, 99)(random); break;
        case 1: keys[i] = std::uniform_int_distribution<int32_t>(0, 3)(random) * 33; break;
        case 2: keys[i] = i / 2; break;
        case 3: keys[i] = 99 - i % 100; break;
        default: keys[i] = i % 2 == 0 ? 500 + i : 500 - i; break;
        }
    }
    return keys;
}

}  // namespace

// The shape, the reported kind (none unless a rotation happened) and the
// invariants after every insertion; lookups of present and absent keys.
TEST(Insertion, MatchesThePlainModelAfterEveryInsertionOfManySequences) {
    for (uint32_t seed = 1; seed <= 300; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        OwnedTree tree;
        Link model;
        const std::vector<int32_t> keys = insertionOrder(seed);
        for (size_t i = 0; i < keys.size(); ++i) {
            int32_t expected = RotationKind::None;
            modelInsert(model, keys[i], expected);
            ASSERT_EQ(tree.insert(keys[i], static_cast<int32_t>(i)), expected) << "inserting " << keys[i];
            ASSERT_EQ(describeTree(tree.root), describeTree(model)) << "inserting " << keys[i];
            ASSERT_TRUE(isBalancedSearchTree(tree.root));
        }
        for (int32_t key : {keys.front(), keys.back(), 0, 99, -5, 1000}) {
            const bool present = std::find(keys.begin(), keys.end(), key) != keys.end();
            EXPECT_EQ(findKey(&tree.root, key), present ? key : -1) << "looking for " << key;
        }
    }
}

TEST(TreeCopy, CopyComparesEqualOwnsItsNodesAndAnyChangeIsSeen) {
    OwnedTree source;
    for (int32_t key : {50, 20, 80, 0, 99, 60}) source.insert(key, key + 1000);
    OwnedTree copy;
    copyTree(&source.root, &copy.root);
    EXPECT_TRUE(sameShapeAndKeys(source.root, copy.root));
    EXPECT_EQ(describeTree(copy.root, true), describeTree(source.root, true));
    EXPECT_NE(copy.root, source.root);
    // A changed key, a missing leaf and another shape of the same keys all differ;
    // a changed value does not count.
    copy.root->value = -7;
    EXPECT_TRUE(sameShapeAndKeys(source.root, copy.root));
    copy.root->right->right->key = 98;
    EXPECT_FALSE(sameShapeAndKeys(source.root, copy.root));
    destroyTree(&copy.root->right->right);
    EXPECT_FALSE(sameShapeAndKeys(source.root, copy.root));
    OwnedTree ascending;
    for (int32_t key : {0, 20, 50, 60, 80, 99}) ascending.insert(key);
    EXPECT_FALSE(sameShapeAndKeys(source.root, ascending.root));
    EXPECT_FALSE(sameShapeAndKeys(source.root, nullptr));
    EXPECT_TRUE(sameShapeAndKeys(nullptr, nullptr));
    // Copying nothing leaves the destination as it was; destroying twice is harmless.
    TreeNode* empty = nullptr;
    copyTree(&empty, &copy.root);
    EXPECT_NE(copy.root, nullptr);
    destroyTree(&copy.root);
    destroyTree(&copy.root);
    EXPECT_EQ(copy.root, nullptr);
    EXPECT_EQ(source.root->key, 50);  // the source never shared a node with the copy
}

TEST(SlotPlacement, EverySlotIsItsOwnPositionWhateverTheKeys) {
    // Keys against the search order, filled parents first, both ends of the range, four levels.
    OwnedTree tree;
    const int32_t keys[TreeSlot::FourLevelCount] = {0, 99, 1, 98, 2, 97, 3, 96, 4, 95, 5, 94, 6, 93, 7};
    for (int32_t slot = 0; slot < TreeSlot::FourLevelCount; ++slot) placeAtSlot(&tree.root, keys[slot], slot, slot);
    EXPECT_EQ(describeTree(tree.root), "0(99(98(96,4),2(95,5)),1(97(94,6),3(93,7)))");
    EXPECT_EQ(filledSlots(tree.root), TreeSlot::Count);
    EXPECT_EQ(filledSlots(tree.root, TreeSlot::FourLevelCount), TreeSlot::FourLevelCount);
    // Looked up the same way the game judges the player's tree.
    for (int32_t slot = TreeSlot::Root; slot < TreeSlot::FourLevelCount; ++slot) {
        const TreeNode* node = nodeAtSlot(tree.root, slot);
        EXPECT_TRUE(node != nullptr && node->key == keys[slot] && node->value == slot) << "slot " << slot;
    }
}

TEST(SlotPlacement, MissingParentOccupiedTargetOrUnknownCodeChangesNothing) {
    // What is asked, the slots filled first (keyed by their number), the slot asked for.
    const std::tuple<const char*, std::vector<int32_t>, int32_t> rows[] = {
        {"grandchild of an empty tree", {}, TreeSlot::RightRight},
        {"child of an empty tree", {}, TreeSlot::Left},
        {"left grandchild under a missing left child", {0, 2}, TreeSlot::LeftLeft},
        {"right grandchild under a missing right child", {0, 1}, TreeSlot::RightLeft},
        {"occupied root", {0, 1, 2}, TreeSlot::Root},
        {"occupied leaf", {0, 2, 6}, TreeSlot::RightRight},
        {"code below the slots", {}, TreeSlot::None},
        {"fourth level of an empty tree", {}, TreeSlot::Count},
        {"fifth level under a full three-level tree", {0, 1, 2, 3, 4, 5, 6}, TreeSlot::FourLevelCount},
    };
    for (const auto& [name, filled, asked] : rows) {
        SCOPED_TRACE(name);
        OwnedTree tree;
        for (int32_t slot : filled) placeAtSlot(&tree.root, slot, 0, slot);
        const std::string before = describeTree(tree.root);
        placeAtSlot(&tree.root, 42, 0, asked);
        EXPECT_EQ(describeTree(tree.root), before);
    }
}
