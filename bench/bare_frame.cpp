// The least a program can do to show the game's busy frame: the same pictures,
// the same sprites at the same places, drawn in the same order, with no game
// logic around them. And the floor: clear and display only.
//   bare_frame draw N | bare_frame floor N      prints frame_us=...
#include <SFML/Graphics.hpp>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "busy_scene.hpp"

namespace {

using Clock = std::chrono::steady_clock;

sf::IntRect cell(int n, int width, int height) {
    return sf::IntRect(width * (n % 10), height * (n / 10), width, height);
}

struct Scene {
    sf::Texture background, character, fruits, bin, warning, timer;
    sf::Texture stalls[7];
    sf::Texture rotationButtons[4];
    std::vector<sf::Sprite> back;  // background, stalls, character, bin
    sf::Sprite lane[6];
    std::vector<sf::Sprite> overlay;  // warning and the four rotation buttons
    sf::Sprite slot[7];
    sf::Sprite timerSprite;

    void load() {
        auto file = [](const std::string& name) { return "Imagens/" + name; };
        background.loadFromFile(file("TelaJogo.png"));
        character.loadFromFile(file("Personagem.png"));
        fruits.loadFromFile(file("Frutas.png"));
        bin.loadFromFile(file("LixeiraInvisivel.png"));
        warning.loadFromFile(file("AvisoRotacao.png"));
        timer.loadFromFile(file("Tempo.png"));
        const char* buttons[4] = {"BotaoRotacaoDireita.png", "BotaoRotacaoDuplaDireita.png",
                                  "BotaoRotacaoEsquerda.png", "BotaoRotacaoDuplaEsquerda.png"};
        const sf::Vector2f stallAt[7] = {{493, 130}, {366, 270}, {626, 270}, {297, 442},
                                         {431, 442}, {563, 442}, {695, 442}};
        const sf::Vector2f slotAt[7] = {{516, 153}, {389, 293}, {649, 293}, {320, 465},
                                        {454, 465}, {586, 465}, {718, 465}};

        back.emplace_back(background);
        for (int k = 0; k < 7; ++k) {
            stalls[k].loadFromFile(file("Barraca" + std::to_string(k) + ".png"));
            back.emplace_back(stalls[k]);
            back.back().setPosition(stallAt[k]);
        }
        sf::Sprite hero(character, sf::IntRect(0, 58, 43, 58));
        hero.setScale(1.1f, 1.1f);
        hero.setPosition(105, 400);
        back.push_back(hero);
        back.emplace_back(bin);
        back.back().setPosition(385, 125);

        for (int i = 0; i < 6; ++i) {
            lane[i] = sf::Sprite(fruits, cell(busy::kLaneFruits[i], 64, 64));
            lane[i].setScale(0.6f, 0.6f);
            lane[i].setPosition(busy::kLaneX[i], busy::kFirstLaneY + i * busy::kLaneSpacingY);
        }
        overlay.emplace_back(warning);
        for (int b = 0; b < 4; ++b) {
            rotationButtons[b].loadFromFile(file(buttons[b]));
            overlay.emplace_back(rotationButtons[b], sf::IntRect(0, 0, 201, 71));
            overlay.back().setPosition(34, 258 + 80 * b);
        }
        for (int s = 0; s < 7; ++s) {
            slot[s] = sf::Sprite(fruits, cell(busy::kSlotFruits[s], 64, 64));
            slot[s].setScale(0.6f, 0.6f);
            slot[s].setPosition(slotAt[s]);
        }
        timerSprite = sf::Sprite(timer, cell(90, 79, 64));
        timerSprite.setPosition(466, 15);
    }

    void draw(sf::RenderWindow& window) {
        window.clear(sf::Color::Black);
        for (const sf::Sprite& sprite : back) {
            window.draw(sprite);
        }
        for (sf::Sprite& fruit : lane) {
            // The fruits fall as the game's do, so the same pixels change.
            fruit.move(0, 3);
            if (fruit.getPosition().y >= 600) {
                fruit.setPosition(fruit.getPosition().x, 0);
            }
            window.draw(fruit);
        }
        for (const sf::Sprite& sprite : overlay) {
            window.draw(sprite);
        }
        for (const sf::Sprite& fruit : slot) {
            window.draw(fruit);
        }
        window.draw(timerSprite);
        window.display();
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 || (std::strcmp(argv[1], "draw") != 0 && std::strcmp(argv[1], "floor") != 0)) {
        std::fprintf(stderr, "usage: bare_frame draw N | bare_frame floor N\n");
        return 2;
    }
    const bool floorOnly = std::strcmp(argv[1], "floor") == 0;
    const int frames = std::atoi(argv[2]);
    sf::RenderWindow window(sf::VideoMode(800, 600, 32), "Jogo", sf::Style::None);
    window.setFramerateLimit(0);
    window.setVerticalSyncEnabled(false);
    Scene scene;
    if (!floorOnly) {
        scene.load();
    }
    auto frame = [&] {
        if (floorOnly) {
            window.clear(sf::Color::Black);
            window.display();
        } else {
            scene.draw(window);
        }
    };
    for (int i = 0; i < busy::kWarmUpFrames; ++i) {
        frame();
    }
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < frames; ++i) {
        frame();
    }
    const double total = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    std::printf("frame_us=%.1f frames=%d\n", total * 1e3 / frames, frames);
    return 0;
}
