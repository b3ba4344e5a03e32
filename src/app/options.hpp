// The command line: `jogo [--mute] [--fruits LIST] [--market 7|15]`, `jogo --report FILE...` for a
// class's table, or `--help` / `--version` to ask and leave.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

struct Options {
    bool muted = false;
    // The numbers the lanes bring, in order and over again; empty for random ones.
    std::vector<int32_t> fruits;
    // The market's stalls: 7, or 15 for the big market.
    int32_t marketStalls = 7;
    // Write the report of these history files instead of playing.
    bool report = false;
    std::vector<std::string> reportFiles;
    // The status to leave with before any window opens; -1 to play.
    int exitStatus = -1;
};

// Reads the arguments with getopt_long. Help and version go to `out`; a wrong
// option, argument or list of fruits is named in one line on `err` and gives
// status 2.
Options parseOptions(int argc, char* argv[], std::ostream& out, std::ostream& err);
