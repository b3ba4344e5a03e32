#include <memory>

#include "app/game.hpp"

int main() {
    // The Game holds hundreds of sprites and some thirty textures by value: it lives
    // on the heap rather than on the main thread's stack.
    auto game = std::make_unique<Game>();
    game->run();
    return 0;
}
