// Checks the pictures (Imagens/) and sounds (Sons/) that tools/gen_assets.py
// makes: every file the game loads is there, decodes, and has the geometry the
// game's drawing code relies on.
#include <SFML/Audio/InputSoundFile.hpp>
#include <SFML/Audio/SoundBuffer.hpp>
#include <SFML/Graphics/Image.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

#ifdef JOGO_SOURCE_DIR
const std::string kRoot = JOGO_SOURCE_DIR;
#else
const std::string kRoot = ".";
#endif

std::string imagePath(const std::string& name) { return kRoot + "/Imagens/" + name; }
std::string soundPath(const std::string& name) { return kRoot + "/Sons/" + name; }

const std::vector<std::string> kBigButtons = {
    "BotaoJogar.png",          "BotaoInstrucoes.png",          "BotaoSair.png",
    "BotaoVoltar.png",         "BotaoJogarNovamente.png",      "BotaoRotacaoDireita.png",
    "BotaoRotacaoDuplaDireita.png", "BotaoRotacaoEsquerda.png", "BotaoRotacaoDuplaEsquerda.png"};

const std::vector<std::string> kFullScreen = {
    "TelaMenu.png",      "TelaJogo.png",       "AvisoRotacao.png", "Ganhou.png",
    "PerdeuPosicao.png", "PerdeuRotacao.png",  "PerdeuChave.png",  "PerdeuTempo.png",
    "Instrucoes.png"};

const std::vector<std::string> kEffects = {"PegarFruta.wav", "ColocaArvore.wav", "JogarLixo.wav",
                                           "Perdeu.wav", "Ganhou.wav"};
const std::string kMusic = "Jogo.wav";

std::vector<std::string> allImages() {
    std::vector<std::string> names = kBigButtons;
    names.insert(names.end(), kFullScreen.begin(), kFullScreen.end());
    for (int i = 0; i < 7; ++i) names.push_back("Barraca" + std::to_string(i) + ".png");
    for (const char* n : {"BotaoInserirFruta.png", "Frutas.png", "Tempo.png", "Personagem.png",
                          "BarracaInvisivel.png", "LixeiraInvisivel.png"})
        names.push_back(n);
    return names;
}

sf::Image load(const std::string& name) {
    sf::Image image;
    EXPECT_TRUE(image.loadFromFile(imagePath(name))) << name;
    return image;
}

// Number of pixels in [x0, x0+w) x [y0, y0+h) whose alpha is above `minAlpha`.
int opaqueCount(const sf::Image& img, unsigned x0, unsigned y0, unsigned w, unsigned h,
                int minAlpha = 128) {
    int count = 0;
    for (unsigned y = y0; y < y0 + h && y < img.getSize().y; ++y)
        for (unsigned x = x0; x < x0 + w && x < img.getSize().x; ++x)
            if (img.getPixel(x, y).a > minAlpha) ++count;
    return count;
}

int maxAlpha(const sf::Image& img, unsigned x0, unsigned y0, unsigned w, unsigned h) {
    int best = 0;
    for (unsigned y = y0; y < y0 + h && y < img.getSize().y; ++y)
        for (unsigned x = x0; x < x0 + w && x < img.getSize().x; ++x)
            best = std::max<int>(best, img.getPixel(x, y).a);
    return best;
}

int minAlpha(const sf::Image& img, unsigned x0, unsigned y0, unsigned w, unsigned h) {
    int worst = 255;
    for (unsigned y = y0; y < y0 + h && y < img.getSize().y; ++y)
        for (unsigned x = x0; x < x0 + w && x < img.getSize().x; ++x)
            worst = std::min<int>(worst, img.getPixel(x, y).a);
    return worst;
}

// Count of pixels that differ between two equally sized rectangles of one image.
int differingPixels(const sf::Image& img, unsigned w, unsigned h, unsigned topA, unsigned topB) {
    int diff = 0;
    for (unsigned y = 0; y < h; ++y)
        for (unsigned x = 0; x < w; ++x)
            if (img.getPixel(x, topA + y) != img.getPixel(x, topB + y)) ++diff;
    return diff;
}

struct Pcm {
    std::vector<std::int16_t> samples;
    unsigned channels = 0;
    unsigned rate = 0;
    double seconds() const {
        return rate == 0 || channels == 0 ? 0.0
                                          : static_cast<double>(samples.size()) / channels / rate;
    }
    int peak() const {
        int p = 0;
        for (auto s : samples) p = std::max(p, std::abs(static_cast<int>(s)));
        return p;
    }
};

Pcm decode(const std::string& name) {
    Pcm pcm;
    sf::InputSoundFile file;
    if (!file.openFromFile(soundPath(name))) {
        ADD_FAILURE() << "cannot open " << name;
        return pcm;
    }
    pcm.channels = file.getChannelCount();
    pcm.rate = file.getSampleRate();
    pcm.samples.resize(static_cast<std::size_t>(file.getSampleCount()));
    const auto read = file.read(pcm.samples.data(), pcm.samples.size());
    EXPECT_EQ(read, pcm.samples.size()) << name;
    return pcm;
}

constexpr int kMaxPeak = 29204;  // -1 dBFS of 32767

}  // namespace

// ---------------------------------------------------------------------------
TEST(AssetFiles, EveryPictureLoads) {
    const auto names = allImages();
    EXPECT_EQ(names.size(), 31u);
    for (const auto& name : names) {
        sf::Image image;
        EXPECT_TRUE(image.loadFromFile(imagePath(name))) << name;
        EXPECT_GT(image.getSize().x, 0u) << name;
    }
}

TEST(AssetFiles, EverySoundDecodesWithSoundBuffer) {
    std::vector<std::string> names = kEffects;
    names.push_back(kMusic);
    EXPECT_EQ(names.size(), 6u);
    for (const auto& name : names) {
        sf::SoundBuffer buffer;
        ASSERT_TRUE(buffer.loadFromFile(soundPath(name))) << name;
        EXPECT_GT(buffer.getSampleCount(), 0u) << name;
    }
}

TEST(AssetFiles, SoundFolderStaysSmall) {
    std::uintmax_t total = 0;
    for (const auto& entry : std::filesystem::directory_iterator(kRoot + "/Sons"))
        if (entry.is_regular_file()) total += entry.file_size();
    EXPECT_GT(total, 0u);
    EXPECT_LT(total, 6u * 1024u * 1024u);
}

// ---------------------------------------------------------------------------
TEST(ImageGeometry, FullScreenPicturesAre800x600) {
    for (const auto& name : kFullScreen) {
        const auto img = load(name);
        EXPECT_EQ(img.getSize(), sf::Vector2u(800, 600)) << name;
    }
}

TEST(ImageGeometry, SheetsHaveTheirSizes) {
    EXPECT_EQ(load("Frutas.png").getSize(), sf::Vector2u(640, 640));
    const auto timer = load("Tempo.png").getSize();
    EXPECT_GE(timer.x, 790u);
    EXPECT_GE(timer.y, 640u);
    EXPECT_EQ(load("Personagem.png").getSize(), sf::Vector2u(129, 232));
    EXPECT_EQ(load("BotaoInserirFruta.png").getSize(), sf::Vector2u(102, 117));
    for (const auto& name : kBigButtons) EXPECT_EQ(load(name).getSize(), sf::Vector2u(201, 213)) << name;
}

TEST(ImageGeometry, StallsShareOneSizeAndHoldTheSolidArea) {
    const auto stall = load("Barraca0.png").getSize();
    for (int i = 1; i < 7; ++i)
        EXPECT_EQ(load("Barraca" + std::to_string(i) + ".png").getSize(), stall) << i;
    const auto solid = load("BarracaInvisivel.png").getSize();
    // The solid area starts 15 px into the stall and leaves a margin on the right and below,
    // so the character can touch the stall picture from the left, the right and below.
    EXPECT_LE(15u + solid.x + 10u, stall.x);
    EXPECT_LE(solid.y + 10u, stall.y);
    EXPECT_EQ(load("LixeiraInvisivel.png").getSize(), sf::Vector2u(70, 80));
}

TEST(ImageGeometry, StallsHaveAnOpaqueBodyAndFruitSpot) {
    for (int i = 0; i < 7; ++i) {
        const auto img = load("Barraca" + std::to_string(i) + ".png");
        // The 38x38 fruit spot at (23, 23) sits on an opaque tray.
        EXPECT_EQ(minAlpha(img, 23, 23, 38, 38), 255) << i;
        // The body (below the awning) is opaque across the width, so a character
        // touching it from any side touches something visible.
        EXPECT_GE(opaqueCount(img, 2, 24, img.getSize().x - 4, img.getSize().y - 30),
                  static_cast<int>((img.getSize().x - 4) * (img.getSize().y - 30) * 9 / 10))
            << i;
    }
}

// ---------------------------------------------------------------------------
TEST(ButtonSheets, ThreeFramesDifferFromEachOther) {
    for (const auto& name : kBigButtons) {
        const auto img = load(name);
        EXPECT_GT(differingPixels(img, 201, 71, 0, 74), 500) << name << " rest vs hover";
        EXPECT_GT(differingPixels(img, 201, 71, 0, 142), 500) << name << " rest vs pressed";
        EXPECT_GT(differingPixels(img, 201, 71, 74, 142), 500) << name << " hover vs pressed";
    }
    const auto insert = load("BotaoInserirFruta.png");
    EXPECT_GT(differingPixels(insert, 102, 39, 0, 39), 200);
    EXPECT_GT(differingPixels(insert, 102, 39, 0, 78), 200);
    EXPECT_GT(differingPixels(insert, 102, 39, 39, 78), 200);
}

TEST(ButtonSheets, FramesAreSolidButtonsWithAGapBetweenThem) {
    for (const auto& name : kBigButtons) {
        const auto img = load(name);
        for (unsigned top : {0u, 74u, 142u}) {
            // The middle of every frame is covered by the button.
            EXPECT_EQ(minAlpha(img, 20, top + 20, 161, 30), 255) << name << " frame " << top;
        }
        EXPECT_EQ(maxAlpha(img, 0, 71, 201, 3), 0) << name << " rows 71..73";
    }
    const auto insert = load("BotaoInserirFruta.png");
    for (unsigned top : {0u, 39u, 78u}) EXPECT_EQ(minAlpha(insert, 10, top + 12, 82, 14), 255);
}

// ---------------------------------------------------------------------------
TEST(FruitSheet, EveryCellHoldsAFruitOnTransparentCorners) {
    const auto img = load("Frutas.png");
    for (unsigned i = 0; i < 100; ++i) {
        const unsigned x = 64 * (i % 10), y = 64 * (i / 10);
        EXPECT_GT(opaqueCount(img, x, y, 64, 64), 64 * 64 / 4) << "fruit " << i;
        EXPECT_EQ(maxAlpha(img, x, y, 3, 3), 0) << "fruit " << i << " corner";
    }
}

TEST(FruitSheet, NeighbouringCellsAreDifferent) {
    const auto img = load("Frutas.png");
    for (unsigned i = 0; i + 1 < 100; ++i) {
        int diff = 0;
        const unsigned ax = 64 * (i % 10), ay = 64 * (i / 10);
        const unsigned bx = 64 * ((i + 1) % 10), by = 64 * ((i + 1) / 10);
        for (unsigned y = 0; y < 64; ++y)
            for (unsigned x = 0; x < 64; ++x)
                if (img.getPixel(ax + x, ay + y) != img.getPixel(bx + x, by + y)) ++diff;
        EXPECT_GT(diff, 300) << i << " vs " << i + 1;
    }
}

// ---------------------------------------------------------------------------
TEST(TimerSheet, CellsZeroToNinetyAreDrawnAndTheRestIsEmpty) {
    const auto img = load("Tempo.png");
    for (unsigned n = 0; n < 100; ++n) {
        const unsigned x = 79 * (n % 10), y = 64 * (n / 10);
        if (n <= 90)
            EXPECT_GT(opaqueCount(img, x, y, 79, 64), 79 * 64 / 2) << "second " << n;
        else
            EXPECT_EQ(maxAlpha(img, x, y, 79, 64), 0) << "cell " << n;
    }
}

TEST(TimerSheet, EverySecondLooksDifferent) {
    const auto img = load("Tempo.png");
    for (unsigned n = 0; n < 90; ++n) {
        int diff = 0;
        for (unsigned y = 0; y < 64; ++y)
            for (unsigned x = 0; x < 79; ++x)
                if (img.getPixel(79 * (n % 10) + x, 64 * (n / 10) + y) !=
                    img.getPixel(79 * ((n + 1) % 10) + x, 64 * ((n + 1) / 10) + y))
                    ++diff;
        EXPECT_GT(diff, 50) << n << " vs " << n + 1;
    }
}

// ---------------------------------------------------------------------------
TEST(CharacterSheet, TwelveFramesAndWalkingStepsDifferFromStanding) {
    const auto img = load("Personagem.png");
    for (unsigned row = 0; row < 4; ++row) {
        for (unsigned col = 0; col < 3; ++col)
            EXPECT_GT(opaqueCount(img, col * 43, row * 58, 43, 58), 400) << row << "," << col;
        for (unsigned col = 1; col < 3; ++col) {
            int diff = 0;
            for (unsigned y = 0; y < 58; ++y)
                for (unsigned x = 0; x < 43; ++x)
                    if (img.getPixel(x, row * 58 + y) != img.getPixel(col * 43 + x, row * 58 + y))
                        ++diff;
            EXPECT_GT(diff, 60) << "row " << row << " step " << col;
        }
    }
}

// ---------------------------------------------------------------------------
TEST(OverlayPictures, InvisibleAreasAreFullyTransparent) {
    for (const char* name : {"BarracaInvisivel.png", "LixeiraInvisivel.png"}) {
        const auto img = load(name);
        EXPECT_EQ(maxAlpha(img, 0, 0, img.getSize().x, img.getSize().y), 0) << name;
    }
}

TEST(OverlayPictures, SceneAndMenuAreOpaque) {
    for (const char* name : {"TelaJogo.png", "TelaMenu.png", "Instrucoes.png"}) {
        const auto img = load(name);
        EXPECT_EQ(minAlpha(img, 0, 0, 800, 600), 255) << name;
    }
}

TEST(OverlayPictures, RotationPromptCoversOnlyTheLeftPanel) {
    const auto img = load("AvisoRotacao.png");
    EXPECT_EQ(minAlpha(img, 0, 0, 265, 600), 255);
    EXPECT_LE(maxAlpha(img, 275, 0, 525, 600), 60);
}

TEST(OverlayPictures, EndPicturesDimTheSceneAndLeaveTheButtonPlace) {
    for (const char* name : {"Ganhou.png", "PerdeuPosicao.png", "PerdeuRotacao.png",
                             "PerdeuChave.png", "PerdeuTempo.png"}) {
        const auto img = load(name);
        // Translucent dimming somewhere in a corner: neither clear nor opaque.
        const int corner = img.getPixel(2, 597).a;
        EXPECT_GT(corner, 40) << name;
        EXPECT_LT(corner, 220) << name;
        // The play-again button's rectangle holds no text: it is one flat colour.
        const auto ref = img.getPixel(299, 319);
        int off = 0;
        for (unsigned y = 319; y < 390; ++y)
            for (unsigned x = 299; x < 500; ++x)
                if (img.getPixel(x, y) != ref) ++off;
        EXPECT_EQ(off, 0) << name;
    }
}

// ---------------------------------------------------------------------------
TEST(Sounds, EffectsAreShortAudibleAndNotClipped) {
    for (const auto& name : kEffects) {
        const auto pcm = decode(name);
        EXPECT_GE(pcm.seconds(), 0.1) << name;
        EXPECT_LE(pcm.seconds(), 3.0) << name;
        EXPECT_GT(pcm.peak(), 3000) << name << " is (almost) silent";
        EXPECT_LE(pcm.peak(), kMaxPeak) << name;
    }
}

TEST(Sounds, MusicLengthAndLevel) {
    const auto pcm = decode(kMusic);
    EXPECT_GE(pcm.seconds(), 30.0);
    EXPECT_LE(pcm.seconds(), 60.0);
    EXPECT_GT(pcm.peak(), 3000);
    EXPECT_LE(pcm.peak(), kMaxPeak);
    // The music plays all the way: every second has sound in it.
    const std::size_t perSecond = static_cast<std::size_t>(pcm.rate) * pcm.channels;
    for (std::size_t start = 0; start + perSecond <= pcm.samples.size(); start += perSecond) {
        int peak = 0;
        for (std::size_t i = start; i < start + perSecond; ++i)
            peak = std::max(peak, std::abs(static_cast<int>(pcm.samples[i])));
        EXPECT_GT(peak, 1000) << "second " << start / perSecond;
    }
}

TEST(Sounds, StartAndEndWithoutClicks) {
    std::vector<std::string> names = kEffects;
    names.push_back(kMusic);
    for (const auto& name : names) {
        const auto pcm = decode(name);
        ASSERT_FALSE(pcm.samples.empty()) << name;
        EXPECT_LE(std::abs(static_cast<int>(pcm.samples.front())), 300) << name;
        EXPECT_LE(std::abs(static_cast<int>(pcm.samples.back())), 300) << name;
    }
}
