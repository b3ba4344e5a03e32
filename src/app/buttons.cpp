// Every clickable thing is a sprite over a sheet of three frames (rest, hover,
// pressed). A button reacts to the last event the window received, which stays in
// the buffer until the next one, and to the live mouse position. The event tells
// what happened (a move, a press and of which button); where the pointer is comes
// from isMouseOver alone, in the game's own coordinates.
#include "app/game.hpp"
#include "assets/layout.hpp"

#include <cmath>

namespace {

// Picks a button's frame from the buffered event, starting from the rest frame
// already in `frame`, and applies it; true on a left press over the button. The
// mouse is only looked at where the event needs it.
bool updateThreeFrameButton(Game& game, sf::Sprite& button, sf::IntRect& frame,
                            int32_t hoverTop, int32_t pressedTop) {
    const sf::Event& event = game.event;
    switch (event.type) {
    case sf::Event::MouseButtonPressed:
        if (event.mouseButton.button == sf::Mouse::Left && game.isMouseOver(button)) {
            frame.top = pressedTop;
            button.setTextureRect(frame);
            return true;
        }
        break;
    case sf::Event::MouseButtonReleased:
        if (event.mouseButton.button == sf::Mouse::Left && game.isMouseOver(button)) {
            frame.top = hoverTop;
        }
        break;
    case sf::Event::MouseMoved:
        if (game.isMouseOver(button)) {
            frame.top = hoverTop;
        }
        break;
    default:
        break;
    }
    button.setTextureRect(frame);
    return false;
}

}  // namespace

bool Game::isMouseOver(const sf::Sprite& sprite) {
    // The one place where the pointer meets the picture: a window pixel becomes a
    // point of the game's 800x600 picture, whatever the window's size.
    const sf::Vector2f pointer = window.mapPixelToCoords(sf::Mouse::getPosition(window));
    const sf::FloatRect bounds = sprite.getGlobalBounds();
    const float width = std::trunc(bounds.width);
    const float height = std::trunc(bounds.height);
    const sf::Vector2f corner = sprite.getPosition();
    const float x = pointer.x;
    const float y = pointer.y;
    // Strict on every side: the edge rows and columns are outside.
    return x > corner.x && x < corner.x + width && y > corner.y && y < corner.y + height;
}

bool Game::updateButton(sf::Sprite& button) {
    sf::IntRect frame = kButtonRestFrame;
    return updateThreeFrameButton(*this, button, frame, kButtonHoverTop, kButtonPressedTop);
}

bool Game::updateSmallButton(sf::Sprite& button) {
    sf::IntRect frame = kSmallButtonRestFrame;
    return updateThreeFrameButton(*this, button, frame, kSmallButtonHoverTop, kSmallButtonPressedTop);
}
