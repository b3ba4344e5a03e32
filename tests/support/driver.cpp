#include "support/driver.hpp"
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
// Xlib names that clash with the game's own.
#undef None
#undef Status
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include "assets/layout.hpp"

namespace {

KeySym keySymFor(sf::Keyboard::Key key) {
    if (key >= sf::Keyboard::Num0 && key <= sf::Keyboard::Num9) return XK_0 + (key - sf::Keyboard::Num0);
    const std::pair<sf::Keyboard::Key, KeySym> known[] = {
        {sf::Keyboard::Left, XK_Left},     {sf::Keyboard::Right, XK_Right}, {sf::Keyboard::Up, XK_Up},
        {sf::Keyboard::Down, XK_Down},     {sf::Keyboard::Escape, XK_Escape}, {sf::Keyboard::Space, XK_space},
        {sf::Keyboard::Enter, XK_Return}, {sf::Keyboard::F11, XK_F11},   {sf::Keyboard::M, XK_m},
        {sf::Keyboard::P, XK_p},          {sf::Keyboard::H, XK_h},       {sf::Keyboard::R, XK_r},
        {sf::Keyboard::BackSpace, XK_BackSpace}, {sf::Keyboard::Tab, XK_Tab}, {sf::Keyboard::PageUp, XK_Page_Up},
        {sf::Keyboard::PageDown, XK_Page_Down}};
    for (const auto& [sfml, sym] : known) if (sfml == key) return sym;
    throw std::invalid_argument("key not known to the test keyboard");
}

// Two drawings of the same texel differ by a few steps per channel at most.
bool near(sf::Color a, sf::Color b) { return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b) <= 12; }

}  // namespace

Seat::Seat() : display(XOpenDisplay(nullptr)) {
    if (display == nullptr) throw std::runtime_error("no X display: run the tests on a virtual display");
}

Seat::~Seat() {
    for (int key = 0; key < sf::Keyboard::KeyCount; ++key) if (held[key]) release(static_cast<sf::Keyboard::Key>(key));
    if (leftHeld) leftButton(false);
    XCloseDisplay(display);
}

void Seat::key(sf::Keyboard::Key key, bool down) {
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, keySymFor(key)), down, CurrentTime);
    held[key] = down;
    sync();
}

void Seat::tap(sf::Keyboard::Key key) {
    this->key(key, true);
    this->key(key, false);
}

void Seat::point(sf::Vector2i at) {
    XTestFakeMotionEvent(display, -1, at.x, at.y, CurrentTime);
    sync();
}

void Seat::leftButton(bool down) {
    XTestFakeButtonEvent(display, 1, down, CurrentTime);
    leftHeld = down;
    sync();
}

void Seat::sync() { XSync(display, False); }

::testing::AssertionResult shows(const sf::Image& shot, const sf::Sprite& sprite, const sf::Transform& screen) {
    if (sprite.getTexture() == nullptr || sprite.getTexture()->getSize().x == 0) {
        return ::testing::AssertionFailure() << "the sprite has no picture";
    }
    const sf::Image picture = sprite.getTexture()->copyToImage();
    const sf::IntRect cell = sprite.getTextureRect();
    const sf::Transform place = screen * sprite.getTransform();
    // Texels whose eight neighbours share their colour look the same however the sprite is scaled. Every one is
    // compared, so that two pictures alike but for a detail (two counts, two arrows) are told apart.
    auto flat = [&](int u, int v) {
        for (int n = 0; n < 9; ++n) {
            const sf::Color c = picture.getPixel(u + n % 3 - 1, v + n / 3 - 1);
            if (c.a != 255 || !near(c, picture.getPixel(u, v))) return false;
        }
        return true;
    };
    int compared = 0;
    for (int v = cell.top + 1; v < cell.top + cell.height - 1; ++v) {
        for (int u = cell.left + 1; u < cell.left + cell.width - 1; ++u) {
            if (!flat(u, v)) continue;
            const sf::Vector2f at = place.transformPoint(u - cell.left + 0.5f, v - cell.top + 0.5f);
            if (at.x < 0 || at.y < 0 || at.x >= shot.getSize().x || at.y >= shot.getSize().y) continue;
            const sf::Color got = shot.getPixel(static_cast<unsigned>(at.x), static_cast<unsigned>(at.y));
            const sf::Color want = picture.getPixel(u, v);
            if (!near(got, want)) {
                return ::testing::AssertionFailure() << "at (" << at.x << ", " << at.y << ") the screen shows "
                                                     << got.toInteger() << ", the picture " << want.toInteger();
            }
            ++compared;
        }
    }
    if (compared >= 4) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "only " << compared << " pixels of the sprite to compare";
}

sf::Sprite titleOf(sf::Sprite card) {
    card.setTextureRect(sf::IntRect(0, 0, 800, static_cast<int>(kCardAnswerTop)));
    return card;
}

sf::Sprite centredOn(const sf::Texture& texture, sf::IntRect cell, sf::Vector2f centre, float scale) {
    sf::Sprite sprite(texture, cell);
    sprite.setScale(scale, scale);
    sprite.setPosition(centre.x - cell.width * scale / 2, centre.y - cell.height * scale / 2);
    return sprite;
}

void Driver::open(bool loadAssets) {
    game.frameLimit = 0;
    game.openWindow();
    if (loadAssets) {
        game.loadTextures();
        game.loadSounds();
    }
    game.frameDelay = sf::Time::Zero;
    // Each turn of a match is a sixtieth of a second, as at the game's frame limit, whatever the machine's speed.
    game.fixedStepSeconds = 1.f / 60;
    drain();
}

void Driver::drain() {
    for (sf::Event ignored; game.window.pollEvent(ignored);) continue;
}

void Driver::turn(int count) {
    for (int i = 0; i < count; ++i) {
        // The branch the loop takes, as it will see it.
        const bool restart = game.restartRequested;
        const bool play = !restart && game.screen == GameScreen::Match;
        newHistoryLines();  // what the test itself wrote is no frame's
        game.loopTurn();
        if (play && game.window.isOpen()) {
            // What the game makes of the step (the match's own invariants are the match tests'): no music once the
            // match has ended, and every line the frame writes carries the frame's match time, to the tenth.
            const bool ended = game.match.won || (game.match.loss != LossCause::None && !game.match.practice);
            EXPECT_FALSE(ended && game.sounds.music.getStatus() == sf::SoundSource::Playing) << "music after the end";
            std::istringstream lines(newHistoryLines());
            for (std::string line; std::getline(lines, line);) {
                if (line.rfind("time,", 0) == 0) continue;  // the header of a history just begun
                const double seconds = std::atof(line.substr(line.rfind(',') + 1).c_str());
                EXPECT_NEAR(seconds, game.match.seconds, 0.051) << line;
            }
        }
    }
}

void Driver::pointAt(sf::Vector2i pixel) {
    // Read back through the window's own connection: once the pointer is seen
    // there, the motion it caused is queued too, and drained.
    for (int attempt = 0; attempt < 200 && sf::Mouse::getPosition(game.window) != pixel; ++attempt) {
        sf::Mouse::setPosition(pixel, game.window);
        sf::sleep(sf::milliseconds(attempt == 0 ? 0 : 5));
    }
    drain();
}

void Driver::clickAt(sf::Vector2i point) {
    const sf::Vector2f at = screen.transformPoint(sf::Vector2f(point));
    pointAt(sf::Vector2i(static_cast<int>(at.x), static_cast<int>(at.y)));
    // A tap: the press and its release both queued before the turn, as a touchpad sends them.
    seat.leftButton(true);
    seat.leftButton(false);
    sf::Mouse::getPosition(game.window);  // read back through the window's own connection
    turn();
}

void Driver::click(const sf::Sprite& sprite) {
    const sf::FloatRect box = sprite.getGlobalBounds();
    if (box.width < 2 || box.height < 2) return ADD_FAILURE() << "clicked a sprite that covers nothing";
    clickAt(sf::Vector2i(static_cast<int>(box.left + box.width / 2), static_cast<int>(box.top + box.height / 2)));
}

void Driver::press(sf::Keyboard::Key key, int turns) {
    // Keyboard focus follows the pointer on a display without a window manager.
    seat.point(game.window.getPosition() + sf::Vector2i(700, 560));
    seat.tap(key);
    // Read back through the window's own connection, so the key is queued before the turn.
    sf::Mouse::getPosition(game.window);
    turn(turns);
}

void Driver::startMatch() {
    turn();  // the menu's first frame gives every button its size
    click(game.pictures.playButtonSprite);
    ASSERT_EQ(game.screen, GameScreen::Match) << "the play button did not start a match";
    turn();
}

bool Driver::carry(int32_t fruit) {
    MatchState& m = game.match;
    if (m.carried != kNoFruit) return false;
    m.character = {m.market->character.left, m.market->character.top};
    const Box body = characterBox(m);
    int32_t lane = 0;
    while (lane < m.market->laneCount && m.lanes[lane].taken) ++lane;
    if (lane == m.market->laneCount) return false;
    const float fall = m.market->fallPixelsPerSecond * game.fixedStepSeconds;
    for (int32_t other = 0; other < m.market->laneCount; ++other) {
        Lane& it = m.lanes[other];
        // The numbers falling together stay different: a lane already bringing this number gets one no lane brings.
        for (int32_t spare = 0; other != lane && it.fruit == fruit; ++spare) {
            const auto brings = [&](const Lane& l) { return l.fruit == spare; };
            if (std::none_of(m.lanes.begin(), m.lanes.end(), brings)) it.fruit = spare;
        }
        // Only the asked-for fruit may land on the character in the next frame.
        const Box next{it.position.x, it.position.y + fall, m.market->fruitSize, m.market->fruitSize};
        if (other != lane && next.touches(body)) it.position.y = -2 * m.market->fruitSize;
    }
    m.lanes[lane].fruit = fruit;
    m.lanes[lane].position = {body.left + body.width / 4, body.top + body.height / 4 - fall};
    turn();
    return m.carried == fruit;
}

Point Driver::spotAgainst(int32_t slot) {
    const MatchState& m = game.match;
    const Box body = characterBox(m);
    const Box stall = m.market->stalls[slot];
    // From below first: every stall can be reached from the market's floor.
    const int lowest = std::min(static_cast<int>(stall.top + stall.height), 600 - static_cast<int>(body.height));
    for (int y = lowest; y > stall.top - body.height; --y) {
        for (int x = std::max(0, static_cast<int>(stall.left - body.width));
             x < stall.left + stall.width && x + body.width <= 800; ++x) {
            const Box at = body.at({static_cast<float>(x), static_cast<float>(y)});
            bool fits = !at.touches(m.market->bin);
            for (int32_t s = 0; fits && s < m.stallCount(); ++s) {
                fits = at.touches(m.market->stalls[s]) == (s == slot) && !at.touches(m.market->stallAreas[s]);
            }
            for (const Lane& lane : m.lanes) {
                const Box fruit{lane.position.x, lane.position.y, m.market->fruitSize, m.market->fruitSize};
                fits = fits && (lane.fruit < 0 || lane.taken || !at.touches(fruit));
            }
            if (fits) return Point{at.left, at.top};
        }
    }
    ADD_FAILURE() << "no place touches stall " << slot << " alone";
    return m.character;
}

bool Driver::deliverTo(int32_t slot) {
    game.match.character = spotAgainst(slot);
    turn();
    EXPECT_EQ(game.match.offeredSlot, slot) << "stall " << slot << " offered no insert button";
    if (game.match.offeredSlot != slot) return false;
    click(game.pictures.insertButtonSprite);
    return game.match.carried == kNoFruit;
}

const sf::Sprite& Driver::rotationButton(int32_t kind) const {
    // Stated here on its own, not asked of the game, so a mix-up there shows.
    const Pictures& p = game.pictures;
    const sf::Sprite* buttons[] = {&p.rotateRightButtonSprite, &p.doubleRotateRightButtonSprite,
                                   &p.rotateLeftButtonSprite, &p.doubleRotateLeftButtonSprite};
    static_assert(RotationKind::SingleRight == 0 && RotationKind::DoubleLeft == 3, "kinds index the buttons");
    return *buttons[kind];
}

void Driver::answer(int32_t kind) { click(rotationButton(kind)); }

sf::Image Driver::capture() {
    // The frame just presented is still in the virtual display's back buffer.
    sf::Texture copy;
    copy.create(game.window.getSize().x, game.window.getSize().y);
    copy.update(game.window);
    return copy.copyToImage();
}

std::string Driver::newHistoryLines() {
    std::ifstream file(historyPath(), std::ios::binary);
    file.seekg(historySeen);
    std::string added(std::istreambuf_iterator<char>(file), {});
    historySeen += static_cast<std::streamoff>(added.size());
    return added;
}

