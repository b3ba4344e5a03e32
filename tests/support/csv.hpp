// The history as the tests read it: a CSV reader of their own, never the game's.
#pragma once

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using Records = std::vector<std::vector<std::string>>;

// RFC 4180 as the test reads it: fields split at commas outside quotes, "" inside quotes is one quote.
inline Records readCsv(const std::string& text) {
    Records records(1, std::vector<std::string>(1));
    bool quoted = false;
    for (size_t at = 0; at < text.size(); ++at) {
        const bool doubled = quoted && text[at] == '"' && at + 1 < text.size() && text[at + 1] == '"';
        if (text[at] == '"' && !doubled) {
            quoted = !quoted;
        } else if (!quoted && text[at] == ',') {
            records.back().emplace_back();
        } else if (!quoted && text[at] == '\n') {
            records.emplace_back(1);
        } else {
            records.back().back() += text[at];
            at += doubled;
        }
    }
    records.pop_back();  // what follows the last line break
    return records;
}

inline std::string contents(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
