// Full screen on a projector or a large screen: the game keeps drawing its own
// 800x600 picture, and the window's view scales it up whole. Everything that
// reads the pointer goes through the same view (Game::isMouseOver), so a button
// answers exactly where it is drawn, at any scale.
#include <algorithm>
#include <cmath>

#include "app/game.hpp"
#include "assets/layout.hpp"

sf::View letterboxView(sf::Vector2u windowSize) {
    const float width = static_cast<float>(windowSize.x);
    const float height = static_cast<float>(windowSize.y);
    const float scale = std::min(width / kPictureWidth, height / kPictureHeight);
    // Whole pixels: the bars then share what is left, at most a pixel apart.
    const float shownWidth = std::round(kPictureWidth * scale);
    const float shownHeight = std::round(kPictureHeight * scale);
    const float left = std::floor((width - shownWidth) / 2);
    const float top = std::floor((height - shownHeight) / 2);
    sf::View view(sf::FloatRect(0, 0, kPictureWidth, kPictureHeight));
    view.setViewport(sf::FloatRect(left / width, top / height, shownWidth / width, shownHeight / height));
    return view;
}

void Game::toggleFullScreen() {
    // The textures live on in the library's shared context, and nothing of the
    // match belongs to the window, so only the window itself is made again.
    fullScreen = !fullScreen;
    openWindow();
    // The time the switch took is no step: the character and the stall fruits
    // go on from where they were instead of jumping ahead.
    stepClock.restart();
}

void Game::present() {
    if (muted) {
        window.draw(pictures.mutedSignSprite);
    }
    window.display();
}
