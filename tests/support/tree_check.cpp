#include "support/tree_check.hpp"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <optional>

namespace {

// Keys of the subtree at node must lie in [low, high]; an absent bound is open.
// Returns the first node that breaks it, or null.
const TreeNode* firstOutOfOrder(const TreeNode* node, std::optional<int32_t> low,
                                std::optional<int32_t> high) {
    if (node == nullptr) {
        return nullptr;
    }
    if ((low && node->key < *low) || (high && node->key > *high)) {
        return node;
    }
    if (const TreeNode* bad = firstOutOfOrder(node->left, low, node->key)) {
        return bad;
    }
    return firstOutOfOrder(node->right, node->key, high);
}

// Height counted here (empty -1, leaf 0); records the first problem met in *problem.
int32_t checkedHeight(const TreeNode* node, std::string* problem) {
    if (node == nullptr) {
        return -1;
    }
    const int32_t left = checkedHeight(node->left, problem);
    const int32_t right = checkedHeight(node->right, problem);
    const int32_t height = 1 + std::max(left, right);
    if (!problem->empty()) {
        return height;
    }
    TreeNode* const asLink = const_cast<TreeNode*>(node);
    const int32_t reported = treeHeight(&asLink);
    if (reported != height) {
        *problem = "treeHeight() gives " + std::to_string(reported) + " at key " +
                   std::to_string(node->key) + ", counted height is " + std::to_string(height);
    } else if (right - left < -1 || right - left > 1) {
        *problem = "balance " + std::to_string(right - left) + " at key " +
                   std::to_string(node->key);
    }
    return height;
}

void collectInOrder(const TreeNode* node, std::vector<int32_t>& keys) {
    if (node == nullptr) {
        return;
    }
    collectInOrder(node->left, keys);
    keys.push_back(node->key);
    collectInOrder(node->right, keys);
}

void collectPreOrder(const TreeNode* node, std::vector<const TreeNode*>& nodes) {
    if (node == nullptr) {
        return;
    }
    nodes.push_back(node);
    collectPreOrder(node->left, nodes);
    collectPreOrder(node->right, nodes);
}

std::string joined(const std::vector<int32_t>& keys) {
    std::string text;
    for (int32_t key : keys) {
        text += (text.empty() ? "" : " ") + std::to_string(key);
    }
    return "{" + text + "}";
}

// The one active FreeCounter's nodes and counts. Plain atomics: free() runs on any
// thread (audio, graphics driver), also while a counter is being set up.
std::atomic<const void*> gWatched[FreeCounter::kMaxNodes];
std::atomic<int32_t> gFrees[FreeCounter::kMaxNodes];
std::atomic<std::size_t> gWatchedCount{0};

void noteFree(const void* block) {
    if (block == nullptr) {
        return;
    }
    const std::size_t count = gWatchedCount.load(std::memory_order_acquire);
    for (std::size_t i = 0; i < count; ++i) {
        if (gWatched[i].load(std::memory_order_relaxed) == block) {
            gFrees[i].fetch_add(1, std::memory_order_relaxed);
            return;
        }
    }
}

}  // namespace

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer owns malloc and free; it reports every free to a hook instead.
extern "C" int __sanitizer_install_malloc_and_free_hooks(
    void (*mallocHook)(const volatile void*, std::size_t), void (*freeHook)(const volatile void*));

namespace {
void ignoreMalloc(const volatile void*, std::size_t) {}
void countFree(const volatile void* block) { noteFree(const_cast<const void*>(block)); }
void installFreeHook() {
    static const bool installed =
        __sanitizer_install_malloc_and_free_hooks(ignoreMalloc, countFree) != 0;
    (void)installed;
}
}  // namespace
#else
// Without the sanitizer every free() of the test program passes through here on
// its way to the C library's own.
extern "C" void __libc_free(void* block);
extern "C" void free(void* block) noexcept {
    noteFree(block);
    __libc_free(block);
}

namespace {
void installFreeHook() {}
}  // namespace
#endif

::testing::AssertionResult isSearchTree(const TreeNode* root) {
    if (const TreeNode* bad = firstOutOfOrder(root, std::nullopt, std::nullopt)) {
        return ::testing::AssertionFailure()
               << "key " << bad->key << " breaks the search order in " << describeTree(root);
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult isBalancedSearchTree(const TreeNode* root,
                                                const std::vector<int32_t>& expectedKeys) {
    ::testing::AssertionResult ordered = isSearchTree(root);
    if (!ordered) {
        return ordered;
    }
    std::string problem;
    checkedHeight(root, &problem);
    if (!problem.empty()) {
        return ::testing::AssertionFailure() << problem << " in " << describeTree(root);
    }
    std::vector<int32_t> keys = inOrderKeys(root);
    std::vector<int32_t> expected = expectedKeys;
    std::sort(expected.begin(), expected.end());
    if (keys != expected) {
        return ::testing::AssertionFailure() << "tree holds " << joined(keys) << " ("
                                             << keys.size() << " nodes), expected "
                                             << joined(expected) << " in "
                                             << describeTree(root);
    }
    return ::testing::AssertionSuccess();
}

int32_t nodeCount(const TreeNode* root) {
    if (root == nullptr) {
        return 0;
    }
    return 1 + nodeCount(root->left) + nodeCount(root->right);
}

std::vector<int32_t> inOrderKeys(const TreeNode* root) {
    std::vector<int32_t> keys;
    collectInOrder(root, keys);
    return keys;
}

std::vector<const TreeNode*> treeNodes(const TreeNode* root) {
    std::vector<const TreeNode*> nodes;
    collectPreOrder(root, nodes);
    return nodes;
}

std::string describeTree(const TreeNode* root) {
    if (root == nullptr) {
        return "-";
    }
    const std::string key = std::to_string(root->key);
    if (root->left == nullptr && root->right == nullptr) {
        return key;
    }
    return key + "(" + describeTree(root->left) + "," + describeTree(root->right) + ")";
}

FreeCounter::FreeCounter(const std::vector<const TreeNode*>& nodes)
    : count(std::min(nodes.size(), kMaxNodes)) {
    installFreeHook();
    gWatchedCount.store(0, std::memory_order_release);
    for (std::size_t i = 0; i < count; ++i) {
        gWatched[i].store(nodes[i], std::memory_order_relaxed);
        gFrees[i].store(0, std::memory_order_relaxed);
    }
    gWatchedCount.store(count, std::memory_order_release);
    if (nodes.size() > kMaxNodes) {
        ADD_FAILURE() << "FreeCounter watches at most " << kMaxNodes << " nodes";
    }
}

FreeCounter::~FreeCounter() { gWatchedCount.store(0, std::memory_order_release); }

int32_t FreeCounter::timesFreed(std::size_t i) const {
    return i < count ? gFrees[i].load(std::memory_order_relaxed) : 0;
}

int32_t FreeCounter::totalFrees() const {
    int32_t total = 0;
    for (std::size_t i = 0; i < count; ++i) {
        total += timesFreed(i);
    }
    return total;
}

::testing::AssertionResult FreeCounter::allFreed() const {
    for (std::size_t i = 0; i < count; ++i) {
        if (timesFreed(i) == 0) {
            return ::testing::AssertionFailure() << "node " << i << " of " << count
                                                 << " was never freed";
        }
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult FreeCounter::allFreedOnce() const {
    for (std::size_t i = 0; i < count; ++i) {
        if (timesFreed(i) != 1) {
            return ::testing::AssertionFailure() << "node " << i << " of " << count
                                                 << " was freed " << timesFreed(i) << " times";
        }
    }
    return ::testing::AssertionSuccess();
}
