// Measures the dead-end check the game runs after every change to the tree:
//   dead_end_bench [ROUNDS]   times findDeadEnd on every tree of one and two fruits (the ones whose next fruit
//                             can still rotate them, where the search goes deepest) and on 20,000 trees of three
//                             to six fruits grown by legal moves, in each of ROUNDS rounds (default 5).
// Prints one line of "name=value" pairs, in microseconds: the median call, the 99th percentile, the slowest call
// seen (a pause of the machine's may land in it) and the slowest tree (its median over the rounds); then how many
// trees there were and how many of them were stuck. A second line does the same for 3,000 trees of the big market.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "match/dead_end.hpp"

namespace {

using Clock = std::chrono::steady_clock;

// Grows a tree from nothing by legal moves: numbers not in it, each at its place within the market's levels; with
// `near`, half of them beside a number already in the tree, as a player closing stalls would.
TreeNode* grow(std::mt19937& random, int32_t fruits, int32_t slots = TreeSlot::Count, bool near = false) {
    TreeNode* root = nullptr;
    for (int draw = 0; draw < 1000 && filledSlots(root, slots) < fruits; ++draw) {
        int32_t number = static_cast<int32_t>(random() % kFruitCount);
        if (near && root != nullptr && random() % 2 == 0) {
            number = std::clamp(root->key + static_cast<int32_t>(random() % 7) - 3, 0, kFruitCount - 1);
        }
        if (findKey(&root, number) == -1 && placeOfKey(root, number, slots) != TreeSlot::None) {
            int32_t rotation = RotationKind::None;
            insertBalanced(&root, number, 0, rotation);
        }
    }
    return root;
}

TreeNode* treeOf(std::initializer_list<int32_t> keys) {
    TreeNode* root = nullptr;
    for (const int32_t key : keys) {
        int32_t rotation = RotationKind::None;
        insertBalanced(&root, key, 0, rotation);
    }
    return root;
}

}  // namespace

int main(int argc, char* argv[]) {
    const int32_t rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::vector<TreeNode*> trees;
    for (int32_t root = 0; root < kFruitCount; ++root) {
        trees.push_back(treeOf({root}));
        for (int32_t child = 0; child < kFruitCount; ++child) {
            if (child != root) {
                trees.push_back(treeOf({root, child}));
            }
        }
    }
    std::mt19937 random(7);
    for (int tree = 0; tree < 20000; ++tree) {
        trees.push_back(grow(random, 3 + tree % 4));
    }
    std::vector<double> calls;
    std::vector<std::vector<double>> byTree(trees.size());
    int32_t stuck = 0;
    for (int32_t round = 0; round < rounds; ++round) {
        stuck = 0;
        for (size_t at = 0; at < trees.size(); ++at) {
            const Clock::time_point begin = Clock::now();
            stuck += findDeadEnd(trees[at]).stuck ? 1 : 0;
            const double us = std::chrono::duration<double, std::micro>(Clock::now() - begin).count();
            calls.push_back(us);
            byTree[at].push_back(us);
        }
    }
    std::sort(calls.begin(), calls.end());
    double slowestTree = 0;
    for (std::vector<double>& times : byTree) {
        std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
        slowestTree = std::max(slowestTree, times[times.size() / 2]);
    }
    std::printf("dead_end_median_us=%.2f dead_end_p99_us=%.2f dead_end_slowest_us=%.1f "
                "dead_end_slowest_tree_us=%.1f dead_end_trees=%zu dead_end_stuck=%d\n",
                calls[calls.size() / 2], calls[calls.size() * 99 / 100], calls.back(),
                slowestTree, trees.size(), stuck);
    for (TreeNode*& tree : trees) {
        destroyTree(&tree);
    }
    // The big market: 3,000 trees of one to fourteen fruits, half of them grown beside their root's number, each
    // timed once.
    std::vector<double> big;
    int32_t bigStuck = 0;
    for (int tree = 0; tree < 3000; ++tree) {
        TreeNode* root = grow(random, 1 + tree % 14, TreeSlot::FourLevelCount, tree % 2 == 1);
        const Clock::time_point begin = Clock::now();
        bigStuck += findDeadEnd(root, kFruitCount, TreeSlot::FourLevelCount).stuck ? 1 : 0;
        big.push_back(std::chrono::duration<double, std::micro>(Clock::now() - begin).count());
        destroyTree(&root);
    }
    std::sort(big.begin(), big.end());
    std::printf("big_dead_end_median_us=%.2f big_dead_end_p99_us=%.1f big_dead_end_slowest_us=%.1f "
                "big_dead_end_trees=%zu big_dead_end_stuck=%d\n",
                big[big.size() / 2], big[big.size() * 99 / 100], big.back(), big.size(), bigStuck);
    return 0;
}
