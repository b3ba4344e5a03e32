// The history file: its lines read back by a CSV reader of the test's own, two games appending at once, damaged
// and unwritable files left as they were, and the summary of a known history.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>
#include "app/game.hpp"
#include "app/history.hpp"
#include "support/csv.hpp"
#include "support/data_home.hpp"

// While set, hard links are refused, as a FAT-formatted USB stick or some network shares refuse them. This link()
// stands in for the C library's in the whole test program, the game's history among it.
bool refuseLinks = false;
extern "C" int link(const char* from, const char* to) noexcept {
    if (refuseLinks) {
        errno = EPERM;
        return -1;
    }
    return linkat(AT_FDCWD, from, AT_FDCWD, to, 0);
}

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

const std::string kHeaderLine = "time,match,mode,event,fruit,chosen,expected,correct,seconds\n";
constexpr std::time_t kStart = 1796565807;  // 2026-12-06 a little after noon, UTC

HistoryEntry entry(const char* event, int32_t fruit, const std::string& chosen, const std::string& expected,
                   bool correct, float seconds, bool practice = false, std::time_t start = kStart, int32_t stalls = 7) {
    return {start + static_cast<std::time_t>(seconds), start, practice, event, fruit, chosen, expected, correct,
            seconds, stalls};
}

// A game in a process of its own, its status play's; its standard error goes to the file `errors` when named.
pid_t startGame(const std::function<int()>& play, const std::string& errors = "") {
    const pid_t game = fork();
    if (game == 0) {
        if (!errors.empty()) dup2(open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), STDERR_FILENO);
        _exit(play());
    }
    return game;
}

// Waits for the game: true when it ended with status 0 (an exception it threw would have aborted it).
bool endedWell(pid_t game) {
    int status = 1;
    return waitpid(game, &status, 0) == game && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

class History : public DataHome {
protected:
    void SetUp() override {
        DataHome::SetUp();
        file = scratch / "jogo" / "history.csv";
    }
    fs::path file;
};

TEST_F(History, LinesReadBackInLocalTimeWithOneDecimalAndQuotesWhereNeeded) {
    bool comma = false;
    for (const char* name : {"pt_BR.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8"}) {
        comma = comma || std::setlocale(LC_ALL, name) != nullptr;
    }
    if (!comma) std::printf("note: no locale with a decimal comma here, the decimal point is seen in C only\n");
    // A time zone by its POSIX name with the offset it must show, in seconds and written; seconds and how they read;
    // the market's stalls, a practice or not, and the mode written for them.
    const std::tuple<const char*, long, std::string, float, std::string, int32_t, bool, std::string> rows[] = {
        {"<-03>3", -3 * 3600, "-03:00", 12.34f, "12.3", 7, false, "match"},
        {"<+0530>-5:30", 5 * 3600 + 1800, "+05:30", 3.96f, "4.0", 15, true, "practice15"},
        {"UTC0", 0, "+00:00", 0.f, "0.0", 15, false, "match15"}};
    for (const auto& [tz, shift, offset, seconds, written, stalls, practice, mode] : rows) {
        setenv("TZ", tz, 1);
        tzset();
        EXPECT_TRUE(appendHistory(entry("repeat", 9, "say \"hi\", twice", "", false, seconds, practice, kStart,
                                        stalls)));
    }
    std::setlocale(LC_ALL, "C");
    const std::string text = contents(file);
    const Records records = readCsv(text);
    ASSERT_EQ(records.size(), std::size(rows) + 1);
    // Quotes only around the one field that needs them.
    EXPECT_EQ(std::count(text.begin(), text.end(), '"'), 6 * std::size(rows));
    for (size_t at = 0; at < std::size(rows); ++at) {
        const auto& [tz, shift, offset, seconds, written, stalls, practice, mode] = rows[at];
        std::vector<std::string> expected;
        for (const std::time_t t : {kStart + static_cast<std::time_t>(seconds) + shift, kStart + shift}) {
            std::tm civil{};
            gmtime_r(&t, &civil);
            char iso[40];
            std::strftime(iso, sizeof iso, "%Y-%m-%dT%H:%M:%S", &civil);
            expected.push_back(iso + offset);
        }
        expected.insert(expected.end(), {mode, "repeat", "9", "say \"hi\", twice", "", "0", written});
        EXPECT_EQ(records[at + 1], expected) << tz;
    }
}

class Creation : public History, public ::testing::WithParamInterface<bool> {
    void TearDown() override { refuseLinks = false, History::TearDown(); }
};

TEST_P(Creation, TwoGamesAppendingAtOnceLeaveOneHeaderAndEveryLineWhole) {
    refuseLinks = GetParam();
    constexpr int32_t kLines = 2000;
    int gate[2];
    ASSERT_EQ(pipe(gate), 0);
    std::vector<pid_t> games;
    for (const bool practice : {false, true}) {
        games.push_back(startGame([&] {
            close(gate[1]);
            char ignored;
            int32_t written = read(gate[0], &ignored, 1);  // both start when the gate closes
            for (int32_t fruit = 0; fruit < kLines; ++fruit) {
                written += appendHistory(entry("stall", fruit, "root", "root", true, fruit / 10.f, practice));
            }
            return written != kLines;
        }));
    }
    close(gate[0]);
    close(gate[1]);
    for (const pid_t game : games) EXPECT_TRUE(endedWell(game));
    // One header, and every line whole: all nine fields, each game's fruits each once.
    const Records records = readCsv(contents(file));
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records[0], readCsv(kHeaderLine)[0]);
    std::vector<std::string> lines, expected;
    for (size_t at = 1; at < records.size(); ++at) {
        lines.push_back(records[at].size() == 9 ? records[at][2] + " " + records[at][4] : "broken");
    }
    for (const char* mode : {"match", "practice"}) {
        for (int32_t fruit = 0; fruit < kLines; ++fruit) expected.push_back(mode + " "s + std::to_string(fruit));
    }
    std::sort(lines.begin(), lines.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(summarizeHistory(file.string()).records, 2 * kLines);
}

INSTANTIATE_TEST_SUITE_P(History, Creation, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "WithoutHardLinks" : "WithHardLinks"; });

TEST_F(History, DamagedHistoryKeepsEveryOldByteAndIsReadAroundItsBrokenLines) {
    const std::string good = historyLine(entry("stall", 5, "LL", "LL", true, 4.f));
    const std::tuple<const char*, std::string, int32_t> damages[] = {  // what, the file, how many lines readable
        {"garbage", "\x01\xfe\xff\0 \"an open quote\n"s + good + "\0\x7f,,,,,,,,\nnot,nine" + "\r\n\"\"", 1},
        {"last line cut short", kHeaderLine + good + good + good.substr(0, 30), 2},
        {"second header", kHeaderLine + good + kHeaderLine + good, 2},
        {"no header", good + good + good, 3},
        {"empty", "", 0},
    };
    const HistoryEntry added[] = {entry("stall", 9, "L", "bin", false, 7.5f, true),
                                  entry("rotation", 9, "single-left", "single-left", true, 8.f, true)};
    for (const auto& [damage, before, readable] : damages) {
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << before;
        for (const HistoryEntry& line : added) EXPECT_TRUE(appendHistory(line)) << damage;
        const bool cut = !before.empty() && before.back() != '\n';
        // An empty file gets the header.
        const std::string start = before.empty() ? kHeaderLine : cut ? before + "\n" : before;
        EXPECT_EQ(contents(file), start + historyLine(added[0]) + historyLine(added[1])) << damage;
        const HistorySummary summary = summarizeHistory(file.string());
        EXPECT_EQ(summary.records, readable + 2) << damage;
        EXPECT_EQ(summary.matchStalls.placed, readable) << damage;
        EXPECT_EQ(summary.practiceStalls.binToStall, 1) << damage;
        EXPECT_EQ(summary.rotationsAsked[RotationKind::SingleLeft], 1) << damage;
    }
}

// Every file and folder below root with its contents, or its kind.
std::map<std::string, std::string> snapshot(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& item : fs::recursive_directory_iterator(root)) {
        files[item.path()] = item.is_regular_file() ? contents(item.path()) : item.is_directory() ? "folder" : "other";
    }
    return files;
}

TEST_F(History, UnwritableHistoryFailsQuietlyLeavingEverythingAsItWas) {
    const fs::path folder = file.parent_path();
    struct Blocked {
        const char* name;
        std::function<void()> make;  // in a folder that the data home will keep, written in by no one
        bool asStudent;              // root, whom no permission stops, plays as nobody
        bool homeless;               // neither XDG_DATA_HOME nor HOME
    };
    const Blocked cases[] = {
        {"read-only file", [&] { std::ofstream(file) << "time\nold line\n"; }, true, false},
        {"folder that cannot be made", [&] { fs::remove(folder); }, true, false},
        {"folder in the file's place", [&] { fs::create_directories(file / "kept"); }, false, false},
        {"pipe in the file's place", [&] { mkfifo(file.c_str(), 0600); }, false, false},
        {"no home", [] {}, false, true},
    };
    const std::string errors = ::testing::TempDir() + "history-errors";  // outside the data home, which must not change
    for (const Blocked& blocked : cases) {
        fs::permissions(scratch, fs::perms::owner_all);
        fs::remove_all(folder);
        fs::create_directory(folder);
        blocked.make();
        if (fs::is_regular_file(file)) fs::permissions(file, fs::perms::owner_read | fs::perms::others_read);
        fs::permissions(scratch, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_exec);
        const auto before = snapshot(scratch);
        const pid_t game = startGame([&] {
            const bool student = !blocked.asStudent || geteuid() != 0 || (setgid(65534) == 0 && setuid(65534) == 0);
            const bool homeless = !blocked.homeless || (unsetenv("XDG_DATA_HOME") == 0 && unsetenv("HOME") == 0);
            int32_t written = 0;
            for (int32_t event = 0; event < 50; ++event) written += appendHistory(entry("won", -1, "", "", true, 9.f));
            return student && homeless ? written : 100;
        }, errors);
        EXPECT_TRUE(endedWell(game)) << blocked.name;
        const std::string said = contents(errors);
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << blocked.name << ": " << said;
        EXPECT_EQ(snapshot(scratch), before) << blocked.name;
    }
    fs::permissions(scratch, fs::perms::owner_all);
    fs::remove(errors);
}

// Everything a summary holds, to be compared at once.
auto everything(const HistorySummary& s) {
    const auto stalls = [](const HistoryStalls& t) { return std::tuple(t.placed, t.correct, t.binToStall); };
    const auto matches = [](const HistoryMatches& m) { return std::tuple(m.played, m.won, m.fastestWinTenths); };
    return std::tuple(s.records, s.skipped, s.rotationsAsked, s.rotationsNamed, s.balancesAsked, s.balancesNamed,
                      stalls(s.matchStalls), stalls(s.practiceStalls), matches(s.matches[0]), matches(s.matches[1]),
                      s.lastOutcomes, s.practicesCompleted, s.practiceMistakes);
}

TEST(HistorySummary, CountsEndingsByTheMatchFieldAndKeepsTheLastTwentyByStart) {
    // Match k starts k quarter-hours after kStart and ends as outcomes[k] says, a LossCause (-1: stopped before one,
    // its window closed). A line the same match wrote after its ending never replaces that ending. Every third match
    // is played in the big market, where a balance is asked before each rotation and the stalls go a level deeper.
    const int32_t outcomes[] = {0, 3, 1, 4, 7, -1, 3, 5, 4, 2, 0, -1, 1, 4, 6, 0, 3, -1, 4, 2, 5, 3, 7, -1, 6, 0};
    constexpr int32_t kMatches = std::size(outcomes);
    HistorySummary expected;
    std::vector<std::vector<HistoryEntry>> matches(kMatches);
    for (int32_t k = 0; k < kMatches; ++k) {
        const std::time_t start = kStart + k * 900;
        const int32_t kind = k % 4;
        const int32_t outcome = outcomes[k];
        const bool big = k % 3 == 1;
        const int32_t stalls = big ? 15 : 7;
        const HistoryEntry endings[] = {  // in LossCause order
            entry("won", -1, "", "", true, 30.f - k, false, start, stalls),
            entry("stall", 80, "L", "bin", false, 8.f, false, start, stalls),
            entry("rotation", 80, rotationCode((kind + 1) % 4), rotationCode(kind), false, 8.f, false, start, stalls),
            entry("repeat", 50, "", "", false, 8.f, false, start, stalls),
            entry("timeout", -1, "3", big ? "15" : "7", false, 90.f, false, start, stalls),
            entry("stuck", 49, "LR", "", false, 8.f, false, start, stalls),
            entry("left", -1, "", "", false, 8.f, false, start, stalls),
            entry("balance", 80, "L", "LL", false, 8.f, false, start, stalls),
        };
        const char* first = big ? "LRL" : "root";
        matches[k] = {entry("stall", 50, first, first, true, 2.f, false, start, stalls),
                      entry("stall", 60, "bin", "bin", true, 4.f, false, start, stalls),
                      entry("rotation", 70, rotationCode(kind), rotationCode(kind), true, 6.f, false, start, stalls)};
        if (big) matches[k].insert(matches[k].begin() + 2, entry("balance", 70, "R", "R", true, 5.f, false, start, 15));
        if (outcome >= 0) matches[k].push_back(endings[outcome]);
        if (outcome >= 0) matches[k].push_back(endings[outcome == LossCause::None ? LossCause::TimeOut : 0]);
        if (outcome >= 0) expected.lastOutcomes.push_back(outcome);
        const bool wrongSlot = outcome == LossCause::WrongSlot;
        expected.matches[big].played += outcome >= 0;
        expected.matches[big].won += outcome == LossCause::None;
        if (outcome == LossCause::None) expected.matches[big].fastestWinTenths = (30 - k) * 10;
        expected.balancesAsked += big + (outcome == LossCause::WrongWhere);
        expected.balancesNamed += big;
        expected.matchStalls = {expected.matchStalls.placed + 2 + wrongSlot, expected.matchStalls.correct + 2,
                                expected.matchStalls.binToStall + wrongSlot};
        expected.rotationsAsked[kind] += 1 + (outcome == LossCause::WrongRotation);
        expected.rotationsNamed[kind] += 1;
    }
    expected.lastOutcomes.erase(expected.lastOutcomes.begin(), expected.lastOutcomes.end() - 20);
    // Written in shuffled order, the first two interleaved line by line. Match 21 is written in another zone: its
    // written start, later than every other's, is not its order.
    std::string text = kHeaderLine;
    const auto write = [&](int32_t k, size_t line) {
        setenv("TZ", k == 21 ? "UTC0" : "<-03>3", 1);
        tzset();
        if (line < matches[k].size()) text += historyLine(matches[k][line]);
    };
    for (size_t line = 0; line < 12; ++line) write(line % 2 == 0 ? 0 : 7, line / 2);
    for (int32_t step = 2; step < kMatches; ++step) {
        for (size_t line = 0; line < 6; ++line) write(step * 7 % kMatches, line);
    }
    // Three practices, the first two completed; in each a fruit of the bin taken to a stall, a fruit placed right
    // and a wrong rotation: six stalls, three right and three of the bin; the last, in the big market, also names
    // the wrong balance: seven mistakes.
    for (int32_t practice = 0; practice < 3; ++practice) {
        const std::time_t start = kStart - 9000 + practice * 600;
        const int32_t stalls = practice == 2 ? 15 : 7;
        text += historyLine(entry("stall", 10, "R", "bin", false, 3.f, true, start, stalls));
        text += historyLine(entry("stall", 20, "LL", "LL", true, 5.f, true, start, stalls));
        if (practice == 2) text += historyLine(entry("balance", 30, "root", "R", false, 8.f, true, start, stalls));
        text += historyLine(entry("rotation", 30, "single-left", "double-left", false, 9.f, true, start, stalls));
        if (practice < 2) text += historyLine(entry("complete", -1, "", "", true, 20.f, true, start));
    }
    expected.practiceStalls = {6, 3, 3};
    expected.practicesCompleted = 2;
    expected.practiceMistakes = 7;
    expected.balancesAsked += 1;
    expected.rotationsAsked[RotationKind::DoubleLeft] += 3;
    expected.records = static_cast<int32_t>(std::count(text.begin(), text.end(), '\n')) - 1;
    // Lines that cannot be read count nowhere, though they look like the latest match, lost.
    const std::string lost = historyLine(entry("stall", 80, "L", "bin", false, 1.f, false, kStart + 99999));
    text += lost.substr(0, lost.find(",match,")) + ",tournament" + lost.substr(lost.find(",match,") + 6);
    text += lost.substr(0, lost.find(",match,")) + ",match16" + lost.substr(lost.find(",match,") + 6);
    text += lost.substr(0, lost.rfind(',')) + ",\"1,5\"\n";
    text += lost.substr(0, lost.find(",stall,")) + ",jump" + lost.substr(lost.find(",stall,") + 6);
    // A stall line is read only with a stall or the bin in both places, a balance line with a stall.
    text += lost.substr(0, lost.find(",stall,")) + ",balance" + lost.substr(lost.find(",stall,") + 6);
    text += lost.substr(0, lost.find(",L,bin,")) + ",single-left,bin," + lost.substr(lost.find(",L,bin,") + 7);
    text += lost.substr(0, lost.find(",L,bin,")) + ",L,right," + lost.substr(lost.find(",L,bin,") + 7);
    expected.skipped = 8;  // those and the header
    std::istringstream in(text);
    EXPECT_EQ(everything(summarizeHistory(in)), everything(expected));
}

}  // namespace
