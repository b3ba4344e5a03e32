// Reading and writing the best time, and keeping it when a match is won. Nothing
// here may stop the game: a record that cannot be read is no record, one that
// cannot be written is not kept.
#include "app/best_time.hpp"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "app/data_folder.hpp"
#include "app/game.hpp"

namespace {

constexpr size_t kLongestRecordBytes = 8;
static_assert(kMarketStalls[0] == kStallCount, "the history's small market is the one of the record's old name");
// A record is one to three digits and a newline, and a time a match of the market
// can be won in.
int32_t parseRecord(const std::string& text, int32_t stalls) {
    if (text.size() < 2 || text.size() > 4 || text.back() != '\n') {
        return -1;
    }
    int32_t seconds = 0;
    for (size_t at = 0; at + 1 < text.size(); ++at) {
        if (text[at] < '0' || text[at] > '9') {
            return -1;
        }
        seconds = seconds * 10 + (text[at] - '0');
    }
    return seconds < static_cast<int32_t>(marketOf(stalls).matchSeconds) ? seconds : -1;
}

// The record's place holds something that is no file of ours: a pipe, a device, a
// folder. A new record never replaces it.
bool foreignFile(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode);
}

}  // namespace

std::string bestTimePath(int32_t stalls) {
    const std::string folder = dataFolder();
    // The small market's record keeps the name it had before there was another.
    const std::string market = stalls == kStallCount ? "" : "-" + std::to_string(stalls);
    return folder.empty() ? folder : folder + "/best-time" + market;
}

int32_t readBestTime(int32_t stalls) {
    const std::string path = bestTimePath(stalls);
    // Without blocking, and only a regular file: a pipe in the record's place must
    // not hang the game.
    const int fd = path.empty() ? -1 : open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    struct stat status {};
    char text[kLongestRecordBytes + 1];
    const ssize_t got = fstat(fd, &status) == 0 && S_ISREG(status.st_mode) ? read(fd, text, sizeof text) : -1;
    close(fd);
    return got > 0 ? parseRecord(std::string(text, static_cast<size_t>(got)), stalls) : -1;
}

bool writeBestTime(int32_t seconds, int32_t stalls) {
    const std::string path = bestTimePath(stalls);
    if (path.empty() || foreignFile(path)) {
        return false;
    }
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    std::string scratch = path + ".XXXXXX";
    const int fd = mkstemp(scratch.data());
    if (fd < 0) {
        return false;
    }
    const std::string text = std::to_string(seconds) + "\n";
    const bool written = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size()) &&
                         fsync(fd) == 0;
    const bool closed = close(fd) == 0;
    if (!written || !closed || std::rename(scratch.c_str(), path.c_str()) != 0) {
        unlink(scratch.c_str());
        return false;
    }
    return true;
}

void Game::keepBestTime() {
    // Each market keeps its own record: a win of the big one never beats the small one's.
    const int32_t stalls = match.stallCount();
    const int32_t stored = readBestTime(stalls);
    newRecord = (stored < 0 || match.wonSeconds < stored) && writeBestTime(match.wonSeconds, stalls);
    bestSeconds = newRecord ? match.wonSeconds : stored;
}
