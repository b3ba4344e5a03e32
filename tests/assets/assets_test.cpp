// The language chosen from the environment; a match in English, a picture lacking English shown in Portuguese.
#include <unistd.h>
#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>
#include "assets/language.hpp"
#include "support/driver.hpp"

TEST(Language, IsTheFirstOneTheGameHasFromLanguageThenTheLocale) {
    // An environment (NAME=value, a space apart), whether it asks for English.
    const std::pair<std::string, bool> environments[] = {
        {"", false},
        {"LANGUAGE=en", true},
        {"LC_ALL=en_US.UTF-8", true},
        {"LC_MESSAGES=en", true},
        {"LANG=en_GB.UTF-8", true},
        {"LANGUAGE=pt_BR LC_ALL=en_US.UTF-8", false},
        {"LANGUAGE=pt_PT@euro:en", false},
        {"LANGUAGE=fr LANG=en_US.UTF-8", true},
        {"LANGUAGE=fr:de_DE::ptx:en_GB LANG=pt_BR.UTF-8", true},
        {"LANGUAGE= LC_ALL= LC_MESSAGES=en_US LANG=pt_BR", true},
        {"LC_MESSAGES=pt_BR.UTF-8 LANG=en_US.UTF-8", false},
        {"LC_ALL=C LC_MESSAGES=en", false},
        {"LANG=C.UTF-8", false},
        {"LC_MESSAGES=POSIX LANG=en_US.UTF-8", false},
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

TEST(Language, AMatchIsPlayedInEnglishAndAPictureMissingInEnglishIsShownInPortuguese) {
    namespace fs = std::filesystem;
    // The game in a copy of its pictures and sounds, the market's scene missing in English.
    const fs::path project = fs::current_path();
    const fs::path scratch = fs::temp_directory_path() / ("jogo-" + std::to_string(getpid()));
    fs::create_directories(scratch);
    for (const char* folder : {"Imagens", "Sons"}) {
        fs::copy(project / folder, scratch / folder, fs::copy_options::recursive);
    }
    fs::remove(scratch / "Imagens/en/TelaJogo.png");
    fs::current_path(scratch);
    setenv("LANGUAGE", "en", 1);
    std::srand(11);
    Game game;
    Driver driver(game);
    driver.open(false);
    std::ostringstream said;  // what the library says, such as a file it could not read
    std::streambuf* terminal = sf::err().rdbuf(said.rdbuf());
    game.loadTextures();
    game.loadSounds();
    sf::err().rdbuf(terminal);
    EXPECT_EQ(said.str(), "");
    // A fruit at the wrong stall ends the match on the shortest way to a card.
    driver.startMatch();
    ASSERT_TRUE(driver.insert(50, TreeSlot::Root) && driver.insert(30, TreeSlot::Right));
    driver.turn();
    ASSERT_EQ(game.match.loss, LossCause::WrongSlot);
    const auto samePicture = [](const sf::Texture& texture, const std::string& file) {
        sf::Image picture, loaded = texture.copyToImage();
        return picture.loadFromFile(file) && picture.getSize() == loaded.getSize() &&
               std::equal(loaded.getPixelsPtr(), loaded.getPixelsPtr() + loaded.getSize().x * loaded.getSize().y * 4,
                          picture.getPixelsPtr());
    };
    // The card's sprite draws the English picture, and the window shows all of it above the answer.
    const Pictures& p = game.pictures;
    const std::pair<const sf::Texture*, const char*> loaded[] = {
        {p.lostPositionSprite.getTexture(), "en/PerdeuPosicao"},
        {&p.rotateRightButtonTexture, "en/BotaoRotacaoDireita"},
        {&p.captionsTexture, "en/Legendas"},
        {&p.sceneBackgroundTexture, "TelaJogo"}};
    for (const auto& [texture, file] : loaded) {
        EXPECT_TRUE(samePicture(*texture, "Imagens/" + std::string(file) + ".png")) << file;
    }
    EXPECT_TRUE(shows(driver.capture(), titleOf(game.pictures.lostPositionSprite)));
    fs::current_path(project);
    fs::remove_all(scratch);
}
