// Where every sprite stands, what it shows and at what scale once the pictures
// are loaded. Checked twice: on stand-in pictures of chosen sizes in a folder of
// the test's own (so the layout is tested apart from the art), and on the game's
// own pictures in Imagens/. Also: a game started where there are no pictures at
// all still opens its window and runs its loop.
#include <gtest/gtest.h>

#include <SFML/Graphics.hpp>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "app/game.hpp"
#include "support/fake_input.hpp"
#include "support/running_game.hpp"
#include "support/scratch_assets.hpp"

namespace {

namespace fs = std::filesystem;

const sf::Vector2f kStallPositionsAtLoad[kStallCount] = {
    {493, 130}, {366, 270}, {626, 270}, {297, 442}, {431, 442}, {563, 442}, {695, 442},
};
const sf::IntRect kEmptyRect(0, 0, 0, 0);

// The whole of a sprite's texture as its rectangle.
sf::IntRect wholeOf(const sf::Texture& texture) {
    return sf::IntRect(0, 0, static_cast<int>(texture.getSize().x),
                       static_cast<int>(texture.getSize().y));
}

void expectWhole(const sf::Sprite& sprite, const sf::Texture& texture, sf::Vector2f position,
                 const char* name) {
    SCOPED_TRACE(name);
    EXPECT_EQ(sprite.getTexture(), &texture);
    EXPECT_EQ(sprite.getTextureRect(), wholeOf(texture));
    EXPECT_EQ(sprite.getPosition(), position);
    EXPECT_EQ(sprite.getScale(), sf::Vector2f(1, 1));
}

// A button not yet handled by its update shows the empty rectangle it was built with.
void expectUnframedButton(const sf::Sprite& sprite, const sf::Texture& texture,
                          sf::Vector2f position, const char* name) {
    SCOPED_TRACE(name);
    EXPECT_EQ(sprite.getTexture(), &texture);
    EXPECT_EQ(sprite.getTextureRect(), kEmptyRect);
    EXPECT_EQ(sprite.getPosition(), position);
    EXPECT_EQ(sprite.getScale(), sf::Vector2f(1, 1));
}

// Every sprite of the layout table, as loading leaves it.
void expectLayoutAfterLoad(const Game& game) {
    expectWhole(game.menuSprite, game.menuTexture, {0, 0}, "menu");
    expectUnframedButton(game.playButtonSprite, game.playButtonTexture, {20, 90}, "play");
    expectUnframedButton(game.instructionsButtonSprite, game.instructionsButtonTexture,
                         {20, 170}, "instructions button");
    expectUnframedButton(game.quitButtonSprite, game.quitButtonTexture, {20, 250}, "quit");
    expectWhole(game.instructionsSprite, game.instructionsTexture, {0, 0}, "instructions");
    expectUnframedButton(game.backButtonSprite, game.backButtonTexture, {150, 515}, "back");
    expectWhole(game.sceneBackgroundSprite, game.sceneBackgroundTexture, {0, 0}, "scene");

    {
        SCOPED_TRACE("character");
        EXPECT_EQ(game.characterSprite.getTexture(), &game.characterTexture);
        EXPECT_EQ(game.characterSprite.getTextureRect(), wholeOf(game.characterTexture));
        EXPECT_EQ(game.characterSprite.getPosition(), sf::Vector2f(105, 400));
        EXPECT_EQ(game.characterSprite.getScale(), sf::Vector2f(1.1f, 1.1f));
    }

    for (int32_t fruit = 0; fruit < kFruitCount; ++fruit) {
        SCOPED_TRACE("fruit " + std::to_string(fruit));
        const sf::IntRect cell(64 * (fruit % 10), 64 * (fruit / 10), 64, 64);
        for (const sf::Sprite* sprite : {&game.laneFruitSprites[fruit],
                                         &game.treeFruitSprites[fruit],
                                         &game.carriedFruitSprites[fruit]}) {
            EXPECT_EQ(sprite->getTexture(), &game.fruitsTexture);
            EXPECT_EQ(sprite->getTextureRect(), cell);
        }
        EXPECT_EQ(game.laneFruitSprites[fruit].getPosition(), sf::Vector2f(-30, 0));
        EXPECT_EQ(game.treeFruitSprites[fruit].getPosition(), sf::Vector2f(-30, 0));
        EXPECT_EQ(game.carriedFruitSprites[fruit].getPosition(), sf::Vector2f(367, 11));
        EXPECT_EQ(game.laneFruitSprites[fruit].getScale(), sf::Vector2f(0.6f, 0.6f));
        EXPECT_EQ(game.treeFruitSprites[fruit].getScale(), sf::Vector2f(0.6f, 0.6f));
        EXPECT_EQ(game.carriedFruitSprites[fruit].getScale(), sf::Vector2f(1, 1));
    }

    expectWhole(game.binAreaSprite, game.binAreaTexture, {385, 125}, "bin area");
    for (int32_t stall = 0; stall < kStallCount; ++stall) {
        SCOPED_TRACE("stall " + std::to_string(stall));
        const sf::Vector2f place = kStallPositionsAtLoad[stall];
        expectWhole(game.stallSprites[stall], game.stallTextures[stall], place, "stall");
        expectWhole(game.stallAreaSprites[stall], game.stallAreaTexture,
                    {place.x + 15, place.y}, "stall area");
    }

    // Placed by the play frame, not at load.
    expectUnframedButton(game.insertButtonSprite, game.insertButtonTexture, {0, 0}, "insert");

    expectWhole(game.rotationWarningSprite, game.rotationWarningTexture, {0, 0}, "warning");
    expectUnframedButton(game.rotateRightButtonSprite, game.rotateRightButtonTexture, {34, 258},
                         "single right");
    expectUnframedButton(game.doubleRotateRightButtonSprite, game.doubleRotateRightButtonTexture,
                         {34, 338}, "double right");
    expectUnframedButton(game.rotateLeftButtonSprite, game.rotateLeftButtonTexture, {34, 418},
                         "single left");
    expectUnframedButton(game.doubleRotateLeftButtonSprite, game.doubleRotateLeftButtonTexture,
                         {34, 498}, "double left");

    expectWhole(game.lostPositionSprite, game.lostPositionTexture, {0, 0}, "lost position");
    expectWhole(game.lostRotationSprite, game.lostRotationTexture, {0, 0}, "lost rotation");
    expectWhole(game.lostKeySprite, game.lostKeyTexture, {0, 0}, "lost key");
    expectWhole(game.lostTimeSprite, game.lostTimeTexture, {0, 0}, "lost time");
    expectWhole(game.wonSprite, game.wonTexture, {0, 0}, "won");

    {
        SCOPED_TRACE("play again");
        // The one button framed at load: its rest frame.
        EXPECT_EQ(game.playAgainButtonSprite.getTexture(), &game.playAgainButtonTexture);
        EXPECT_EQ(game.playAgainButtonSprite.getTextureRect(), sf::IntRect(0, 0, 201, 71));
        EXPECT_EQ(game.playAgainButtonSprite.getPosition(), sf::Vector2f(299, 319));
    }

    for (int32_t n = 0; n < kTimerPictureCount; ++n) {
        SCOPED_TRACE("timer " + std::to_string(n));
        EXPECT_EQ(game.timerSprites[n].getTexture(), &game.timerTexture);
        EXPECT_EQ(game.timerSprites[n].getTextureRect(),
                  sf::IntRect(79 * (n % 10), 64 * (n / 10), 79, 64));
        EXPECT_EQ(game.timerSprites[n].getPosition(), sf::Vector2f(466, 15));
        EXPECT_EQ(game.timerSprites[n].getScale(), sf::Vector2f(1, 1));
    }
}

// The cells the sheets are known by, spelled out.
void expectSheetCorners(const Game& game) {
    const std::pair<int32_t, sf::Vector2i> fruitCells[] = {
        {0, {0, 0}}, {9, {576, 0}}, {10, {0, 64}}, {99, {576, 576}}};
    for (const auto& [fruit, corner] : fruitCells) {
        const sf::IntRect cell(corner.x, corner.y, 64, 64);
        EXPECT_EQ(game.laneFruitSprites[fruit].getTextureRect(), cell) << "fruit " << fruit;
        EXPECT_EQ(game.treeFruitSprites[fruit].getTextureRect(), cell) << "fruit " << fruit;
        EXPECT_EQ(game.carriedFruitSprites[fruit].getTextureRect(), cell) << "fruit " << fruit;
    }
    const std::pair<int32_t, sf::Vector2i> timerCells[] = {
        {0, {0, 0}}, {89, {711, 512}}, {90, {0, 576}}};
    for (const auto& [n, corner] : timerCells) {
        EXPECT_EQ(game.timerSprites[n].getTextureRect(), sf::IntRect(corner.x, corner.y, 79, 64))
            << "timer " << n;
    }
}

// Stand-ins of the sizes the layout relies on; the other pictures get sizes of
// their own, so a sprite tied to the wrong texture shows a wrong rectangle.
void writeStandInPictures(ScratchAssetDir& folder) {
    const char* const fullScreen[] = {"TelaMenu.png",      "Instrucoes.png",    "TelaJogo.png",
                                      "AvisoRotacao.png",  "PerdeuPosicao.png", "PerdeuRotacao.png",
                                      "PerdeuChave.png",   "PerdeuTempo.png",   "Ganhou.png"};
    unsigned shrink = 0;
    for (const char* name : fullScreen) {
        folder.writePicture(name, 800 - shrink, 600 - shrink);
        ++shrink;
    }
    const char* const buttons[] = {"BotaoJogar.png",
                                   "BotaoInstrucoes.png",
                                   "BotaoSair.png",
                                   "BotaoVoltar.png",
                                   "BotaoRotacaoDireita.png",
                                   "BotaoRotacaoDuplaDireita.png",
                                   "BotaoRotacaoEsquerda.png",
                                   "BotaoRotacaoDuplaEsquerda.png",
                                   "BotaoJogarNovamente.png"};
    for (const char* name : buttons) {
        folder.writePicture(name, 201, 213);
    }
    folder.writePicture("BotaoInserirFruta.png", 102, 117);
    folder.writePicture("Personagem.png", 172, 232);
    folder.writePicture("Frutas.png", 640, 640);
    folder.writePicture("Tempo.png", 790, 640);
    folder.writePicture("LixeiraInvisivel.png", 61, 47);
    folder.writePicture("BarracaInvisivel.png", 83, 29);
    for (int32_t stall = 0; stall < kStallCount; ++stall) {
        folder.writePicture("Barraca" + std::to_string(stall) + ".png", 110 + stall, 90 + stall);
    }
}

class SceneLayout : public ::testing::Test {
protected:
    std::unique_ptr<Game> game = std::make_unique<Game>();
};

}  // namespace

TEST_F(SceneLayout, StandInPicturesAreCutAndPlacedAsTheLayoutSays) {
    ScratchAssetDir folder;
    writeStandInPictures(folder);
    openGameWindow(*game, true);

    // Every picture was found: the checks below are about loaded textures.
    ASSERT_EQ(game->fruitsTexture.getSize(), sf::Vector2u(640, 640));
    ASSERT_EQ(game->timerTexture.getSize(), sf::Vector2u(790, 640));
    ASSERT_EQ(game->stallTextures[6].getSize(), sf::Vector2u(116, 96));
    ASSERT_EQ(game->wonTexture.getSize(), sf::Vector2u(792, 592));
    expectLayoutAfterLoad(*game);
    expectSheetCorners(*game);
}

TEST_F(SceneLayout, GamePicturesAreCutAndPlacedAsTheLayoutSays) {
    // The game's own pictures, from Imagens/ at the project root (the working
    // directory of every test): the sheets must hold the cells the layout cuts.
    ASSERT_TRUE(fs::exists("Imagens/Frutas.png")) << "the game's pictures are missing from "
                                                  << fs::current_path() / "Imagens";
    openGameWindow(*game, true);
    const sf::Vector2u fruits = game->fruitsTexture.getSize();
    const sf::Vector2u timer = game->timerTexture.getSize();
    EXPECT_GE(fruits.x, 640u);
    EXPECT_GE(fruits.y, 640u);
    EXPECT_GE(timer.x, 790u);
    EXPECT_GE(timer.y, 640u);
    expectLayoutAfterLoad(*game);
    expectSheetCorners(*game);
}

TEST_F(SceneLayout, MissingPicturesLeaveEverySpriteSetUpOnEmptyTextures) {
    ScratchAssetDir folder(ScratchAssetDir::Empty);  // no Imagens/, no Sons/
    openGameWindow(*game, true);
    EXPECT_EQ(game->menuTexture.getSize(), sf::Vector2u(0, 0));
    EXPECT_EQ(game->fruitsTexture.getSize(), sf::Vector2u(0, 0));
    // Positions, cells and scales do not depend on the pictures.
    for (int32_t fruit : {0, 9, 10, 99}) {
        EXPECT_EQ(game->laneFruitSprites[fruit].getTextureRect(),
                  sf::IntRect(64 * (fruit % 10), 64 * (fruit / 10), 64, 64));
        EXPECT_EQ(game->laneFruitSprites[fruit].getScale(), sf::Vector2f(0.6f, 0.6f));
        EXPECT_EQ(game->carriedFruitSprites[fruit].getPosition(), sf::Vector2f(367, 11));
    }
    EXPECT_EQ(game->timerSprites[90].getTextureRect(), sf::IntRect(0, 576, 79, 64));
    EXPECT_EQ(game->stallAreaSprites[3].getPosition(), sf::Vector2f(312, 442));
    EXPECT_EQ(game->characterSprite.getPosition(), sf::Vector2f(105, 400));
    EXPECT_EQ(game->playAgainButtonSprite.getTextureRect(), sf::IntRect(0, 0, 201, 71));
}

TEST_F(SceneLayout, GameStartedWithoutPicturesOrSoundsOpensItsWindowAndRunsItsMenu) {
    ScratchAssetDir folder(ScratchAssetDir::Empty);  // no Imagens/, no Sons/
    RunningGame running(*game);
    bool sawWindow = false;

    running.runWhile([&] {
        sf::Vector2i corner;
        if (findGameWindowCorner(corner)) {
            sawWindow = true;
            tapEscapeInGameWindow();
        }
    });

    EXPECT_TRUE(sawWindow);
    EXPECT_FALSE(running.fallbackUsed());
    EXPECT_FALSE(game->window.isOpen());
    EXPECT_EQ(game->menuTexture.getSize(), sf::Vector2u(0, 0));
    EXPECT_EQ(game->pickFruitBuffer.getSampleCount(), 0u);
    // Menu frames ran: each one frames the menu's buttons from the rest frame on.
    EXPECT_EQ(game->playButtonSprite.getTextureRect().width, 201);
    EXPECT_EQ(game->quitButtonSprite.getTextureRect().height, 71);
}
