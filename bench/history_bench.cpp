// Measures the history on a long record of play:
//   history_bench [ROUNDS]   writes 100,000 lines of matches and practices to the
//                            history in a temporary data folder, then, in each of
//                            ROUNDS rounds (default 5), times summarizeHistory on
//                            the file and 100 appendHistory calls to it, one by one.
// Prints one line of "name=value" pairs: the median summary, the median append and
// the slowest append seen, in milliseconds.
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/game.hpp"
#include "app/history.hpp"

namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t kLines = 100000;
constexpr int32_t kAppendsPerRound = 100;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Judged {
    const char* event;
    const char* chosen;
    const char* expected;
    bool correct;
};

// How a match ends: won, or lost at a stall, a rotation, a repeated number or the clock.
const Judged kEndings[] = {{"won", "", "", true},
                           {"stall", "L", "bin", false},
                           {"rotation", "single-left", "double-right", false},
                           {"repeat", "", "", false},
                           {"timeout", "5", "7", false}};
const Judged kCompleted = {"complete", "", "", true};

// Years of play: sessions of a dozen to thirty placements, one in four followed
// by a rotation to name. Every fifth session is a practice, with a mistake now and
// then, completed half the time; a match ends in one of its five ways.
std::vector<HistoryEntry> playedHistory() {
    std::mt19937 random(7);
    const auto chance = [&](uint32_t oneIn) { return random() % oneIn == 0; };
    std::vector<HistoryEntry> entries;
    std::time_t start = 1767225600;  // 2026-01-01
    while (entries.size() < kLines) {
        const bool practice = chance(5);
        float seconds = 0.f;
        const auto add = [&](const Judged& judged) {
            seconds += 1.f + static_cast<float>(random() % 40) / 10.f;
            const int32_t fruit = judged.event == kCompleted.event ? -1 : static_cast<int32_t>(1 + random() % 99);
            entries.push_back({start + static_cast<std::time_t>(seconds), start, practice, judged.event, fruit,
                               judged.chosen, judged.expected, judged.correct, seconds});
        };
        for (uint32_t placements = 12 + random() % 20; placements > 0; --placements) {
            const int32_t slot = static_cast<int32_t>(random() % 8) - 1;  // the bin too
            const int32_t kind = static_cast<int32_t>(random() % 4);
            const bool right = !practice || !chance(8);
            add({"stall", slotCode(right ? slot : (slot + 2) % 7), slotCode(slot), right});
            if (chance(4)) {
                add({"rotation", rotationCode(right ? kind : (kind + 1) % 4), rotationCode(kind), right});
            }
        }
        if (!practice || chance(2)) {
            add(practice ? kCompleted : kEndings[random() % 5]);
        }
        start += static_cast<std::time_t>(seconds) + 60 + random() % 600;
    }
    entries.resize(kLines);
    return entries;
}

}  // namespace

int main(int argc, char* argv[]) {
    const int32_t rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    char folder[] = "/tmp/jogo-history-bench-XXXXXX";
    if (mkdtemp(folder) == nullptr) {
        return 1;
    }
    setenv("XDG_DATA_HOME", folder, 1);
    const std::vector<HistoryEntry> entries = playedHistory();
    // The file and its header made by the game's own first append; the rest in one go.
    std::string lines;
    for (size_t at = 1; at < entries.size(); ++at) {
        lines += historyLine(entries[at]);
    }
    bool written = appendHistory(entries[0]) && std::ofstream(historyPath(), std::ios::app) << lines;
    std::vector<double> summaryMs, appendMs;
    double slowestAppendMs = 0;
    int32_t records = 0;
    for (int32_t round = 0; round < rounds; ++round) {
        Clock::time_point begin = Clock::now();
        records = summarizeHistory(historyPath()).records;
        summaryMs.push_back(millisecondsSince(begin));
        std::vector<double> calls;
        for (int32_t call = 0; call < kAppendsPerRound; ++call) {
            begin = Clock::now();
            written = appendHistory(entries[call]) && written;
            calls.push_back(millisecondsSince(begin));
        }
        slowestAppendMs = std::max(slowestAppendMs, *std::max_element(calls.begin(), calls.end()));
        appendMs.push_back(median(calls));
    }
    // What a student waits for: R on the menu to the results screen's first frame
    // displayed, on that history (read from the page cache, as after a game).
    auto game = std::make_unique<Game>();
    game->openWindow();
    game->loadTextures();
    game->window.setFramerateLimit(0);
    game->frameDelay = sf::Time::Zero;
    const Clock::time_point opening = Clock::now();
    game->menuActive = false;
    game->openResults();
    game->showOtherScreen();
    const double resultsMs = millisecondsSince(opening);
    game->window.close();
    std::filesystem::remove_all(folder);
    // Every line must have been written and read, or the times are of something else.
    const int32_t expected = static_cast<int32_t>(kLines) + (rounds - 1) * kAppendsPerRound;
    if (!written || records != expected) {
        std::fprintf(stderr, "history_bench: %d lines read of %d written\n", records, expected);
        return 1;
    }
    std::printf("history_summary_ms=%.2f history_append_ms=%.4f history_append_slowest_ms=%.3f results_open_ms=%.2f\n",
                median(summaryMs), median(appendMs), slowestAppendMs, resultsMs);
    return 0;
}
