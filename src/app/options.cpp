// The command line, read the way every Debian program reads it: getopt_long,
// short and long forms, unique prefixes of the long ones. Nothing here opens a
// window, so asking for help or mistyping an option works without a display.
#include "app/options.hpp"

#include <getopt.h>

#include <cstring>
#include <string>

namespace {

const char kShortOptions[] = "hVm";
const option kLongOptions[] = {
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, 'V'},
    {"mute", no_argument, nullptr, 'm'},
    {nullptr, 0, nullptr, 0},
};

const char kUsage[] =
    "Usage: jogo [OPTION]...\n"
    "A teaching game about binary search trees and AVL rotations at a fruit market.\n"
    "\n"
    "Options:\n"
    "  -m, --mute      start with the music and every sound off (M turns them on)\n"
    "  -h, --help      display this help and exit\n"
    "  -V, --version   display the name and version and exit\n"
    "\n"
    "Keys:\n"
    "  arrow keys      walk\n"
    "  Enter, Space    insert the fruit when its button (Inserir, Insert) is offered\n"
    "  1, 2, 3, 4      name a rotation: the four buttons from top to bottom\n"
    "                  (top row or keypad)\n"
    "  Enter           play on the menu, go back from the instructions,\n"
    "                  play again on an end card\n"
    "  P, R            on the menu: practise without the clock; show the results\n"
    "  H               in practice: show or hide the balance factors\n"
    "  F11             full screen, and back to the window\n"
    "  M               mute the music and sounds, and bring them back\n"
    "  Esc             quit, on any screen\n"
    "\n"
    "The texts are in English when LANGUAGE, LC_ALL, LC_MESSAGES or LANG asks for\n"
    "it (en), and in Brazilian Portuguese otherwise.\n";

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
    if (optind < argc) {
        err << "jogo: unexpected argument '" << argv[optind] << "' (jogo --help lists the options)\n";
        options.exitStatus = 2;
    }
    return options;
}
