// The one thing the game keeps between runs besides the history: the fewest whole
// seconds a match was won in, for each market, as a number and a newline in
// $XDG_DATA_HOME/jogo/best-time for the small market of 7 stalls and best-time-15
// beside it for the big one (without XDG_DATA_HOME, in ~/.local/share/jogo/). The
// folder is looked up anew on every call, so whoever runs the game (or a test)
// decides where it goes.
#pragma once

#include <cstdint>
#include <string>

#include "app/dimensions.hpp"

// The record file's path for the market of `stalls` stalls, or an empty string when
// neither XDG_DATA_HOME (absolute) nor HOME is set.
std::string bestTimePath(int32_t stalls = kStallCount);

// The stored record of the market in seconds, or -1 when there is none: a missing,
// unreadable, truncated (no closing newline) or nonsensical file counts as no
// record, and so does a time longer than that market's clock.
int32_t readBestTime(int32_t stalls = kStallCount);

// Stores seconds as the market's record: written to a temporary file in the same
// folder, then renamed over the old one, so the file is always either the old
// record or the new. Creates the folder when needed. False, leaving no temporary
// file, when any step fails.
bool writeBestTime(int32_t seconds, int32_t stalls = kStallCount);
