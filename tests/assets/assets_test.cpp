// The language the game speaks: chosen from the environment as the C library
// chooses it, a whole match played in English, a picture missing in English read
// in Portuguese without a word on the terminal.
#include <gtest/gtest.h>
#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include "assets/language.hpp"
#include "assets/layout.hpp"
#include "support/driver.hpp"

namespace {

namespace fs = std::filesystem;

int distance(sf::Color a, sf::Color b) { return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b); }

::testing::AssertionResult samePicture(const sf::Texture& texture, const std::string& file) {
    sf::Image picture;
    const sf::Image loaded = texture.copyToImage();
    const size_t size = loaded.getSize().x * loaded.getSize().y * 4;
    if (picture.loadFromFile(file) && picture.getSize() == loaded.getSize() &&
        std::equal(loaded.getPixelsPtr(), loaded.getPixelsPtr() + size, picture.getPixelsPtr())) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "the texture is not " << file;
}

}  // namespace

TEST(Language, IsTheFirstOneTheGameHasFromLanguageThenTheLocale) {
    const std::pair<std::map<std::string, std::string>, int32_t> environments[] = {
        {{}, Language::Portuguese},
        {{{"LANGUAGE", "en"}}, Language::English},
        {{{"LC_ALL", "en_US.UTF-8"}}, Language::English},
        {{{"LC_MESSAGES", "en"}}, Language::English},
        {{{"LANG", "en_GB.UTF-8"}}, Language::English},
        {{{"LANGUAGE", "pt_BR"}, {"LC_ALL", "en_US.UTF-8"}}, Language::Portuguese},
        {{{"LANGUAGE", "fr:de_DE::ptx:en_GB"}, {"LANG", "pt_BR.UTF-8"}}, Language::English},
        {{{"LANGUAGE", "pt_PT@euro:en"}}, Language::Portuguese},
        {{{"LANGUAGE", "fr"}, {"LANG", "en_US.UTF-8"}}, Language::English},
        {{{"LANGUAGE", ""}, {"LC_ALL", ""}, {"LC_MESSAGES", "en_US"}, {"LANG", "pt_BR"}}, Language::English},
        {{{"LC_MESSAGES", "pt_BR.UTF-8"}, {"LANG", "en_US.UTF-8"}}, Language::Portuguese},
        {{{"LC_ALL", "C"}, {"LC_MESSAGES", "en"}}, Language::Portuguese},
        {{{"LC_MESSAGES", "POSIX"}, {"LANG", "en_US.UTF-8"}}, Language::Portuguese},
        {{{"LANG", "C.UTF-8"}}, Language::Portuguese},
        {{{"LC_ALL", "de_DE.UTF-8"}, {"LANG", "en_US.UTF-8"}}, Language::Portuguese},
    };
    for (const auto& [variables, language] : environments) {
        std::string shown;
        for (const auto& [name, value] : variables) shown += name + "=" + value + " ";
        SCOPED_TRACE(shown);
        EXPECT_EQ(chooseLanguage([&set = variables](const char* name) {
                      return set.count(name) ? set.at(name).c_str() : nullptr;
                  }),
                  language);
    }
}

TEST(Language, AWholeMatchIsPlayedInEnglishAndEndsOnTheEnglishCard) {
    setenv("LANGUAGE", "en", 1);
    std::srand(11);
    Game game;
    Driver driver(game);
    driver.open();
    driver.startMatch();
    for (const auto& [fruit, slot] : {std::pair{50, 0}, {30, 1}, {20, 3}}) ASSERT_TRUE(driver.insert(fruit, slot));
    driver.answer(RotationKind::SingleRight);
    for (int turn = 0; turn < 5000 && !game.movementEnabled; ++turn) driver.turn();
    for (const auto& [fruit, slot] : {std::pair{10, 3}, {25, 4}, {40, 5}, {60, 6}}) ASSERT_TRUE(driver.insert(fruit, slot));
    driver.turn();
    ASSERT_EQ(game.matchWon, 1);
    const std::pair<const sf::Texture*, const char*> cards[] = {
        {&game.wonTexture, "Ganhou.png"}, {&game.lostPositionTexture, "PerdeuPosicao.png"},
        {&game.lostRotationTexture, "PerdeuRotacao.png"}, {&game.lostKeyTexture, "PerdeuChave.png"},
        {&game.lostTimeTexture, "PerdeuTempo.png"}, {&game.captionsTexture, "Legendas.png"},
        {&game.playAgainButtonTexture, "BotaoJogarNovamente.png"}};
    for (const auto& [texture, file] : cards) EXPECT_TRUE(samePicture(*texture, std::string("Imagens/en/") + file));
    // Above the answer the card shows its own words: where the two languages'
    // pictures differ, the window shows the English one.
    const sf::Image shot = driver.capture();
    sf::Image english, portuguese;
    ASSERT_TRUE(english.loadFromFile("Imagens/en/Ganhou.png") && portuguese.loadFromFile("Imagens/Ganhou.png"));
    int asEnglish = 0, asPortuguese = 0;
    for (unsigned y = 0; y < kCardAnswerTop; ++y) {
        for (unsigned x = 0; x < shot.getSize().x; ++x) {
            const sf::Color en = english.getPixel(x, y), pt = portuguese.getPixel(x, y), seen = shot.getPixel(x, y);
            if (en.a < 255 || pt.a < 255 || distance(en, pt) < 90) continue;
            asEnglish += distance(seen, en) <= 12;
            asPortuguese += distance(seen, pt) <= 12;
        }
    }
    EXPECT_GT(asEnglish, 1000);
    EXPECT_EQ(asPortuguese, 0);
}

TEST(Language, APictureMissingInEnglishIsReadInPortugueseWithoutAWord) {
    // A working directory whose English folder lacks the won card.
    const fs::path project = fs::current_path();
    const fs::path scratch = fs::temp_directory_path() / ("jogo-language-" + std::to_string(getpid()));
    for (const char* folder : {"Imagens", "Imagens/en"}) {
        fs::create_directories(scratch / folder);
        for (const auto& file : fs::directory_iterator(project / folder)) {
            if (file.is_regular_file()) fs::create_symlink(file.path(), scratch / folder / file.path().filename());
        }
    }
    fs::remove(scratch / "Imagens/en/Ganhou.png");
    setenv("LANGUAGE", "en", 1);
    Game game;
    Driver driver(game);
    driver.open(false);
    std::ostringstream said;
    std::streambuf* terminal = sf::err().rdbuf(said.rdbuf());
    fs::current_path(scratch);
    game.loadTextures();
    fs::current_path(project);
    sf::err().rdbuf(terminal);
    fs::remove_all(scratch);
    EXPECT_EQ(said.str(), "");
    EXPECT_TRUE(samePicture(game.wonTexture, "Imagens/Ganhou.png"));
    EXPECT_TRUE(samePicture(game.lostTimeTexture, "Imagens/en/PerdeuTempo.png"));
    EXPECT_TRUE(samePicture(game.fruitsTexture, "Imagens/Frutas.png"));
}
