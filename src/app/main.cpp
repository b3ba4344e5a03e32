#include <iostream>
#include <memory>

#include "app/game.hpp"
#include "app/options.hpp"
#include "app/report.hpp"

int main(int argc, char* argv[]) {
    const Options options = parseOptions(argc, argv, std::cout, std::cerr);
    if (options.exitStatus >= 0) {
        return options.exitStatus;
    }
    // A report is written before anything of the game exists: no window, no display.
    if (options.report) {
        return writeReport(options.reportFiles, std::cin, std::cout, std::cerr);
    }
    // The Game holds hundreds of sprites and some thirty textures by value: it lives
    // on the heap rather than on the main thread's stack.
    auto game = std::make_unique<Game>();
    game->muted = options.muted;
    game->fruitList = options.fruits;
    game->marketStalls = options.marketStalls;
    game->run();
    return 0;
}
