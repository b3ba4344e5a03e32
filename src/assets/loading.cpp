// Every picture and sound is read once, at start-up, from Imagens/ and Sons/ in
// the working directory; in English a picture comes from Imagens/en/ when it is
// there. A file that fails to load leaves its member empty and the game runs on
// without it: sprites of an empty texture draw as plain blank shapes, a sound with
// an empty buffer is silent. Each sprite is set up right after its texture loads.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/game.hpp"
#include "assets/pictures.hpp"
#include "assets/sounds.hpp"
#include "assets/language.hpp"
#include "assets/layout.hpp"

namespace {

const sf::IntRect kWholeImage;
const char* const kInstructionsPictures[kInstructionsPages] = {"Instrucoes.png", "Instrucoes15.png"};

// The library writes a line to the terminal for every file it fails to read, so a
// picture the language lacks is looked for before it is read.
void readPicture(sf::Texture& texture, const std::string& name, int32_t language) {
    const std::string translated = std::string("Imagens/") + pictureFolder(language) + name;
    std::error_code ignored;
    texture.loadFromFile(std::filesystem::is_regular_file(translated, ignored) ? translated : "Imagens/" + name,
                         kWholeImage);
}

// A button shows its rest frame until an update picks another, so it is whole
// from the first frame it is drawn on.
void setUpButton(sf::Sprite& button, const sf::Texture& texture, sf::Vector2f position) {
    button = sf::Sprite(texture, kButtonRestFrame);
    button.setPosition(position);
}

void loadEffect(sf::SoundBuffer& buffer, sf::Sound& sound, const std::string& name) {
    buffer.loadFromFile("Sons/" + name);
    sound.setBuffer(buffer);
    sound.setVolume(100);
}

}  // namespace

void Game::loadTextures() {
    language = chooseLanguage([](const char* name) { return std::getenv(name); });
    pictures.load(language);
}

void Game::loadSounds() { sounds.load(); }

void Pictures::showMarket(int32_t stalls) {
    if (stalls == shownMarket) {
        return;
    }
    shownMarket = stalls;
    marketSelectorSprite.setTextureRect(marketSelectorFrame(stalls));
    const bool big = stalls == TreeSlot::FourLevelCount;
    readPicture(sceneBackgroundTexture, big ? "TelaJogo15.png" : "TelaJogo.png", language);
    if (!big || bigMarketLoaded) {
        return;
    }
    bigMarketLoaded = true;
    readPicture(bigStallsTexture, "Barracas15.png", language);
    for (int32_t stall = 0; stall < TreeSlot::FourLevelCount; ++stall) {
        const Box& box = bigMarket().stalls[stall];
        const auto width = static_cast<int32_t>(box.width);
        bigStallSprites[stall] =
            sf::Sprite(bigStallsTexture, sf::IntRect(stall * width, 0, width, static_cast<int32_t>(box.height)));
        bigStallSprites[stall].setPosition(box.left, box.top);
    }
    readPicture(whereQuestionTexture, "AvisoEquilibrio.png", language);
    whereQuestionSprite.setTexture(whereQuestionTexture, true);
    readPicture(longTimerTexture, "Tempo15.png", language);
    longTimerSprite.setTexture(longTimerTexture);
    longTimerSprite.setPosition(kTimerPosition);
}

const sf::Sprite* Pictures::endCard(bool won, bool practice, int32_t loss, int32_t stalls) {
    const bool big = stalls == TreeSlot::FourLevelCount;
    std::string name;
    sf::Sprite* card = nullptr;
    if (won) {
        name = practice ? (big ? "PraticaCompleta15.png" : "PraticaCompleta.png") : "Ganhou.png";
        card = practice ? &practiceCompleteSprite : &wonSprite;
    } else if (loss == LossCause::WrongSlot) {
        name = "PerdeuPosicao.png";
        card = &lostPositionSprite;
    } else if (loss == LossCause::WrongRotation) {
        name = "PerdeuRotacao.png";
        card = &lostRotationSprite;
    } else if (loss == LossCause::RepeatedKey) {
        name = "PerdeuChave.png";
        card = &lostKeySprite;
    } else if (loss == LossCause::TimeOut) {
        name = "PerdeuTempo.png";
        card = &lostTimeSprite;
    } else if (loss == LossCause::Stuck) {
        name = "PerdeuSemSaida.png";
        card = &lostStuckSprite;
    } else if (loss == LossCause::WrongWhere) {
        name = "PerdeuEquilibrio.png";
        card = &lostWhereSprite;
    }
    if (card != nullptr && name != cardShown) {
        // A card that cannot be read shows nothing rather than the one before it.
        cardTexture = sf::Texture();
        readPicture(cardTexture, name, language);
        cardShown = name;
    }
    if (card != nullptr) {
        card->setTexture(cardTexture, true);
    }
    return card;
}

void Pictures::showInstructionsPage(int32_t page) {
    if (page == shownInstructionsPage) {
        return;
    }
    shownInstructionsPage = page;
    readPicture(instructionsTexture, kInstructionsPictures[page], language);
    pageButtonSprite.setTexture(pageButtonTextures[page]);
}

void Pictures::load(int32_t language) {
    this->language = language;
    const auto loadPicture = [language](sf::Texture& texture, const std::string& name) {
        readPicture(texture, name, language);
    };
    loadPicture(menuTexture, "TelaMenu.png");
    menuSprite.setTexture(menuTexture);
    menuSprite.setPosition(0, 0);
    loadPicture(playButtonTexture, "BotaoJogar.png");
    setUpButton(playButtonSprite, playButtonTexture, kMenuButtonPositions[0]);
    loadPicture(practiceButtonTexture, "BotaoPraticar.png");
    setUpButton(practiceButtonSprite, practiceButtonTexture, kMenuButtonPositions[1]);
    loadPicture(instructionsButtonTexture, "BotaoInstrucoes.png");
    setUpButton(instructionsButtonSprite, instructionsButtonTexture, kMenuButtonPositions[2]);
    loadPicture(resultsButtonTexture, "BotaoResultados.png");
    setUpButton(resultsButtonSprite, resultsButtonTexture, kMenuButtonPositions[3]);
    loadPicture(quitButtonTexture, "BotaoSair.png");
    setUpButton(quitButtonSprite, quitButtonTexture, kMenuButtonPositions[4]);

    loadPicture(instructionsTexture, kInstructionsPictures[shownInstructionsPage]);
    instructionsSprite.setTexture(instructionsTexture);
    instructionsSprite.setPosition(0, 0);
    loadPicture(backButtonTexture, "BotaoVoltar.png");
    setUpButton(backButtonSprite, backButtonTexture, kBackButtonPosition);
    loadPicture(pageButtonTextures[0], "BotaoPagina2.png");
    loadPicture(pageButtonTextures[1], "BotaoPagina1.png");
    pageButtonSprite = sf::Sprite(pageButtonTextures[shownInstructionsPage], kSmallButtonRestFrame);
    pageButtonSprite.setPosition(kPageButtonPosition);
    loadPicture(marketSelectorTexture, "SeletorFeira.png");
    marketSelectorSprite = sf::Sprite(marketSelectorTexture, marketSelectorFrame(shownMarket));
    marketSelectorSprite.setPosition(kMarketSelectorPosition);

    loadPicture(sceneBackgroundTexture, "TelaJogo.png");
    sceneBackgroundSprite.setTexture(sceneBackgroundTexture);
    sceneBackgroundSprite.setPosition(0, 0);
    loadPicture(characterTexture, "Personagem.png");
    characterSprite.setTexture(characterTexture);
    characterSprite.setScale(kCharacterScale, kCharacterScale);

    // One sheet serves the three ways a fruit is shown: falling, in a slot, in hand.
    loadPicture(fruitsTexture, "Frutas.png");
    for (int32_t fruit = 0; fruit < kFruitCount; ++fruit) {
        const sf::IntRect fruitFrame = sheetCell(fruit, kFruitCellSize, kFruitCellSize);
        laneFruitSprites[fruit] = sf::Sprite(fruitsTexture, fruitFrame);
        treeFruitSprites[fruit] = sf::Sprite(fruitsTexture, fruitFrame);
        carriedFruitSprites[fruit] = sf::Sprite(fruitsTexture, fruitFrame);
        carriedFruitSprites[fruit].setPosition(kCarriedFruitPosition);
        laneFruitSprites[fruit].setScale(kSmallFruitScale, kSmallFruitScale);
        treeFruitSprites[fruit].setScale(kSmallFruitScale, kSmallFruitScale);
    }

    // The stalls stand where the market has them.
    for (int32_t stall = 0; stall < kStallCount; ++stall) {
        loadPicture(stallTextures[stall], "Barraca" + std::to_string(stall) + ".png");
        stallSprites[stall].setTexture(stallTextures[stall]);
        stallSprites[stall].setPosition(stallCorner(stall));
    }

    // The insert button is placed beside a stall by the play frame.
    loadPicture(insertButtonTexture, "BotaoInserirFruta.png");
    insertButtonSprite = sf::Sprite(insertButtonTexture, kSmallButtonRestFrame);
    loadPicture(leaveButtonTexture, "BotaoMenu.png");
    leaveButtonSprite = sf::Sprite(leaveButtonTexture, kSmallButtonRestFrame);
    leaveButtonSprite.setPosition(kLeaveButtonPosition);

    loadPicture(rotationWarningTexture, "AvisoRotacao.png");
    rotationWarningSprite.setTexture(rotationWarningTexture);
    rotationWarningSprite.setPosition(0, 0);
    loadPicture(rotateRightButtonTexture, "BotaoRotacaoDireita.png");
    setUpButton(rotateRightButtonSprite, rotateRightButtonTexture,
                kRotationButtonPositions[RotationKind::SingleRight]);
    loadPicture(doubleRotateRightButtonTexture, "BotaoRotacaoDuplaDireita.png");
    setUpButton(doubleRotateRightButtonSprite, doubleRotateRightButtonTexture,
                kRotationButtonPositions[RotationKind::DoubleRight]);
    loadPicture(rotateLeftButtonTexture, "BotaoRotacaoEsquerda.png");
    setUpButton(rotateLeftButtonSprite, rotateLeftButtonTexture,
                kRotationButtonPositions[RotationKind::SingleLeft]);
    loadPicture(doubleRotateLeftButtonTexture, "BotaoRotacaoDuplaEsquerda.png");
    setUpButton(doubleRotateLeftButtonSprite, doubleRotateLeftButtonTexture,
                kRotationButtonPositions[RotationKind::DoubleLeft]);

    // The cards read their pictures when they first show; the wrong where's is the
    // board alone, where the others cover the window.
    lostWhereSprite.setPosition(kLostWherePosition);
    // The answers on the end cards pick their cells when they are drawn.
    loadPicture(captionsTexture, "Legendas.png");
    captionSprite.setTexture(captionsTexture);
    answerFruitSprite.setTexture(fruitsTexture);

    loadPicture(playAgainButtonTexture, "BotaoJogarNovamente.png");
    setUpButton(playAgainButtonSprite, playAgainButtonTexture, kPlayAgainButtonPosition);

    loadPicture(timerTexture, "Tempo.png");
    for (int32_t seconds = 0; seconds < kTimerPictureCount; ++seconds) {
        timerSprites[seconds] =
            sf::Sprite(timerTexture, sheetCell(seconds, kTimerCellWidth, kTimerCellHeight));
        timerSprites[seconds].setPosition(kTimerPosition);
    }
    answerTimerSprite.setTexture(timerTexture);

    // Practice.
    loadPicture(practiceHeadingsTexture, "PraticaTitulos.png");
    practiceHeadingSprite = sf::Sprite(practiceHeadingsTexture, practiceHeadingCell(LossCause::WrongSlot));
    practiceHeadingSprite.setPosition(kPracticeHeadingPosition);
    loadPicture(tryAgainButtonTexture, "BotaoTentarDeNovo.png");
    setUpButton(tryAgainButtonSprite, tryAgainButtonTexture, kPlayAgainButtonPosition);
    loadPicture(noClockTexture, "SemRelogio.png");
    noClockSprite.setTexture(noClockTexture);
    noClockSprite.setPosition(kTimerPosition);
    loadPicture(balanceTexture, "Fatores.png");
    // Placed beside their stalls when drawn, in whichever market.
    for (sf::Sprite& badge : balanceSprites) {
        badge = sf::Sprite(balanceTexture, balanceBadgeCell(0));
    }
    loadPicture(digitsTexture, "Algarismos.png");
    digitSprite.setTexture(digitsTexture);

    // Results; the back button is the instructions' picture in another place.
    loadPicture(resultsTexture, "TelaResultados.png");
    resultsSprite.setTexture(resultsTexture);
    loadPicture(resultsEmptyTexture, "ResultadosVazio.png");
    resultsEmptySprite.setTexture(resultsEmptyTexture);
    resultsEmptySprite.setPosition(kResultsEmptyPosition);
    loadPicture(barsTexture, "Barras.png");
    barSprite.setTexture(barsTexture);
    loadPicture(marksTexture, "Marcas.png");
    markSprite.setTexture(marksTexture);
    setUpButton(resultsBackButtonSprite, backButtonTexture, kResultsBackButtonPosition);

    loadPicture(mutedSignTexture, "SemSom.png");
    mutedSignSprite.setTexture(mutedSignTexture);
    mutedSignSprite.setPosition(kMutedSignPosition);
}

void Sounds::load() {
    loadEffect(pickFruitBuffer, pickFruitSound, "PegarFruta.wav");
    loadEffect(placeInTreeBuffer, placeInTreeSound, "ColocaArvore.wav");
    loadEffect(throwInBinBuffer, throwInBinSound, "JogarLixo.wav");
    music.openFromFile("Sons/Jogo.wav");
    // Handed to the library as it is, not clamped by the game.
    music.setVolume(400);
    loadEffect(lostBuffer, lostSound, "Perdeu.wav");
    loadEffect(wonBuffer, wonSound, "Ganhou.wav");
}

sf::Sound& Sounds::effect(Sound sound) {
    switch (sound) {
    case Sound::Pick:
        return pickFruitSound;
    case Sound::Place:
        return placeInTreeSound;
    case Sound::Bin:
        return throwInBinSound;
    case Sound::Lost:
        return lostSound;
    case Sound::Won:
        break;
    }
    return wonSound;
}
