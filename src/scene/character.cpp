// The character walks with the arrow keys, read as live keyboard state. Only the
// first held key in the order Left, Right, Up, Down counts; obstacles are solid
// because a step into them is undone before anything is drawn. The live state is
// the whole keyboard's, so keys count only while the game's window has the focus:
// someone typing in another window does not walk the character.
#include <algorithm>

#include "app/game.hpp"
#include "assets/layout.hpp"

namespace {

// Walkable area, tested on the position before a step moves it.
constexpr float kLeftLimit = 0;
constexpr float kRightLimit = 757;
constexpr float kTopLimit = 103;
constexpr float kBottomLimit = 542;
constexpr int32_t kLastWalkColumnPixel = 128;

const sf::Keyboard::Key kArrowKeys[] = {sf::Keyboard::Left, sf::Keyboard::Right, sf::Keyboard::Up,
                                        sf::Keyboard::Down};

// The first arrow key held in priority order, or Unknown when none is or the
// window does not have the keyboard.
sf::Keyboard::Key firstHeldArrow(const sf::Window& window) {
    if (!window.hasFocus()) {
        return sf::Keyboard::Unknown;
    }
    for (sf::Keyboard::Key key : kArrowKeys) {
        if (sf::Keyboard::isKeyPressed(key)) {
            return key;
        }
    }
    return sf::Keyboard::Unknown;
}

}  // namespace

void Game::measureFrameStep() {
    // A pause of the movement step (a question, an end screen, the menu) must not
    // turn into one giant step: no step covers more than a tenth of a second.
    frameSeconds = std::min(stepClock.restart().asSeconds(), kLongestStepSeconds);
}

void Game::moveCharacter() {
    measureFrameStep();

    const sf::Vector2f position = characterSprite.getPosition();
    const float step = kWalkPixelsPerSecond * frameSeconds;
    const sf::Keyboard::Key key = firstHeldArrow(window);
    switch (key) {
    case sf::Keyboard::Left:
        if (position.x > kLeftLimit) {
            facing = Facing::Left;
            characterSprite.move(-step, 0);
        }
        break;
    case sf::Keyboard::Right:
        if (position.x < kRightLimit) {
            facing = Facing::Right;
            characterSprite.move(step, 0);
        }
        break;
    case sf::Keyboard::Up:
        if (position.y >= kTopLimit) {
            facing = Facing::Up;
            characterSprite.move(0, -step);
        }
        break;
    case sf::Keyboard::Down:
        if (position.y < kBottomLimit) {
            facing = Facing::Down;
            characterSprite.move(0, step);
        }
        break;
    default:
        break;
    }

    // The legs keep going against a bound too; standing shows column 0.
    if (key != sf::Keyboard::Unknown) {
        ++walkFrame;
        if (walkFrame * kCharacterFrameWidth > kLastWalkColumnPixel) {
            walkFrame = 0;
        }
    } else {
        walkFrame = 0;
    }
    characterSprite.setTextureRect(sf::IntRect(walkFrame * kCharacterFrameWidth,
                                               facing * kCharacterFrameHeight,
                                               kCharacterFrameWidth, kCharacterFrameHeight));
}

bool Game::touchesCharacter(const sf::Sprite& sprite) {
    return sprite.getGlobalBounds().intersects(characterSprite.getGlobalBounds());
}

void Game::pushBack(const sf::Sprite& obstacle) {
    if (!touchesCharacter(obstacle)) {
        return;
    }
    // The step just taken, taken back.
    const float step = kWalkPixelsPerSecond * frameSeconds;
    switch (firstHeldArrow(window)) {
    case sf::Keyboard::Left:
        characterSprite.move(step, 0);
        break;
    case sf::Keyboard::Right:
        characterSprite.move(-step, 0);
        break;
    case sf::Keyboard::Up:
        characterSprite.move(0, step);
        break;
    case sf::Keyboard::Down:
        characterSprite.move(0, -step);
        break;
    default:
        break;
    }
}

void Game::standStill() {
    walkFrame = 0;
    facing = Facing::Right;
    characterSprite.setTextureRect(sf::IntRect(0, Facing::Right * kCharacterFrameHeight,
                                               kCharacterFrameWidth, kCharacterFrameHeight));
}
