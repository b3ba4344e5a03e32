// The history: every judged event of a match or a practice, one CSV line each, in
// history.csv beside the best time, so that a student (or a teacher, in a
// spreadsheet) can see what was asked and answered, and the results screen can
// sum it up. The file is the student's: lines are only ever appended, never
// rewritten, and a file that cannot be written or read never stops the game.
//
// The columns, after a header line written when the file is made:
//   time,match,mode,event,fruit,chosen,expected,correct,seconds
// time and match are local ISO 8601 times with their offset (when the event was
// judged, when its match or practice began); mode is match or practice in the
// small market of 7 stalls (the only one of older files), match15 or practice15 in
// the big one of 15; event is stall, rotation, balance (which stall lost its
// balance, asked in the big market before the rotation), repeat, timeout, won,
// complete, stuck (a dead end: some free stall can no longer be filled) or left (a
// match left for the menu); fruit the number delivered (empty when none was);
// chosen and expected are slot codes or bin for a stall, slot codes for a balance,
// rotation codes for a rotation, filled stalls out of the market's count for a
// time-out, the stall that cannot be filled for a dead end, and empty where they
// mean nothing; correct is 1 or 0; seconds since the match began, with one decimal.
#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

#include "match/outcomes.hpp"

// The markets a history tells apart, by their stall count: index 0 the small one,
// 1 the big one.
constexpr int32_t kMarketStalls[] = {7, 15};
constexpr int32_t kMarketCount = 2;

struct HistoryEntry {
    std::time_t time = 0;
    std::time_t matchStart = 0;
    bool practice = false;
    std::string event;
    int32_t fruit = -1;  // -1: no fruit
    std::string chosen;
    std::string expected;
    bool correct = false;
    float seconds = 0.f;
    int32_t stalls = kMarketStalls[0];  // the market's, written into the mode
};

// Stall placements of one mode.
struct HistoryStalls {
    int32_t placed = 0;
    int32_t correct = 0;
    int32_t binToStall = 0;  // fruits whose place was the bin, taken to a stall
};

// The matches of one market that reached an outcome.
struct HistoryMatches {
    int32_t played = 0;
    int32_t won = 0;
    int64_t fastestWinTenths = -1;  // the fewest tenths of a second a won match took, -1 when none was won
};

// What the results screen and a class's report (app/report.hpp) show, counted
// once for both. Rotations and the stalls named for a lost balance count matches
// and practice together; stalls are kept apart by mode, matches by market.
struct HistorySummary {
    int32_t records = 0;  // lines read
    int32_t skipped = 0;  // other lines that were not empty, the header among them
    std::array<int32_t, 4> rotationsAsked{};  // by RotationKind
    std::array<int32_t, 4> rotationsNamed{};  // of those, named correctly
    int32_t balancesAsked = 0;  // which stall lost its balance
    int32_t balancesNamed = 0;
    HistoryStalls matchStalls;
    HistoryStalls practiceStalls;
    std::array<HistoryMatches, kMarketCount> matches{};  // in the order of kMarketStalls
    std::vector<int32_t> lastOutcomes;  // the last 20 matches of both markets by start, oldest first, as LossCauses
    int32_t practicesCompleted = 0;
    int32_t practiceMistakes = 0;
    std::string latestTime;         // the latest time of a line read, as written; empty when none
};

// history.csv in the game's data folder, or an empty string when there is none.
std::string historyPath();

// The local time of t in ISO 8601 with its offset, 2026-12-06T14:03:27-03:00
// (+00:00 in UTC), in the time zone the process has set (tzset). Empty if the
// time cannot be represented.
std::string isoLocalTime(std::time_t t);

// Appends the field to a CSV line, quoted only when it holds a comma, a quote or
// a line break.
void appendField(std::string& line, std::string_view field);

// The entry as one CSV line ending in a newline, each field as appendField puts it.
std::string historyLine(const HistoryEntry& entry);

// Appends the entry's line to the history, making the folder and the file (with
// its header) when needed; some microseconds, no fsync. False when it cannot (no
// home, a folder or pipe in the way, no permission, a full disk), never throwing;
// the first failure of the run is said in one line on standard error.
bool appendHistory(const HistoryEntry& entry);

// Reads the history once and sums it up, skipping every line it cannot read. A
// missing or unreadable file is an empty history.
HistorySummary summarizeHistory(const std::string& path);
// The same, saying whether the file could be read: false, with the reason in
// `why` and `summary` of what could be read, when it is missing, not readable,
// or no regular file (a folder, a pipe: the game never waits on one).
bool summarizeHistory(const std::string& path, HistorySummary& summary, std::string& why);
HistorySummary summarizeHistory(std::istream& in);
