// The command line, read the way every Debian program reads it: getopt_long,
// short and long forms, unique prefixes of the long ones. Nothing here opens a
// window, so asking for help or mistyping an option works without a display.
#include "app/options.hpp"

#include <getopt.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "app/dimensions.hpp"

namespace {

// The leading colon tells a missing argument (':') from an unknown option ('?').
const char kShortOptions[] = ":hVmf:";
constexpr int kReport = 256;  // a long option only
constexpr int kMarket = 257;
const option kLongOptions[] = {
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, 'V'},
    {"mute", no_argument, nullptr, 'm'},
    {"fruits", required_argument, nullptr, 'f'},
    {"report", no_argument, nullptr, kReport},
    {"market", required_argument, nullptr, kMarket},
    {nullptr, 0, nullptr, 0},
};

const char kUsage[] =
    "Usage: jogo [OPTION]...\n"
    "  or:  jogo --report FILE...\n"
    "A teaching game about binary search trees and AVL rotations at a fruit market.\n"
    "\n"
    "Options:\n"
    "  -m, --mute      start with the music and every sound off (M turns them on)\n"
    "  -f, --fruits LIST\n"
    "                  the lanes bring only these numbers from 0 to 99, in this\n"
    "                  order and over again, in matches and practice: a list\n"
    "                  such as 50,30,40,20,35,45,60 (repeats allowed)\n"
    "      --market N  play in the market of N stalls: 7 (three levels, the\n"
    "                  default) or 15 (four levels, where the question first\n"
    "                  asks which stall lost its balance); the menu can change it\n"
    "      --report    print one CSV table of the history files named (- for\n"
    "                  standard input), a line per file, and exit; status 1 when\n"
    "                  a file could not be read\n"
    "  -h, --help      display this help and exit\n"
    "  -V, --version   display the name and version and exit\n"
    "\n"
    "Keys:\n"
    "  arrow keys      walk\n"
    "  Enter, Space    insert the fruit when its button (Inserir, Insert) is offered\n"
    "  1, 2, 3, 4      name a rotation: the four buttons from top to bottom\n"
    "                  (top row or keypad)\n"
    "  Up, Down        in the big market, when the tree lost its balance: move\n"
    "                  the highlight along the new fruit's path; Enter or Space\n"
    "                  answers with its stall (or click the stall)\n"
    "  Enter           play on the menu, go back from the instructions,\n"
    "                  play again on an end card\n"
    "  Tab             on the menu: the other market, 7 or 15 stalls (or a click\n"
    "                  on its half of the choice below the buttons)\n"
    "  P, R            on the menu: practise without the clock; show the results\n"
    "  Left, Right     on the instructions: the first page, the second, the big\n"
    "                  market's (so do Page Up and Page Down)\n"
    "  H               in practice: show or hide the balance factors\n"
    "  Backspace       leave a match or a practice for the menu (so does the\n"
    "                  Menu button in the market's corner)\n"
    "  F11             full screen, and back to the window\n"
    "  M               mute the music and sounds, and bring them back\n"
    "  Esc             quit, on any screen\n"
    "\n"
    "The texts are in English when LANGUAGE, LC_ALL, LC_MESSAGES or LANG asks for\n"
    "it (en), and in Brazilian Portuguese otherwise.\n";

const char kFruitsExample[] = " (numbers from 0 to 99 separated by commas, as in 50,30,40)\n";

// Reads a list such as 50,30,40 into `fruits`: numbers below kFruitCount, one
// between every two commas. Returns what is wrong with it, or an empty string.
std::string readFruits(const std::string& list, std::vector<int32_t>& fruits) {
    if (list.empty()) {
        return "the list is empty";
    }
    for (size_t start = 0, comma; start <= list.size(); start = comma + 1) {
        comma = std::min(list.find(',', start), list.size());
        const std::string number = list.substr(start, comma - start);
        if (number.empty()) {
            return "a number is missing beside a comma";
        }
        if (number.find_first_not_of("0123456789") != std::string::npos) {
            return "'" + number + "' is not a whole number";
        }
        int32_t value = 0;
        for (const char digit : number) {
            value = std::min(value * 10 + (digit - '0'), kFruitCount);  // no overflow, however long
        }
        if (value == kFruitCount) {
            return "'" + number + "' is out of range";
        }
        fruits.push_back(value);
    }
    return std::string();
}

}  // namespace

Options parseOptions(int argc, char* argv[], std::ostream& out, std::ostream& err) {
    Options options;
    // Our own one-line complaint instead of getopt's, and a fresh start for
    // every call.
    opterr = 0;
    optind = 0;
    for (int found; (found = getopt_long(argc, argv, kShortOptions, kLongOptions, nullptr)) != -1;) {
        switch (found) {
        case 'h':
            out << kUsage;
            options.exitStatus = 0;
            return options;
        case 'V':
            out << "Jogo " JOGO_VERSION "\n";
            options.exitStatus = 0;
            return options;
        case 'm':
            options.muted = true;
            break;
        case kMarket: {
            const std::string stalls = optarg;
            if (stalls != "7" && stalls != "15") {
                err << "jogo: --market '" << optarg << "': the markets have 7 or 15 stalls\n";
                options.exitStatus = 2;
                return options;
            }
            options.marketStalls = std::stoi(stalls);
            break;
        }
        case 'f': {
            options.fruits.clear();
            const std::string wrong = readFruits(optarg, options.fruits);
            if (!wrong.empty()) {
                err << "jogo: --fruits '" << optarg << "': " << wrong << kFruitsExample;
                options.exitStatus = 2;
                return options;
            }
            break;
        }
        case kReport:
            options.report = true;
            break;
        case ':':
            if (optopt == kMarket) {
                err << "jogo: option '" << argv[optind - 1] << "' needs the market's stalls: 7 or 15\n";
            } else {
                err << "jogo: option '" << argv[optind - 1] << "' needs a list" << kFruitsExample;
            }
            options.exitStatus = 2;
            return options;
        default: {
            // An unknown letter is named by itself; anything else (an unknown long
            // option, or one given a value) as it was written.
            const bool letter = optopt != 0 && std::strchr(kShortOptions, optopt) == nullptr;
            const std::string name = letter ? std::string("-") + static_cast<char>(optopt) : argv[optind - 1];
            err << "jogo: unrecognized option '" << name << "' (jogo --help lists the options)\n";
            options.exitStatus = 2;
            return options;
        }
        }
    }
    if (options.report) {
        options.reportFiles.assign(argv + optind, argv + argc);
        if (options.reportFiles.empty()) {
            err << "jogo: --report needs at least one history file (- reads standard input)\n";
            options.exitStatus = 2;
        }
    } else if (optind < argc) {
        err << "jogo: unexpected argument '" << argv[optind] << "' (jogo --help lists the options)\n";
        options.exitStatus = 2;
    }
    return options;
}
