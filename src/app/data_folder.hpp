// The folder the game keeps its files in, in the student's account:
// $XDG_DATA_HOME/jogo, or ~/.local/share/jogo without it, as the XDG base
// directories ask. Looked up anew on every call, so whoever runs the game (or a
// test) decides where it goes.
#pragma once

#include <string>

// The folder's path, or an empty string when neither XDG_DATA_HOME (absolute) nor
// HOME is set. The folder need not exist yet.
std::string dataFolder();
