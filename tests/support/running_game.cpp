#include "support/running_game.hpp"

#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>

#include "support/fake_input.hpp"

// Xlib last: its macros would otherwise rewrite SFML's and the game's names.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace {

constexpr auto kInputRetryPause = std::chrono::milliseconds(150);
constexpr int kInputAttempts = 100;
constexpr int kWindowWidth = 800;
constexpr int kWindowHeight = 600;

Display* openDisplay() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        throw std::runtime_error("no X display: run the tests under xvfb-run");
    }
    return display;
}

bool isViewableGameWindow(Display* display, Window window) {
    char* name = nullptr;
    bool matches = false;
    if (XFetchName(display, window, &name) != 0 && name != nullptr) {
        XWindowAttributes attributes;
        matches = std::string(name) == "Jogo" &&
                  XGetWindowAttributes(display, window, &attributes) != 0 &&
                  attributes.map_state == IsViewable;
    }
    if (name != nullptr) {
        XFree(name);
    }
    return matches;
}

}  // namespace

bool findGameWindowCorner(sf::Vector2i& corner) {
    Display* display = openDisplay();
    const Window root = DefaultRootWindow(display);
    Window rootReturn = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    bool found = false;
    if (XQueryTree(display, root, &rootReturn, &parent, &children, &count) != 0) {
        for (unsigned i = 0; i < count && !found; ++i) {
            if (isViewableGameWindow(display, children[i])) {
                Window child = 0;
                int x = 0;
                int y = 0;
                XTranslateCoordinates(display, children[i], root, 0, 0, &x, &y, &child);
                corner = sf::Vector2i(x, y);
                found = true;
            }
        }
        if (children != nullptr) {
            XFree(children);
        }
    }
    XCloseDisplay(display);
    return found;
}

void pressPointerButtonThroughXTest(bool down) {
    Display* display = openDisplay();
    XTestFakeButtonEvent(display, Button1, down ? True : False, CurrentTime);
    XSync(display, False);
    XCloseDisplay(display);
}

void tapEscapeInGameWindow() {
    sf::Vector2i corner;
    if (!findGameWindowCorner(corner)) {
        return;
    }
    movePointerThroughXTest(corner.x + kWindowWidth / 2, corner.y + kWindowHeight / 2);
    FakeKeyboard keyboard;
    keyboard.tap(sf::Keyboard::Escape);
}

void RunningGame::runWhile(const std::function<void()>& act) {
    std::atomic<bool> done{false};
    std::thread person([&] {
        for (int attempt = 0; attempt < kInputAttempts && !done; ++attempt) {
            act();
            std::this_thread::sleep_for(kInputRetryPause);
        }
        while (!done) {
            escapeFallback = true;
            tapEscapeInGameWindow();
            std::this_thread::sleep_for(kInputRetryPause);
        }
    });
    game.run();
    done = true;
    person.join();
}
