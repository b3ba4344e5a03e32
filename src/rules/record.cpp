// Every judged move goes to the history as it is judged: a stall, a rotation named,
// a repeated number, the clock run out, a match won, a practice completed. The
// history is the student's own file; one that cannot be written costs the game
// nothing (appendHistory says so once, on standard error).
#include "app/game.hpp"

void Game::recordEvent(const char* event, int32_t fruit, const std::string& chosen,
                       const std::string& expected, bool correct) {
    HistoryEntry entry;
    entry.time = std::time(nullptr);
    entry.matchStart = matchStartTime;
    entry.practice = practicing;
    entry.event = event;
    entry.fruit = fruit;
    entry.chosen = chosen;
    entry.expected = expected;
    entry.correct = correct;
    entry.seconds = matchTime.asSeconds();
    appendHistory(entry);
}
