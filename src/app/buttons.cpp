// Every clickable thing is a sprite over a sheet of three frames (rest, hover,
// pressed). A click is a left press over the button among the presses the screen
// acts on, wherever the pointer went afterwards: a tap whose press and release come
// in the same turn still clicks. The frame shown follows the pointer and its button
// as the turn found them, in the game's own coordinates.
#include "app/game.hpp"
#include "assets/layout.hpp"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

bool updateThreeFrameButton(Game& game, sf::Sprite& button, sf::IntRect frame, int32_t hoverTop,
                            int32_t pressedTop) {
    if (game.isMouseOver(button)) {
        frame.top = game.pointerPressed ? pressedTop : hoverTop;
    }
    button.setTextureRect(frame);
    return std::any_of(game.turnEvents.begin(), game.turnEvents.end(), [&](const sf::Event& event) {
        return event.type == sf::Event::MouseButtonPressed && event.mouseButton.button == sf::Mouse::Left &&
               game.isOver(button, sf::Vector2i(event.mouseButton.x, event.mouseButton.y));
    });
}

}  // namespace

bool Game::isOver(const sf::Sprite& sprite, sf::Vector2i pixel) const {
    // The one place where the pointer meets the picture: a window pixel becomes a
    // point of the game's 800x600 picture, whatever the window's size.
    const sf::Vector2f pointer = window.mapPixelToCoords(pixel);
    const sf::FloatRect bounds = sprite.getGlobalBounds();
    const float width = std::trunc(bounds.width);
    const float height = std::trunc(bounds.height);
    const sf::Vector2f corner = sprite.getPosition();
    // Strict on every side: the edge rows and columns are outside.
    return pointer.x > corner.x && pointer.x < corner.x + width && pointer.y > corner.y &&
           pointer.y < corner.y + height;
}

bool Game::isMouseOver(const sf::Sprite& sprite) const { return isOver(sprite, pointer); }

void Game::readPointer() {
    // Each question is a round trip to the display: asked once a turn, not once a button.
    pointer = sf::Mouse::getPosition(window);
    pointerPressed = sf::Mouse::isButtonPressed(sf::Mouse::Left);
}

bool Game::updateButton(sf::Sprite& button) {
    return updateThreeFrameButton(*this, button, kButtonRestFrame, kButtonHoverTop, kButtonPressedTop);
}

bool Game::updateSmallButton(sf::Sprite& button) {
    return updateThreeFrameButton(*this, button, kSmallButtonRestFrame, kSmallButtonHoverTop,
                                  kSmallButtonPressedTop);
}

std::optional<sf::Vector2f> Game::pressOn(const sf::Sprite& sprite) const {
    std::optional<sf::Vector2f> place;
    for (const sf::Event& event : turnEvents) {
        if (event.type != sf::Event::MouseButtonPressed || event.mouseButton.button != sf::Mouse::Left) {
            continue;
        }
        const sf::Vector2i pixel(event.mouseButton.x, event.mouseButton.y);
        if (isOver(sprite, pixel)) {
            place = sprite.getInverseTransform().transformPoint(window.mapPixelToCoords(pixel));
        }
    }
    return place;
}

bool Game::keyWasPressed(sf::Keyboard::Key key) const {
    return std::any_of(turnEvents.begin(), turnEvents.end(), [key](const sf::Event& event) {
        return event.type == sf::Event::KeyPressed && event.key.code == key;
    });
}
