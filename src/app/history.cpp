// Writing and reading the history. Two games on one account may write at once, and
// the file may have been cut short or edited by hand, so:
// - the file is born with its header: written to a temporary file, then linked to
//   its name, which fails if another game made it first; where the file system
//   refuses links it is made empty instead, and whoever writes first into an empty
//   file, in its turn, writes the header before its line;
// - a line goes in one write() on a descriptor opened with O_APPEND, so lines of two
//   games never mix; no fsync, which could cost a frame;
// - the games take turns (flock) to look at the last byte and write, never waiting
//   long for a turn;
// - old bytes are never touched: after a last line without its newline the next
//   line starts with one;
// - lines end in LF alone: RFC 4180 asks for CRLF, but spreadsheets and CSV
//   readers take either, and the reader here takes both;
// - the reader skips what it cannot read, line by line. A quoted field holding a
//   line break is allowed by RFC 4180 but never written here; it is read as two
//   broken lines.
#include "app/history.hpp"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <string_view>
#include <unordered_map>

#include "app/data_folder.hpp"
#include "match/outcomes.hpp"

namespace {

constexpr char kHeader[] = "time,match,mode,event,fruit,chosen,expected,correct,seconds\n";
constexpr int32_t kFields = 9;
constexpr size_t kLastOutcomes = 20;
constexpr std::string_view kBin = "bin";
// A match won ends with no loss.
constexpr int32_t kWon = LossCause::None;

std::atomic<bool> complained{false};

// Says why the history is not kept, once in the whole run: a game that fails on
// every event must not fill the terminal.
void complainOnce(const std::string& why) {
    if (!complained.exchange(true)) {
        std::fprintf(stderr, "jogo: the history is not kept: %s\n", why.c_str());
    }
}

// Makes the file with its header, unless it exists. False when it cannot be made.
bool createWithHeader(const std::string& path) {
    std::string scratch = path + ".XXXXXX";
    const int fd = mkstemp(scratch.data());
    if (fd >= 0) {
        const size_t size = sizeof kHeader - 1;
        const bool written = write(fd, kHeader, size) == static_cast<ssize_t>(size);
        const bool closed = close(fd) == 0;
        const bool linked = written && closed && (link(scratch.c_str(), path.c_str()) == 0 || errno == EEXIST);
        unlink(scratch.c_str());
        if (linked) {
            return true;
        }
    }
    // Some file systems refuse hard links (FAT on a USB stick, some network
    // shares): there the file is made empty, never over an existing one, and the
    // first line written into it brings the header (see writeLine).
    const int made = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NONBLOCK | O_CLOEXEC, 0644);
    if (made >= 0) {
        close(made);
    }
    return made >= 0 || errno == EEXIST;
}

// Opens the history for appending (and for reading its last byte), without
// blocking (a FIFO in its place would), and only when it is a regular file. -1
// with errno set otherwise.
int openForAppend(const std::string& path) {
    const int fd = open(path.c_str(), O_RDWR | O_APPEND | O_NONBLOCK | O_CLOEXEC);
    struct stat status {};
    if (fd >= 0 && (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))) {
        close(fd);
        errno = EINVAL;
        return -1;
    }
    return fd;
}

// Waits for this game's turn at the file, for a millisecond at most. The last byte
// is only worth reading while no other game is writing: a write that crosses a
// page shows its first part first, and a newline put after that part would leave
// an empty line. A game stopped while holding its turn is not waited for: the cost
// is at most that empty line.
void takeTurn(int fd) {
    const timespec pause{0, 50'000};
    for (int32_t attempt = 0; attempt < 20; ++attempt) {
        if (flock(fd, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK) {
            return;
        }
        nanosleep(&pause, nullptr);
    }
}

// What goes before a line: nothing after a whole line, a newline after a last line
// cut short, the header in an empty file.
const char* linePrefix(int fd) {
    struct stat status {};
    char last = '\n';
    if (fstat(fd, &status) == 0 && status.st_size == 0) {
        return kHeader;
    }
    return status.st_size == 0 || pread(fd, &last, 1, status.st_size - 1) != 1 || last == '\n' ? "" : "\n";
}

bool writeLine(const std::string& line) {
    const std::string path = historyPath();
    if (path.empty()) {
        complainOnce("neither XDG_DATA_HOME nor HOME is set");
        return false;
    }
    int fd = openForAppend(path);
    if (fd < 0 && errno == ENOENT) {
        std::error_code ignored;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
        fd = createWithHeader(path) ? openForAppend(path) : -1;
    }
    if (fd < 0) {
        complainOnce(path + ": " + std::strerror(errno));
        return false;
    }
    takeTurn(fd);  // given back by close
    const std::string text = linePrefix(fd) + line;
    const bool written = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    const int writeError = errno;
    close(fd);
    if (!written) {
        complainOnce(path + ": " + std::strerror(writeError));
    }
    return written;
}

// Splits one line into exactly kFields fields, removing quotes in place (the text
// only shrinks). False on another count or broken quoting.
bool splitRecord(char* at, char* end, std::string_view* fields) {
    int32_t count = 0;
    while (count < kFields) {
        char* start = at;
        if (at < end && *at == '"') {
            char* out = start;
            for (++at;; ++at) {
                if (at == end) {
                    return false;
                }
                if (*at == '"' && (at + 1 == end || at[1] != '"')) {
                    break;
                }
                at += *at == '"';
                *out++ = *at;
            }
            fields[count++] = std::string_view(start, out - start);
            ++at;
        } else {
            while (at < end && *at != ',' && *at != '"') {
                ++at;
            }
            fields[count++] = std::string_view(start, at - start);
        }
        if (at == end) {
            return count == kFields;
        }
        if (*at != ',') {
            return false;
        }
        ++at;
    }
    return false;
}

// A whole number of one to nine digits.
bool readNumber(std::string_view text, int64_t& value) {
    if (text.empty() || text.size() > 9) {
        return false;
    }
    value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + (c - '0');
    }
    return true;
}

// A time as isoLocalTime writes it: the instant in seconds since the epoch, and a
// key that tells two written times apart (the instant and its offset).
bool readTime(std::string_view text, int64_t& instant, int64_t& key) {
    static constexpr std::string_view kShape = "0000-00-00T00:00:00+00:00";
    constexpr size_t kSign = 19;
    if (text.size() != kShape.size()) {
        return false;
    }
    for (size_t at = 0; at < text.size(); ++at) {
        const bool digit = text[at] >= '0' && text[at] <= '9';
        const bool sign = text[at] == '+' || text[at] == '-';
        if (kShape[at] == '0' ? !digit : at == kSign ? !sign : text[at] != kShape[at]) {
            return false;
        }
    }
    const auto number = [&](size_t at, size_t size) {
        int64_t value = 0;
        readNumber(text.substr(at, size), value);
        return value;
    };
    const int64_t month = number(5, 2), day = number(8, 2), hour = number(11, 2), minute = number(14, 2);
    const int64_t second = number(17, 2), offsetHours = number(20, 2), offsetMinutes = number(23, 2);
    if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 60 ||
        offsetHours > 23 || offsetMinutes > 59) {
        return false;
    }
    const int64_t offset = (text[kSign] == '-' ? -1 : 1) * (offsetHours * 60 + offsetMinutes);
    // The written clock time read as if in UTC, then moved by its offset.
    std::tm civil{};
    civil.tm_year = static_cast<int>(number(0, 4) - 1900);
    civil.tm_mon = static_cast<int>(month - 1);
    civil.tm_mday = static_cast<int>(day);
    civil.tm_hour = static_cast<int>(hour);
    civil.tm_min = static_cast<int>(minute);
    civil.tm_sec = static_cast<int>(second);
    instant = static_cast<int64_t>(timegm(&civil)) - offset * 60;
    key = instant * 4096 + offset + 2048;
    return true;
}

// The index of text in codes, or -1.
template <size_t N>
int32_t indexOf(std::string_view text, const char* const (&codes)[N]) {
    for (size_t at = 0; at < N; ++at) {
        if (text == codes[at]) {
            return static_cast<int32_t>(at);
        }
    }
    return -1;
}

bool isPlace(std::string_view text) { return text == kBin || indexOf(text, kSlotCodes) >= 0; }

// Seconds with one decimal or none, as tenths.
bool readSeconds(std::string_view text, int64_t& tenths) {
    const size_t point = text.find('.');
    const bool oneDecimal = point + 2 == text.size() && text.back() >= '0' && text.back() <= '9';
    if (!readNumber(text.substr(0, point), tenths) || (point != std::string_view::npos && !oneDecimal)) {
        return false;
    }
    tenths = tenths * 10 + (point == std::string_view::npos ? 0 : text.back() - '0');
    return true;
}

enum class Event { Stall, Rotation, Repeat, TimeOut, Won, Complete, Stuck, Left, Balance };
const char* const kEvents[] = {"stall", "rotation", "repeat", "timeout", "won", "complete", "stuck", "left", "balance"};

// The modes, a match and a practice in each market in the order of kMarketStalls:
// the small market's are those every older file holds.
const char* const kModes[] = {"match", "practice", "match15", "practice15"};
static_assert(std::size(kModes) == 2 * kMarketCount);

// One line, read.
struct Record {
    std::string_view time;
    int64_t instant;
    int64_t timeKey;
    bool practice;
    int32_t market;  // its index in kMarketStalls
    Event event;
    int64_t matchStart;
    int64_t matchKey;
    std::string_view chosen;
    std::string_view expected;
    bool correct;
    int64_t tenths;
};

// The fields of a line as a record, when every one of them is as written here.
bool readRecord(const std::string_view* fields, Record& record) {
    int64_t number = 0;
    const int32_t mode = indexOf(fields[2], kModes);
    const int32_t event = indexOf(fields[3], kEvents);
    const std::string_view chosen = fields[5], expected = fields[6];
    if (!readTime(fields[0], record.instant, record.timeKey) ||
        !readTime(fields[1], record.matchStart, record.matchKey) || mode < 0 || event < 0 ||
        (!fields[4].empty() && !readNumber(fields[4], number)) || (fields[7] != "0" && fields[7] != "1") ||
        !readSeconds(fields[8], record.tenths)) {
        return false;
    }
    record.time = fields[0];
    record.practice = mode % 2 == 1;
    record.market = mode / 2;
    record.event = static_cast<Event>(event);
    record.chosen = chosen;
    record.expected = expected;
    record.correct = fields[7] == "1";
    switch (record.event) {
        case Event::Stall:
            return isPlace(chosen) && isPlace(expected);
        case Event::Rotation:
            return indexOf(chosen, kRotationCodes) >= 0 && indexOf(expected, kRotationCodes) >= 0;
        case Event::Balance:
            return indexOf(chosen, kSlotCodes) >= 0 && indexOf(expected, kSlotCodes) >= 0;
        case Event::TimeOut:
            return readNumber(chosen, number) && readNumber(expected, number);
        case Event::Stuck:
            // The stall that can no longer be filled; nothing was expected.
            return indexOf(chosen, kSlotCodes) >= 0 && expected.empty();
        default:
            return true;
    }
}

// The outcome a match event ends its match with, or -1 when it does not end it.
int32_t outcomeOf(const Record& record) {
    switch (record.event) {
        case Event::Won:
            return kWon;
        case Event::TimeOut:
            return LossCause::TimeOut;
        case Event::Repeat:
            return LossCause::RepeatedKey;
        case Event::Stall:
            return record.correct ? -1 : LossCause::WrongSlot;
        case Event::Rotation:
            return record.correct ? -1 : LossCause::WrongRotation;
        case Event::Balance:
            return record.correct ? -1 : LossCause::WrongWhere;
        case Event::Stuck:
            return LossCause::Stuck;
        case Event::Left:
            return LossCause::Left;
        default:
            return -1;
    }
}

struct Match {
    int64_t start;
    int64_t key;
    int32_t market;
    int32_t outcome;
    int64_t tenths;  // when it ended
};

void count(const Record& record, HistorySummary& summary) {
    if (record.practice && !record.correct) {
        ++summary.practiceMistakes;
    }
    if (record.event == Event::Stall) {
        HistoryStalls& stalls = record.practice ? summary.practiceStalls : summary.matchStalls;
        ++stalls.placed;
        stalls.correct += record.correct;
        stalls.binToStall += record.expected == kBin && record.chosen != kBin;
    } else if (record.event == Event::Rotation) {
        const int32_t kind = indexOf(record.expected, kRotationCodes);
        ++summary.rotationsAsked[kind];
        summary.rotationsNamed[kind] += record.correct;
    } else if (record.event == Event::Balance) {
        ++summary.balancesAsked;
        summary.balancesNamed += record.correct;
    } else if (record.event == Event::Complete && record.practice) {
        ++summary.practicesCompleted;
    }
}

// Sums up the text of a history, which it may change (quotes are removed in place).
HistorySummary summarizeText(std::string& text) {
    HistorySummary summary;
    // Matches that reached an outcome, by the match field: lines of two games may
    // interleave, and the first ending a match's lines tell stands.
    std::unordered_map<int64_t, Match> matches;
    std::string_view fields[kFields];
    Record record{};
    Record latest{};  // the line of the latest time
    char* at = text.data();
    char* const end = at + text.size();
    while (at < end) {
        char* lineEnd = static_cast<char*>(std::memchr(at, '\n', end - at));
        char* next = lineEnd == nullptr ? end : lineEnd + 1;
        lineEnd = lineEnd == nullptr ? end : lineEnd;
        lineEnd -= lineEnd > at && lineEnd[-1] == '\r';
        if (lineEnd == at) {
            at = next;
            continue;
        }
        if (!splitRecord(at, lineEnd, fields) || !readRecord(fields, record)) {
            ++summary.skipped;
            at = next;
            continue;
        }
        ++summary.records;
        count(record, summary);
        const int32_t outcome = record.practice ? -1 : outcomeOf(record);
        if (outcome >= 0) {
            const Match match{record.matchStart, record.matchKey, record.market, outcome, record.tenths};
            matches.try_emplace(match.key, match);
        }
        const bool later = record.instant != latest.instant ? record.instant > latest.instant
                                                            : record.timeKey > latest.timeKey;
        if (summary.records == 1 || later) {
            latest = record;
        }
        at = next;
    }
    std::vector<Match> ended;
    ended.reserve(matches.size());
    for (const auto& entry : matches) {
        const Match& match = entry.second;
        ended.push_back(match);
        HistoryMatches& market = summary.matches[match.market];
        ++market.played;
        market.won += match.outcome == kWon;
        if (match.outcome == kWon && (market.fastestWinTenths < 0 || match.tenths < market.fastestWinTenths)) {
            market.fastestWinTenths = match.tenths;
        }
    }
    summary.latestTime = std::string(latest.time);
    // The latest first, then read backwards.
    const size_t kept = std::min(ended.size(), kLastOutcomes);
    std::partial_sort(ended.begin(), ended.begin() + kept, ended.end(), [](const Match& a, const Match& b) {
        return a.start != b.start ? a.start > b.start : a.key > b.key;
    });
    for (size_t at = kept; at-- > 0;) {
        summary.lastOutcomes.push_back(ended[at].outcome);
    }
    return summary;
}

}  // namespace

std::string historyPath() {
    const std::string folder = dataFolder();
    return folder.empty() ? folder : folder + "/history.csv";
}

std::string isoLocalTime(std::time_t t) {
    std::tm local{};
    char text[40];
    // strftime's %z has no colon in the offset (-0300); ISO 8601's extended form does.
    const size_t size = localtime_r(&t, &local) == nullptr ? 0 : std::strftime(text, sizeof text, "%FT%T%z", &local);
    if (size < 5) {
        return std::string();
    }
    std::string iso(text, size);
    iso.insert(iso.size() - 2, 1, ':');
    return iso;
}

void appendField(std::string& line, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        line.append(field);
        return;
    }
    line.push_back('"');
    for (const char c : field) {
        line.append(c == '"' ? 2 : 1, c);
    }
    line.push_back('"');
}

std::string historyLine(const HistoryEntry& entry) {
    // Tenths counted as a whole number: the decimal point is a point in any locale.
    const float tenths = std::round(entry.seconds * 10.f);
    const int64_t wholeTenths = tenths >= 0.f && tenths < 1e12f ? static_cast<int64_t>(tenths) : 0;
    std::string line;
    line.reserve(96);
    std::string mode = entry.practice ? "practice" : "match";
    if (entry.stalls != kMarketStalls[0]) {
        mode += std::to_string(entry.stalls);
    }
    for (const std::string& field : {isoLocalTime(entry.time), isoLocalTime(entry.matchStart), mode, entry.event,
                                     entry.fruit < 0 ? std::string() : std::to_string(entry.fruit),
                                     entry.chosen, entry.expected, std::string(entry.correct ? "1" : "0"),
                                     std::to_string(wholeTenths / 10) + "." + std::to_string(wholeTenths % 10)}) {
        appendField(line, field);
        line.push_back(',');
    }
    line.back() = '\n';
    return line;
}

bool appendHistory(const HistoryEntry& entry) {
    try {
        return writeLine(historyLine(entry));
    } catch (...) {
        complainOnce("out of memory");
        return false;
    }
}

bool summarizeHistory(const std::string& path, HistorySummary& summary, std::string& why) {
    std::string text;
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat status {};
    ssize_t got = 0;
    if (fd < 0 || fstat(fd, &status) != 0) {
        why = std::strerror(errno);
    } else if (!S_ISREG(status.st_mode)) {
        why = S_ISDIR(status.st_mode) ? std::strerror(EISDIR) : "not a regular file";
    } else {
        text.resize(static_cast<size_t>(status.st_size));
        size_t done = 0;
        while (done < text.size() && (got = read(fd, text.data() + done, text.size() - done)) > 0) {
            done += static_cast<size_t>(got);
        }
        text.resize(done);
        why = got < 0 ? std::strerror(errno) : "";
    }
    if (fd >= 0) {
        close(fd);
    }
    summary = summarizeText(text);
    return why.empty();
}

HistorySummary summarizeHistory(const std::string& path) {
    HistorySummary summary;
    std::string ignored;
    summarizeHistory(path, summary, ignored);
    return summary;
}

HistorySummary summarizeHistory(std::istream& in) {
    std::string text(std::istreambuf_iterator<char>(in), {});
    return summarizeText(text);
}
