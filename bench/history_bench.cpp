// Measures the history on a long record of play:
//   history_bench [ROUNDS [JOGO]]
//                            writes 100,000 lines of matches and practices to the
//                            history in a temporary data folder, then, in each of
//                            ROUNDS rounds (default 5), times summarizeHistory on
//                            the file and 100 appendHistory calls to it, one by one.
//                            Given the game program JOGO, it also gathers a class of
//                            100 students' files of 10,000 lines each and times
//                            `JOGO --report` on them in every round.
// Prints one line of "name=value" pairs: the median summary, the median append and
// the slowest append seen, the median report, in milliseconds.
#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
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
constexpr uint32_t kClassFiles = 100;
constexpr size_t kClassFileLines = 10000;

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
std::vector<HistoryEntry> playedHistory(size_t lines, uint32_t seed) {
    std::mt19937 random(seed);
    const auto chance = [&](uint32_t oneIn) { return random() % oneIn == 0; };
    std::vector<HistoryEntry> entries;
    std::time_t start = 1767225600;  // 2026-01-01
    while (entries.size() < lines) {
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
    entries.resize(lines);
    return entries;
}

// Writes the entries to the history: the file and its header made by the game's
// own first append, the rest in one go.
bool writeHistory(const std::vector<HistoryEntry>& entries) {
    std::string lines;
    for (size_t at = 1; at < entries.size(); ++at) {
        lines += historyLine(entries[at]);
    }
    return appendHistory(entries[0]) && std::ofstream(historyPath(), std::ios::app) << lines;
}

// A lab's files gathered in `folder` as a teacher gathers them, each student's own
// play; no files when they could not be written.
std::vector<std::string> gatherClass(const std::string& folder) {
    std::vector<std::string> files;
    std::filesystem::create_directory(folder);
    for (uint32_t student = 0; student < kClassFiles; ++student) {
        files.push_back(folder + "/student" + std::to_string(student) + ".csv");
        if (!writeHistory(playedHistory(kClassFileLines, student))) {
            return {};
        }
        std::filesystem::rename(historyPath(), files.back());
    }
    return files;
}

// Runs `jogo --report FILES > table` as a teacher would, warm from the page cache:
// milliseconds from the start of the process to its end, or -1 when it failed.
double timeReport(const char* jogo, const std::vector<std::string>& files, const std::string& table) {
    std::vector<char*> arguments = {const_cast<char*>(jogo), const_cast<char*>("--report")};
    for (const std::string& file : files) {
        arguments.push_back(const_cast<char*>(file.c_str()));
    }
    arguments.push_back(nullptr);
    posix_spawn_file_actions_t output;
    posix_spawn_file_actions_init(&output);
    posix_spawn_file_actions_addopen(&output, STDOUT_FILENO, table.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const Clock::time_point begin = Clock::now();
    pid_t report = 0;
    int status = 1;
    const bool ended = posix_spawn(&report, jogo, &output, nullptr, arguments.data(), environ) == 0 &&
                       waitpid(report, &status, 0) == report;
    const double milliseconds = millisecondsSince(begin);
    posix_spawn_file_actions_destroy(&output);
    return ended && WIFEXITED(status) && WEXITSTATUS(status) == 0 ? milliseconds : -1;
}

}  // namespace

int main(int argc, char* argv[]) {
    const int32_t rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    char folder[] = "/tmp/jogo-history-bench-XXXXXX";
    if (mkdtemp(folder) == nullptr) {
        return 1;
    }
    setenv("XDG_DATA_HOME", folder, 1);
    const char* jogo = argc > 2 ? argv[2] : nullptr;
    std::vector<std::string> classFiles;
    if (jogo) {
        classFiles = gatherClass(folder + std::string("/class"));
    }
    const std::string table = folder + std::string("/class.csv");
    const std::vector<HistoryEntry> entries = playedHistory(kLines, 7);
    bool written = writeHistory(entries) && classFiles.size() == (jogo ? kClassFiles : 0);
    std::vector<double> summaryMs, appendMs, reportMs;
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
        if (jogo) {
            reportMs.push_back(timeReport(jogo, classFiles, table));
        }
    }
    // The header and a line for each student, and every run ended well.
    std::ifstream report(table);
    const auto tableLines = std::count(std::istreambuf_iterator<char>(report), {}, '\n');
    const bool failed = std::find(reportMs.begin(), reportMs.end(), -1.0) != reportMs.end();
    const bool reported = !jogo || (tableLines == kClassFiles + 1 && !failed);
    // What a student waits for: R on the menu to the results screen's first frame
    // displayed, on that history (read from the page cache, as after a game).
    auto game = std::make_unique<Game>();
    game->openWindow();
    game->loadTextures();
    game->window.setFramerateLimit(0);
    game->frameDelay = sf::Time::Zero;
    const Clock::time_point opening = Clock::now();
    
    game->openResults();
    game->showOtherScreen();
    const double resultsMs = millisecondsSince(opening);
    game->window.close();
    std::filesystem::remove_all(folder);
    // Every line must have been written and read, or the times are of something else.
    const int32_t expected = static_cast<int32_t>(kLines) + (rounds - 1) * kAppendsPerRound;
    if (!written || records != expected || !reported) {
        std::fprintf(stderr, "history_bench: %d lines read of %d written, the report %s\n", records, expected,
                     reported ? "written" : "failed");
        return 1;
    }
    std::printf("history_summary_ms=%.2f history_append_ms=%.4f history_append_slowest_ms=%.3f results_open_ms=%.2f",
                median(summaryMs), median(appendMs), slowestAppendMs, resultsMs);
    if (jogo) {
        std::printf(" class_report_ms=%.1f", median(reportMs));
    }
    std::printf("\n");
    return 0;
}
