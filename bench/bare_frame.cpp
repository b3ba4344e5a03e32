// The least a program can do to show the game's busy frame: the same pictures,
// the same sprites at the same places, drawn in the same order, with no game
// logic around them. And the floor: clear and display only.
//   bare_frame draw N | bare_frame draw15 N | bare_frame floor N      prints frame_us=...
// (draw15: the big market's busy frame, the question of where up.)
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

// The fruits fall as the game's do, so the same pixels change.
void drawFalling(sf::RenderWindow& window, sf::Sprite (&lane)[6]) {
    for (sf::Sprite& fruit : lane) {
        fruit.move(0, 3);
        if (fruit.getPosition().y >= 600) {
            fruit.setPosition(fruit.getPosition().x, 0);
        }
        window.draw(fruit);
    }
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
        drawFalling(window, lane);
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

// The big market's busy frame: fifteen stalls cut from one sheet, the where panel,
// the highlight's frame, fifteen fruits and the long timer.
struct BigScene {
    sf::Texture background, character, fruits, stalls, panel, timer, leave;
    sf::Sprite leaveButton;
    std::vector<sf::Sprite> back;  // background, stalls, character
    sf::Sprite lane[6];
    sf::Sprite panelSprite;
    sf::RectangleShape mark;
    sf::Sprite slot[15];
    sf::Sprite timerSprite;
    void load() {
        auto file = [](const std::string& name) { return "Imagens/" + name; };
        background.loadFromFile(file("TelaJogo15.png"));
        character.loadFromFile(file("Personagem.png"));
        fruits.loadFromFile(file("Frutas.png"));
        stalls.loadFromFile(file("Barracas15.png"));
        panel.loadFromFile(file("AvisoEquilibrio.png"));
        timer.loadFromFile(file("Tempo15.png"));
        leave.loadFromFile(file("BotaoMenu.png"));
        leaveButton = sf::Sprite(leave, sf::IntRect(0, 0, 102, 39));
        leaveButton.setPosition(692, 108);
        back.emplace_back(background);
        sf::Vector2f corner[15];
        for (int k = 0; k < 15; ++k) {
            const int level = k < 1 ? 0 : k < 3 ? 1 : k < 7 ? 2 : 3;
            const int index = k - ((1 << level) - 1);
            const int span = 1 << (3 - level);
            corner[k] = {274 + 66 * (index * span + (span - 1) / 2.f), 110.f + 122 * level};
            back.emplace_back(stalls, sf::IntRect(58 * k, 0, 58, 62));
            back.back().setPosition(corner[k]);
            slot[k] = sf::Sprite(fruits, cell(busy::kBigSlotFruits[k], 64, 64));
            slot[k].setScale(0.6f, 0.6f);
            slot[k].setPosition(corner[k] + sf::Vector2f(10, 13));
        }
        sf::Sprite hero(character, sf::IntRect(0, 58, 43, 58));
        hero.setScale(1.1f, 1.1f);
        hero.setPosition(105, 400);
        back.push_back(hero);
        for (int i = 0; i < 6; ++i) {
            lane[i] = sf::Sprite(fruits, cell(busy::kLaneFruits[i], 64, 64));
            lane[i].setScale(0.6f, 0.6f);
            lane[i].setPosition(busy::kLaneX[i], busy::kFirstLaneY + i * busy::kLaneSpacingY);
        }
        panelSprite.setTexture(panel);
        mark.setSize({68, 72});
        mark.setPosition(corner[busy::kHighlighted] - sf::Vector2f(5, 5));
        mark.setFillColor(sf::Color(255, 214, 90, 60));
        mark.setOutlineColor(sf::Color(250, 176, 40));
        mark.setOutlineThickness(4);
        timerSprite = sf::Sprite(timer, cell(89, 79, 64));
        timerSprite.setPosition(466, 15);
    }
    void draw(sf::RenderWindow& window) {
        window.clear(sf::Color::Black);
        for (const sf::Sprite& sprite : back) {
            window.draw(sprite);
        }
        drawFalling(window, lane);
        window.draw(panelSprite);
        window.draw(mark);
        for (const sf::Sprite& fruit : slot) {
            window.draw(fruit);
        }
        window.draw(timerSprite);
        window.draw(leaveButton);
        window.display();
    }
};

}  // namespace

int main(int argc, char** argv) {
    const bool big = argc == 3 && std::strcmp(argv[1], "draw15") == 0;
    if (argc != 3 || (std::strcmp(argv[1], "draw") != 0 && std::strcmp(argv[1], "floor") != 0 && !big)) {
        std::fprintf(stderr, "usage: bare_frame draw N | bare_frame draw15 N | bare_frame floor N\n");
        return 2;
    }
    const bool floorOnly = std::strcmp(argv[1], "floor") == 0;
    const int frames = std::atoi(argv[2]);
    sf::RenderWindow window(sf::VideoMode(800, 600, 32), "Jogo", sf::Style::None);
    window.setFramerateLimit(0);
    window.setVerticalSyncEnabled(false);
    Scene scene;
    BigScene bigScene;
    if (big) {
        bigScene.load();
    } else if (!floorOnly) {
        scene.load();
    }
    auto frame = [&] {
        if (floorOnly) {
            window.clear(sf::Color::Black);
            window.display();
        } else if (big) {
            bigScene.draw(window);
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
