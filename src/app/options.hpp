// The command line: `jogo [--mute]`, or `--help` / `--version` to ask and leave.
#pragma once

#include <ostream>

struct Options {
    bool muted = false;
    // The status to leave with before any window opens; -1 to play.
    int exitStatus = -1;
};

// Reads the arguments with getopt_long. Help and version go to `out`; a wrong
// argument is named in one line on `err` and gives status 2.
Options parseOptions(int argc, char* argv[], std::ostream& out, std::ostream& err);
