// The reference tree: AVL insertion and the rotation it reports, checked against
// a plain model of its own; lookup, comparison, copy and destruction.
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
        link.reset(new Model{key, 0, nullptr, nullptr});
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

std::string describe(const Link& n) {
    if (!n) return "-";
    if (!n->left && !n->right) return std::to_string(n->key);
    return std::to_string(n->key) + "(" + describe(n->left) + "," + describe(n->right) + ")";
}

std::string withValues(const TreeNode* n) {
    return n ? std::to_string(n->key) + ":" + std::to_string(n->value) + "(" + withValues(n->left) + "," +
                   withValues(n->right) + ")"
             : "-";
}

// Orders that reach every rotation: random over the game's numbers (both ends
// included), few numbers with many repeats, ascending, descending, zig-zag.
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

TEST(Insertion, EachUnbalancingShapeRotatesAndReportsItsKind) {
    struct Row {
        std::vector<int32_t> keys;
        int32_t kind;
        const char* shape;
    } const rows[] = {
        {{50, 30, 20}, RotationKind::SingleRight, "30(20,50)"},
        {{50, 30, 40}, RotationKind::DoubleRight, "40(30,50)"},
        {{50, 70, 80}, RotationKind::SingleLeft, "70(50,80)"},
        {{50, 70, 60}, RotationKind::DoubleLeft, "60(50,70)"},
        {{99, 50, 0}, RotationKind::SingleRight, "50(0,99)"},
        {{0, 99, 50}, RotationKind::DoubleLeft, "50(0,99)"},
        {{50, 30, 70, 20, 10}, RotationKind::SingleRight, "50(20(10,30),70)"},
        {{50, 30, 70, 20, 40, 25}, RotationKind::SingleRight, "30(20(-,25),50(40,70))"},
        {{5, 5, 5}, RotationKind::SingleLeft, "5(5,5)"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.shape);
        OwnedTree tree;
        for (size_t i = 0; i + 1 < row.keys.size(); ++i) EXPECT_EQ(tree.insert(row.keys[i]), RotationKind::None);
        EXPECT_EQ(tree.insert(row.keys.back()), row.kind);
        EXPECT_EQ(describeTree(tree.root), row.shape);
    }
}

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
            ASSERT_EQ(describeTree(tree.root), describe(model)) << "inserting " << keys[i];
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
    EXPECT_EQ(withValues(copy.root), withValues(source.root));
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
    // Copying nothing leaves the destination as it was.
    TreeNode* empty = nullptr;
    copyTree(&empty, &copy.root);
    EXPECT_NE(copy.root, nullptr);
    destroyTree(&copy.root);
    EXPECT_EQ(copy.root, nullptr);
    destroyTree(&copy.root);
    EXPECT_EQ(source.root->key, 50);  // the source never shared a node with the copy
}
