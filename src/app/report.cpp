// One line per student, in the columns below. `practices` counts the practices
// completed, the figure the student's own results screen shows beside the
// practice mistakes (which count every practice, finished or not); a match is
// counted once it ended in any way, left for the menu and dead ends among them.
// `matches`, `won` and `fastest_win` are the small market's, as they were before
// there was another; the big market's, and the stalls named for a lost balance,
// come last, so that a teacher's sheet that reads the columns in order keeps
// reading them.
#include "app/report.hpp"

#include <string_view>

#include "app/history.hpp"

namespace {

constexpr char kColumns[] =
    "student,matches,won,fastest_win,practices,practice_mistakes,stalls,stalls_correct,"
    "single_right,single_right_correct,double_right,double_right_correct,"
    "single_left,single_left_correct,double_left,double_left_correct,last_played,"
    "big_matches,big_won,big_fastest_win,where,where_correct\n";

// The file's name without its folder and without .csv.
std::string_view studentOf(std::string_view file) {
    file.remove_prefix(file.rfind('/') + 1);  // npos + 1 is 0
    constexpr std::string_view kExtension = ".csv";
    const bool csv = file.size() > kExtension.size() && file.substr(file.size() - kExtension.size()) == kExtension;
    return csv ? file.substr(0, file.size() - kExtension.size()) : file;
}

std::string reportLine(std::string_view student, const HistorySummary& summary) {
    std::string line;
    appendField(line, student);
    const auto add = [&line](int32_t count) { line += ',' + std::to_string(count); };
    const auto addMatches = [&](const HistoryMatches& matches) {
        add(matches.played);
        add(matches.won);
        line += ',';
        if (matches.fastestWinTenths >= 0) {
            line += std::to_string(matches.fastestWinTenths / 10) + '.' + std::to_string(matches.fastestWinTenths % 10);
        }
    };
    addMatches(summary.matches[0]);
    add(summary.practicesCompleted);
    add(summary.practiceMistakes);
    add(summary.matchStalls.placed + summary.practiceStalls.placed);
    add(summary.matchStalls.correct + summary.practiceStalls.correct);
    // RotationKind's order is the columns' order.
    for (size_t kind = 0; kind < summary.rotationsAsked.size(); ++kind) {
        add(summary.rotationsAsked[kind]);
        add(summary.rotationsNamed[kind]);
    }
    line += ',';
    appendField(line, summary.latestTime);
    addMatches(summary.matches[1]);
    add(summary.balancesAsked);
    add(summary.balancesNamed);
    line += '\n';
    return line;
}

}  // namespace

int writeReport(const std::vector<std::string>& files, std::istream& in, std::ostream& out, std::ostream& err) {
    int status = 0;
    out << kColumns;
    for (const std::string& file : files) {
        HistorySummary summary;
        std::string why;
        if (file == "-") {
            summary = summarizeHistory(in);
        } else if (!summarizeHistory(file, summary, why)) {
            err << "jogo: " << file << ": " << why << " (left out of the report)\n";
            status = 1;
            continue;
        }
        out << reportLine(studentOf(file), summary);
    }
    if (!out.flush()) {
        err << "jogo: the report could not be written\n";
        status = 1;
    }
    return status;
}
