// The language: chosen from the environment as the C library chooses it, a whole match
// in English, a picture missing in English read in Portuguese without a word printed.
#include <gtest/gtest.h>
#include <unistd.h>
#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>
#include "assets/language.hpp"
#include "assets/layout.hpp"
#include "support/driver.hpp"

namespace {

int distance(sf::Color a, sf::Color b) { return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b); }

bool samePicture(const sf::Texture& texture, const std::string& file) {
    sf::Image picture, loaded = texture.copyToImage();
    return picture.loadFromFile(file) && picture.getSize() == loaded.getSize() &&
           std::equal(loaded.getPixelsPtr(), loaded.getPixelsPtr() + loaded.getSize().x * loaded.getSize().y * 4,
                      picture.getPixelsPtr());
}

}  // namespace

TEST(Language, IsTheFirstOneTheGameHasFromLanguageThenTheLocale) {
    // An environment (NAME=value, a space apart), whether it asks for English.
    const std::pair<std::string, bool> environments[] = {
        {"", false}, {"LANGUAGE=en", true}, {"LC_ALL=en_US.UTF-8", true}, {"LC_MESSAGES=en", true},
        {"LANG=en_GB.UTF-8", true}, {"LANGUAGE=pt_BR LC_ALL=en_US.UTF-8", false},
        {"LANGUAGE=fr:de_DE::ptx:en_GB LANG=pt_BR.UTF-8", true}, {"LANGUAGE=pt_PT@euro:en", false},
        {"LANGUAGE=fr LANG=en_US.UTF-8", true}, {"LANGUAGE= LC_ALL= LC_MESSAGES=en_US LANG=pt_BR", true},
        {"LC_MESSAGES=pt_BR.UTF-8 LANG=en_US.UTF-8", false}, {"LC_ALL=C LC_MESSAGES=en", false},
        {"LC_MESSAGES=POSIX LANG=en_US.UTF-8", false}, {"LANG=C.UTF-8", false},
        {"LC_ALL=de_DE.UTF-8 LANG=en_US.UTF-8", false}};
    for (const auto& [environment, english] : environments) {
        SCOPED_TRACE(environment);
        std::map<std::string, std::string> set;
        std::istringstream words(environment);
        for (std::string word; words >> word;) set[word.substr(0, word.find('='))] = word.substr(word.find('=') + 1);
        EXPECT_EQ(chooseLanguage([&](const char* name) { return set.count(name) ? set[name].c_str() : nullptr; }),
                  english ? Language::English : Language::Portuguese);
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
    const std::pair<const sf::Texture*, std::string> pictures[] = {
        {&game.wonTexture, "Ganhou"}, {&game.lostPositionTexture, "PerdeuPosicao"}, {&game.lostRotationTexture, "PerdeuRotacao"},
        {&game.lostKeyTexture, "PerdeuChave"}, {&game.lostTimeTexture, "PerdeuTempo"}, {&game.captionsTexture, "Legendas"}};
    for (const auto& [texture, name] : pictures) EXPECT_TRUE(samePicture(*texture, "Imagens/en/" + name + ".png")) << name;
    // Above the answer the card shows its own words: where the pictures of the two
    // languages differ, the window shows the English one.
    const sf::Image shot = driver.capture();
    sf::Image en, pt;
    ASSERT_TRUE(en.loadFromFile("Imagens/en/Ganhou.png") && pt.loadFromFile("Imagens/Ganhou.png"));
    int asEnglish = 0, asPortuguese = 0;
    for (unsigned y = 0; y < kCardAnswerTop; ++y) {
        for (unsigned x = 0; x < shot.getSize().x; ++x) {
            const sf::Color english = en.getPixel(x, y), portuguese = pt.getPixel(x, y), seen = shot.getPixel(x, y);
            if (english.a < 255 || portuguese.a < 255 || distance(english, portuguese) < 90) continue;
            asEnglish += distance(seen, english) <= 12;
            asPortuguese += distance(seen, portuguese) <= 12;
        }
    }
    EXPECT_GT(asEnglish, 1000);
    EXPECT_EQ(asPortuguese, 0);
}

TEST(Language, APictureMissingInEnglishIsReadInPortugueseWithoutAWord) {
    namespace fs = std::filesystem;
    // A working directory of links to the pictures, the won card missing in English.
    const fs::path project = fs::current_path(), scratch = fs::temp_directory_path() / ("jogo-" + std::to_string(getpid()));
    for (const char* folder : {"Imagens", "Imagens/en"}) {
        fs::create_directories(scratch / folder);
        for (const auto& file : fs::directory_iterator(project / folder)) {
            if (file.is_regular_file()) fs::create_symlink(file.path(), scratch / folder / file.path().filename());
        }
    }
    fs::remove(scratch / "Imagens/en/Ganhou.png");
    setenv("LANGUAGE", "en", 1);
    Game game;
    Driver(game).open(false);
    std::ostringstream said;
    std::streambuf* terminal = sf::err().rdbuf(said.rdbuf());
    fs::current_path(scratch);
    game.loadTextures();
    fs::current_path(project);
    sf::err().rdbuf(terminal);
    fs::remove_all(scratch);
    EXPECT_EQ(said.str(), "");
    EXPECT_TRUE(samePicture(game.wonTexture, "Imagens/Ganhou.png")) << "the won card in Portuguese";
    EXPECT_TRUE(samePicture(game.lostTimeTexture, "Imagens/en/PerdeuTempo.png")) << "the others in English";
}
