#include "assets/language.hpp"

#include <algorithm>
#include <string>

namespace {

// The language of one entry: the part before its territory, codeset or modifier
// ("pt" of "pt_BR.UTF-8@euro"), or -1 when the game lacks it.
int32_t languageOf(const std::string& entry) {
    const std::string code = entry.substr(0, entry.find_first_of("_.@"));
    if (code == "pt") return Language::Portuguese;
    if (code == "en") return Language::English;
    return -1;
}

}  // namespace

int32_t chooseLanguage(const EnvironmentLookup& lookup) {
    std::string candidates;
    if (const char* list = lookup("LANGUAGE")) candidates = list;
    // The C library resolves one locale for messages; it follows the list.
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* locale = lookup(name);
        if (locale != nullptr && *locale != '\0') {
            candidates += std::string(":") + locale;
            break;
        }
    }
    for (size_t start = 0; start <= candidates.size();) {
        const size_t end = std::min(candidates.find(':', start), candidates.size());
        const int32_t language = languageOf(candidates.substr(start, end - start));
        if (language >= 0) return language;
        start = end + 1;
    }
    return Language::Portuguese;
}

const char* pictureFolder(int32_t language) { return language == Language::English ? "en/" : ""; }
