// A relative XDG_DATA_HOME is to be ignored, as the base directory rules say: it
// would put the files wherever the game happened to be started.
#include "app/data_folder.hpp"

#include <cstdlib>

std::string dataFolder() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome != nullptr && dataHome[0] == '/') {
        return std::string(dataHome) + "/jogo";
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0') {
        return std::string(home) + "/.local/share/jogo";
    }
    return std::string();
}
