// The one thing the game keeps between runs: the fewest whole seconds a match was
// won in, as a number and a newline in $XDG_DATA_HOME/jogo/best-time (without
// XDG_DATA_HOME, ~/.local/share/jogo/best-time). The folder is looked up anew on
// every call, so whoever runs the game (or a test) decides where it goes.
#pragma once

#include <cstdint>
#include <string>

// The record file's path, or an empty string when neither XDG_DATA_HOME (absolute)
// nor HOME is set.
std::string bestTimePath();

// The stored record in seconds, or -1 when there is none: a missing, unreadable,
// truncated (no closing newline) or nonsensical file counts as no record.
int32_t readBestTime();

// Stores seconds as the record: written to a temporary file in the same folder,
// then renamed over the old one, so the file is always either the old record or
// the new. Creates the folder when needed. False, leaving no temporary file, when
// any step fails.
bool writeBestTime(int32_t seconds);
