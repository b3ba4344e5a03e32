#include "support/fake_input.hpp"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <cstdlib>
#include <stdexcept>

namespace {

KeySym keySymFor(sf::Keyboard::Key key) {
    switch (key) {
    case sf::Keyboard::Left: return XK_Left;
    case sf::Keyboard::Right: return XK_Right;
    case sf::Keyboard::Up: return XK_Up;
    case sf::Keyboard::Down: return XK_Down;
    case sf::Keyboard::Escape: return XK_Escape;
    case sf::Keyboard::Space: return XK_space;
    case sf::Keyboard::Enter: return XK_Return;
    default: throw std::invalid_argument("key not supported by the fake keyboard");
    }
}

Display* openDisplay() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        throw std::runtime_error("no X display: run the tests under xvfb-run");
    }
    return display;
}

}  // namespace

FakeKeyboard::FakeKeyboard() : display(openDisplay()), held{} {}

FakeKeyboard::~FakeKeyboard() {
    releaseAll();
    XCloseDisplay(display);
}

void FakeKeyboard::send(sf::Keyboard::Key key, bool down) {
    const KeyCode code = XKeysymToKeycode(display, keySymFor(key));
    XTestFakeKeyEvent(display, code, down ? True : False, CurrentTime);
    XSync(display, False);
    held[key] = down;
}

void FakeKeyboard::press(sf::Keyboard::Key key) { send(key, true); }

void FakeKeyboard::release(sf::Keyboard::Key key) { send(key, false); }

void FakeKeyboard::releaseAll() {
    for (int key = 0; key < sf::Keyboard::KeyCount; ++key) {
        if (held[key]) {
            send(static_cast<sf::Keyboard::Key>(key), false);
        }
    }
}

void FakeKeyboard::tap(sf::Keyboard::Key key) {
    send(key, true);
    send(key, false);
}

void movePointer(Game& game, int x, int y) {
    const sf::Vector2i target(x, y);
    for (int attempt = 0; attempt < 200; ++attempt) {
        sf::Mouse::setPosition(target, game.window);
        if (sf::Mouse::getPosition(game.window) == target) {
            return;
        }
        sf::sleep(sf::milliseconds(5));
    }
    throw std::runtime_error("the pointer did not reach its target");
}

void movePointerThroughXTest(int screenX, int screenY) {
    Display* display = openDisplay();
    XTestFakeMotionEvent(display, -1, screenX, screenY, CurrentTime);
    XSync(display, False);
    XCloseDisplay(display);
}

void bufferMouseButton(Game& game, sf::Event::EventType type, sf::Mouse::Button button, int x,
                       int y) {
    game.event = sf::Event();
    game.event.type = type;
    game.event.mouseButton.button = button;
    game.event.mouseButton.x = x;
    game.event.mouseButton.y = y;
}

void bufferMouseMove(Game& game, int x, int y) {
    game.event = sf::Event();
    game.event.type = sf::Event::MouseMoved;
    game.event.mouseMove.x = x;
    game.event.mouseMove.y = y;
}

void bufferKeyPress(Game& game, sf::Keyboard::Key key) {
    game.event = sf::Event();
    game.event.type = sf::Event::KeyPressed;
    game.event.key.code = key;
}

void pressOn(Game& game, const sf::Sprite& sprite) {
    const sf::Vector2f corner = sprite.getPosition();
    const sf::FloatRect bounds = sprite.getGlobalBounds();
    const int x = static_cast<int>(corner.x + bounds.width / 2);
    const int y = static_cast<int>(corner.y + bounds.height / 2);
    movePointer(game, x, y);
    bufferMouseButton(game, sf::Event::MouseButtonPressed, sf::Mouse::Left, x, y);
}

void openGameWindow(Game& game, bool loadAssets) {
    game.openWindow();
    if (loadAssets) {
        game.loadTextures();
        game.loadSounds();
    }
    flushDisplay(game);
}

void flushDisplay(Game& game) {
    // Drain whatever the window produced while opening, so tests start from a
    // known buffer; keep the buffered event as the test set it.
    const sf::Event kept = game.event;
    sf::Event ignored;
    while (game.window.pollEvent(ignored)) {
    }
    game.event = kept;
}
