// The shell around a match: the buttons' three frames, a match won by keyboard alone, every way out freeing
// both trees, the best time kept, full screen (the menu's screens clicked at scale) and mute.
#include <sys/stat.h>
#include <X11/Xlib.h>
#undef None
#undef Status
#undef Bool
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>
#include "app/best_time.hpp"
#include "assets/language.hpp"
#include "assets/layout.hpp"
#include "support/csv.hpp"
#include "support/driver.hpp"
#include "support/tree_check.hpp"

namespace {

namespace fs = std::filesystem;

class Shell : public Session<3> {
protected:
    // Asks the window to close the way a desktop does.
    void requestClose() {
        Display* x = driver.seat.display;
        XEvent message{};
        message.xclient = {ClientMessage, 0, False, x, game.window.getSystemHandle(),
                           XInternAtom(x, "WM_PROTOCOLS", False), 32, {}};
        message.xclient.data.l[0] = static_cast<long>(XInternAtom(x, "WM_DELETE_WINDOW", False));
        XSendEvent(x, message.xclient.window, False, NoEventMask, &message);
        driver.seat.sync();
    }
};

// Where the way out is taken: a screen, or a match after these deliveries.
struct Exit {
    const char* name;
    bool match;
    std::vector<std::pair<int32_t, int32_t>> deliveries;
    std::pair<int32_t, int32_t> requested{-1, -1};  // a delivery clicked just before the way out
};

class Exits : public Shell, public ::testing::WithParamInterface<std::tuple<Exit, bool>> {};

class BestTime : public DataHome {
protected:
    void SetUp() override {
        DataHome::SetUp();
        record = scratch / "jogo" / "best-time";
    }
    // A fresh game wins a match that took `seconds` in a market of `stalls` stalls (the big one's other places are
    // the small one's: the record knows a market by its stall count alone).
    Game& winIn(float seconds, int32_t stalls = kStallCount) {
        static const Market big = [] { Market market = smallMarket(); market.stalls.resize(15); return market; }();
        Game& game = *games.emplace_back(std::make_unique<Game>());
        game.match.market = stalls == big.stallCount() ? &big : game.match.market;
        game.match.won = true;
        game.match.wonSeconds = static_cast<int32_t>(seconds);
        game.keepBestTime();
        return game;
    }
    // Only the records stay in the folder, beside the history the win went to: no temporary file.
    void expectRecord(const std::string& text, const char* name = "best-time") {
        EXPECT_EQ(contents(record.parent_path() / name), text);
        for (const fs::directory_entry& kept : fs::directory_iterator(record.parent_path())) {
            const std::string file = kept.path().filename();
            EXPECT_TRUE(file == "best-time" || file == "best-time-15" || file == "history.csv") << kept.path();
        }
    }
    fs::path record;
    std::vector<std::unique_ptr<Game>> games;
};

}  // namespace

TEST_F(Shell, ButtonShowsRestHoverAndPressedFramesFromThePointer) {
    sf::Sprite& play = game.pictures.playButtonSprite;
    const sf::FloatRect box = play.getGlobalBounds();
    const int middle = static_cast<int>(box.top + box.height / 2);
    const sf::Vector2i centre(static_cast<int>(box.left + box.width / 2), middle);
    // The frame of the big play button, or of the small insert button, with the pointer at `at`, its button down or
    // up; the presses this causes are drained, so only the pointer's state can choose the frame.
    bool small = false;
    auto frameWith = [&](sf::Vector2i at, bool down) {
        driver.pointAt(at);
        driver.seat.leftButton(down);
        game.turnEvents.clear();
        game.readPointer();
        small ? game.updateSmallButton(game.pictures.insertButtonSprite) : game.updateButton(play);
        driver.seat.leftButton(false);
        driver.drain();
        return (small ? game.pictures.insertButtonSprite : play).getTextureRect();
    };
    const sf::IntRect rest = frameWith(centre - sf::Vector2i(0, 60), false);
    const sf::IntRect hover = frameWith(centre, false);
    const sf::IntRect pressed = frameWith(centre, true);
    EXPECT_TRUE(rest != hover && hover != pressed && rest != pressed);
    // The edges are outside, for the frame and for a click.
    EXPECT_EQ(frameWith({static_cast<int>(box.left + box.width), middle}, false), rest);
    EXPECT_EQ(frameWith({static_cast<int>(box.left), middle}, true), rest);
    driver.clickAt({static_cast<int>(box.left), middle});
    EXPECT_TRUE((game.screen == GameScreen::Menu)) << "a tap on the button's edge played";
    // The small sheet stacks three frames of the button's height with no gap: rest is its top third, hover the middle.
    small = true;
    const sf::Vector2i sheet(game.pictures.insertButtonTexture.getSize());
    game.pictures.insertButtonSprite.setPosition(centre.x - sheet.x / 2.f, centre.y - sheet.y / 6.f);
    EXPECT_EQ(frameWith(centre - sf::Vector2i(0, 60), false), sf::IntRect(0, 0, sheet.x, sheet.y / 3));
    EXPECT_EQ(frameWith(centre, false), sf::IntRect(0, sheet.y / 3, sheet.x, sheet.y / 3));
}

TEST_P(Exits, CloseTheWindowFromEveryScreenAndJudgeNothingMore) {
    const Exit& exit = std::get<0>(GetParam());
    if (exit.match) driver.startMatch();
    if (std::string(exit.name) == "Instructions") driver.click(game.pictures.instructionsButtonSprite);
    for (const auto& [fruit, slot] : exit.deliveries) driver.insert(fruit, slot);
    driver.turn();
    ASSERT_TRUE(game.window.isOpen());
    if (const auto [fruit, slot] = exit.requested; fruit >= 0) {
        ASSERT_TRUE(driver.carry(fruit));
        game.match.character = driver.spotAgainst(slot);
        driver.turn();
        ASSERT_EQ(game.match.offeredSlot, slot);
        // A tap on the insert button waits in the queue with the way out.
        const sf::FloatRect button = game.pictures.insertButtonSprite.getGlobalBounds();
        const sf::Vector2f middle(button.left + button.width / 2, button.top + 9);
        driver.pointAt(sf::Vector2i(middle));
        driver.seat.leftButton(true);
        driver.seat.leftButton(false);
    }
    const std::string history = contents(historyPath());
    // Whatever X delivered is read by the window's own connection before the turn: with Escape the pointer's move
    // waits in front of it, and both are read in one turn.
    std::get<1>(GetParam()) ? driver.press(sf::Keyboard::Escape, 0) : requestClose();
    sf::Mouse::getPosition(game.window);
    game.loopTurn();
    EXPECT_FALSE(game.window.isOpen());
    EXPECT_EQ(contents(historyPath()), history) << "the turn that quit judged or wrote something";
}

INSTANTIATE_TEST_SUITE_P(
    Shell, Exits,
    ::testing::Combine(
        ::testing::Values(Exit{"Menu", false, {}}, Exit{"Instructions", false, {}},
                          Exit{"Match", true, {{50, 0}, {30, 1}}, {70, 2}}),
        ::testing::Bool()),
    [](const auto& info) {
        return std::string(std::get<0>(info.param).name) + (std::get<1>(info.param) ? "Escape" : "CloseRequest");
    });

TEST(Letterbox, ThePictureKeepsItsShapeFillsOneSideAndIsCentred) {
    for (const sf::Vector2f window : {sf::Vector2f(800, 600), {1280, 1024}, {1920, 1080}, {1366, 768}, {801, 600}}) {
        const sf::FloatRect port = letterboxView(sf::Vector2u(window)).getViewport();
        const sf::Vector2f size(port.width * window.x, port.height * window.y), bars = window - size;
        SCOPED_TRACE(::testing::Message() << window.x << "x" << window.y << ": " << size.x << "x" << size.y);
        EXPECT_TRUE(std::abs(bars.x) < 1 || std::abs(bars.y) < 1) << "not the largest scale";
        EXPECT_LE(std::abs(size.x * 3 - size.y * 4), 4.f);
        EXPECT_TRUE(std::abs(bars.x / 2 - port.left * window.x) < 1 && std::abs(bars.y / 2 - port.top * window.y) < 1);
    }
}

TEST_F(Shell, FullScreenScalesThePictureAndThePointerAndKeepsTheMatch) {
    driver.press(sf::Keyboard::F11, 1);
    const sf::Vector2u screen = game.window.getSize();
    ASSERT_EQ(screen, sf::Vector2u(sf::VideoMode::getDesktopMode().width, sf::VideoMode::getDesktopMode().height));
    ASSERT_GT(screen.y * 4, screen.x * 3) << "the test wants bars above and below";
    // Where the picture belongs: the largest 4:3 scale, centred.
    const float scale = screen.x / 800.f;
    const unsigned bar = static_cast<unsigned>(screen.y - 600 * scale) / 2;
    driver.screen.translate(0, bar).scale(scale, scale);
    EXPECT_TRUE(shows(driver.capture(), game.pictures.quitButtonSprite, driver.screen));
    // The scaled selector chooses by the half clicked: just left of its middle, where a window pixel taken for a
    // picture's would fall on the right half, is the small market.
    const sf::FloatRect selector = game.pictures.marketSelectorSprite.getGlobalBounds();
    for (const auto& [at, stalls] : {std::pair{0.75f, 15}, {0.45f, 7}}) {
        const sf::Vector2f point(selector.left + selector.width * at, selector.top + selector.height / 2);
        driver.clickAt(sf::Vector2i(point));
        EXPECT_EQ(game.marketStalls, stalls) << at;
    }
    // The scaled buttons lead to the instructions, which stay until their own is clicked, and back. Their page
    // button turns to the other page, Right and Page Down to the big market's, Left and Page Up to the first; each
    // page shows its own picture above the buttons, and the page button that leads to the other. Enter leaves them,
    // and they open again on the first page.
    const auto onPage = [&](int32_t page) {
        const std::string folder = std::string("Imagens/") + pictureFolder(game.language);
        sf::Texture picture, button;
        picture.loadFromFile(folder + (page == 1 ? "Instrucoes.png" : "Instrucoes15.png"));
        button.loadFromFile(folder + (page == 1 ? "BotaoPagina2.png" : "BotaoPagina1.png"));
        sf::Sprite drawnButton = game.pictures.pageButtonSprite;
        drawnButton.setTexture(button);
        const sf::Image shot = driver.capture();
        const float buttons = std::min(drawnButton.getPosition().y, game.pictures.backButtonSprite.getPosition().y);
        const int above = static_cast<int>(buttons);
        return game.screen == GameScreen::Instructions && shows(shot, drawnButton, driver.screen) &&
               shows(shot, sf::Sprite(picture, sf::IntRect(0, 0, 800, above)), driver.screen);
    };
    for (int open = 0; open < 2; ++open) {
        driver.click(game.pictures.instructionsButtonSprite);
        driver.turn(3);
        EXPECT_TRUE(onPage(1));
        const std::pair<sf::Keyboard::Key, int32_t> turns[] = {
            {sf::Keyboard::Unknown, 2}, {sf::Keyboard::Unknown, 1}, {sf::Keyboard::Right, 2},
            {sf::Keyboard::Right, 2},   {sf::Keyboard::PageUp, 1},  {sf::Keyboard::Left, 1},
            {sf::Keyboard::PageDown, 2}};
        for (const auto& [key, page] : turns) {
            key == sf::Keyboard::Unknown ? driver.click(game.pictures.pageButtonSprite) : driver.press(key);
            EXPECT_TRUE(onPage(page)) << "after key " << key;
        }
        open == 0 ? driver.press(sf::Keyboard::Enter) : driver.click(game.pictures.backButtonSprite);
        ASSERT_TRUE((game.screen == GameScreen::Menu) && (game.screen != GameScreen::Instructions));
    }
    // The hover frame follows the scaled button to its last column of pixels.
    const sf::FloatRect play = driver.screen.transformRect(game.pictures.playButtonSprite.getGlobalBounds());
    const auto frameAt = [&](float x, float y) {
        driver.pointAt(sf::Vector2i(static_cast<int>(x), static_cast<int>(y)));
        driver.turn();
        return game.pictures.playButtonSprite.getTextureRect();
    };
    const sf::IntRect hover = frameAt(play.left + play.width, play.top + play.height / 2);
    EXPECT_NE(frameAt(play.left + play.width + 1, play.top + play.height / 2), hover);
    EXPECT_NE(frameAt(120, 125), hover) << "where the button stands in an 800x600 window";
    driver.startMatch();  // a click on the scaled play button
    EXPECT_TRUE(shows(driver.capture(), game.pictures.timerSprites[kMatchSeconds], driver.screen));
    for (const auto& [fruit, slot] : {std::pair{50, 0}, {30, 1}, {20, 3}}) ASSERT_TRUE(driver.insert(fruit, slot));
    EXPECT_TRUE(shows(driver.capture(), driver.rotationButton(RotationKind::DoubleLeft), driver.screen));
    // The match is no part of the window: F11 twice reopens the window, and the scaled question still answers.
    for (int press = 0; press < 2; ++press) driver.press(sf::Keyboard::F11, 1);
    driver.answer(RotationKind::DoubleLeft);
    ASSERT_EQ(game.match.loss, LossCause::WrongRotation);
    EXPECT_EQ(game.window.getSize(), screen);
    EXPECT_TRUE(shows(driver.capture(), game.pictures.playAgainButtonSprite, driver.screen));
}

TEST_F(Shell, TheMarketChosenOnTheMenuHoldsForEveryMatchAndPracticeAfterIt) {
    // A click on the selector chooses its half's market whichever was chosen, Tab the other one; the menu shows the
    // sheet's upper frame for the small market, its lower one for the big.
    sf::Sprite& selector = game.pictures.marketSelectorSprite;
    const sf::FloatRect box = selector.getGlobalBounds();
    const auto chosen = [&](int32_t stalls) {
        const sf::Vector2i sheet(game.pictures.marketSelectorTexture.getSize());
        const sf::IntRect half(0, stalls == 15 ? sheet.y / 2 : 0, sheet.x, sheet.y / 2);
        sf::Sprite frame(game.pictures.marketSelectorTexture, half);
        frame.setPosition(selector.getPosition());
        return game.screen == GameScreen::Menu && game.marketStalls == stalls && shows(driver.capture(), frame);
    };
    ASSERT_TRUE(chosen(7));
    const std::pair<float, int32_t> choices[] = {{0.75f, 15}, {0.75f, 15}, {-1, 7}, {-1, 15}, {0.25f, 7}, {0.25f, 7},
                                                 {0.75f, 15}};
    for (const auto& [at, stalls] : choices) {
        const sf::Vector2f point(box.left + box.width * at, box.top + box.height / 2);
        at < 0 ? driver.press(sf::Keyboard::Tab) : driver.clickAt(sf::Vector2i(point));
        EXPECT_TRUE(chosen(stalls)) << (at < 0 ? "Tab" : "a click") << " leads to " << stalls;
    }
    // Play and practice start in the big market, and it is still chosen when each is left for the menu.
    for (const sf::Keyboard::Key start : {sf::Keyboard::Enter, sf::Keyboard::P}) {
        driver.press(start, 2);
        EXPECT_TRUE(game.screen == GameScreen::Match && game.match.stallCount() == 15 &&
                    game.match.practice == (start == sf::Keyboard::P));
        driver.press(sf::Keyboard::BackSpace, 3);
        EXPECT_TRUE(chosen(15));
    }
}

TEST_F(Shell, MuteSilencesEverySoundTillMIsPressedAgain) {
    driver.press(sf::Keyboard::M, 1);  // muted on the menu; the binary started with --mute is e2e/mute.sh's
    const Sounds& s = game.sounds;
    const sf::SoundSource* sounds[] = {&s.music,           &s.pickFruitSound, &s.placeInTreeSound,
                                       &s.throwInBinSound, &s.lostSound,      &s.wonSound};
    const auto heard = [](const sf::SoundSource* sound) { return sound->getStatus() == sf::SoundSource::Playing; };
    const auto playing = [&] { return std::count_if(std::begin(sounds), std::end(sounds), heard); };
    driver.startMatch();
    ASSERT_TRUE(driver.insert(50, 0) && driver.carry(41));
    EXPECT_EQ(playing(), 0);
    driver.press(sf::Keyboard::M, 1);
    EXPECT_EQ(game.sounds.music.getStatus(), sf::SoundSource::Playing);
    EXPECT_FALSE(shows(driver.capture(), game.pictures.mutedSignSprite));
    ASSERT_TRUE(driver.deliverTo(TreeSlot::Right));
    EXPECT_EQ(game.sounds.lostSound.getStatus(), sf::SoundSource::Playing);
    driver.press(sf::Keyboard::M, 1);
    EXPECT_EQ(playing(), 0) << "the lost sound is cut short";
    EXPECT_TRUE(shows(driver.capture(), game.pictures.mutedSignSprite)) << "on an end card";
}

TEST_F(BestTime, AFasterWinReplacesTheRecordAndASlowerOneDoesNotEachMarketItsOwn) {
    // The market's stalls, seconds the match took, the best time after it, whether it was a new record. The big
    // market's records are longer than the small one's clock.
    const std::tuple<int32_t, float, int32_t, bool> wins[] = {
        {7, 40.7f, 40, true}, {15, 150.f, 150, true}, {7, 55.f, 40, false}, {15, 160.f, 150, false},
        {15, 120.5f, 120, true}, {7, 40.2f, 40, false}, {7, 31.9f, 31, true}};
    for (const auto& [stalls, seconds, best, replaced] : wins) {
        SCOPED_TRACE(seconds);
        const Game& game = winIn(seconds, stalls);
        EXPECT_EQ(game.bestSeconds, best);
        EXPECT_EQ(game.newRecord, replaced);
        expectRecord(std::to_string(best) + "\n", stalls == 7 ? "best-time" : "best-time-15");
    }
}

TEST_F(BestTime, ABrokenRecordCountsAsNoneAndTheNextWinWritesAValidOne) {
    // "5" without its newline was cut short: faster than the win, and still no record.
    for (const char* broken : {"", "5", "fast\n", "250\n", "-3\n", "12\n34\n", "\x01\xff\n"}) {
        SCOPED_TRACE(broken);
        fs::create_directories(record.parent_path());
        std::ofstream(record, std::ios::binary) << broken;
        EXPECT_EQ(readBestTime(), -1);
        EXPECT_TRUE(winIn(62.f).newRecord);
        expectRecord("62\n");
        fs::remove_all(record.parent_path());
    }
}

TEST_F(BestTime, AFolderThatCannotBeWrittenLeavesTheGameWithoutARecord) {
    // A plain file where the folder belongs: nothing can be created in it.
    std::ofstream(scratch / "jogo") << "not a folder";
    const Game& game = winIn(20.f);
    EXPECT_TRUE(game.match.won);
    EXPECT_EQ(game.bestSeconds, -1);
    EXPECT_FALSE(game.newRecord);
    EXPECT_EQ(std::distance(fs::directory_iterator(scratch), fs::directory_iterator()), 1);
    fs::remove(scratch / "jogo");
    // A pipe where the record belongs is no record, and a win never puts a file in its place.
    fs::create_directories(record.parent_path());
    ASSERT_EQ(mkfifo(record.c_str(), 0600), 0);
    EXPECT_TRUE(winIn(15.f).bestSeconds == -1 && fs::is_fifo(record));
    fs::remove_all(record.parent_path());
    // Without XDG_DATA_HOME the record goes under the home folder (each test runs in a process of its own).
    unsetenv("XDG_DATA_HOME");
    setenv("HOME", scratch.c_str(), 1);
    record = scratch / ".local" / "share" / "jogo" / "best-time";
    EXPECT_EQ(winIn(25.f).bestSeconds, 25);
    expectRecord("25\n");
}

using Results = Session<1>;

TEST_F(Results, TheScreenShowsAKnownHistoryInBarsFiguresAndMarksAndSkipsWhatItCannotRead) {
    // A count shows in `shot` as that number alone drawn on the bare screen shows.
    const auto showsNumber = [&](const sf::Image& shot, int32_t number, sf::Vector2f centre, int32_t suffix = -1) {
        game.window.clear();
        game.window.draw(game.pictures.resultsSprite);
        game.drawNumber(number, centre, suffix, 1, kResultsFigureRoom);
        game.window.display();
        const sf::Image alone = driver.capture();
        for (float y = centre.y - kDigitHeight / 2.f; y < centre.y + kDigitHeight / 2.f; ++y) {
            for (float x = centre.x - 40; x < centre.x + 40; ++x) {
                const unsigned u = static_cast<unsigned>(x), v = static_cast<unsigned>(y);
                if (shot.getPixel(u, v) != alone.getPixel(u, v)) return false;
            }
        }
        return true;
    };
    // The records are kept apart from the history: an empty history still shows them, each market's its own.
    std::filesystem::create_directories(scratch / "jogo");
    std::ofstream(scratch / "jogo" / "best-time") << "38\n";
    std::ofstream(scratch / "jogo" / "best-time-15") << "140\n";
    driver.press(sf::Keyboard::R, 2);
    ASSERT_TRUE((game.screen == GameScreen::Results));
    const sf::Image empty = driver.capture();
    EXPECT_TRUE(shows(empty, game.pictures.resultsEmptySprite)) << "nothing to show, and no word of it";
    EXPECT_TRUE(showsNumber(empty, 38, {kResultsBestTimeX[0], kResultsFiguresY}, Digit::Seconds)) << "the best time";
    EXPECT_TRUE(showsNumber(empty, 140, {kResultsBestTimeX[1], kResultsFiguresY}, Digit::Seconds)) << "the big one's";
    driver.press(sf::Keyboard::Enter, 2);
    ASSERT_EQ(game.screen, GameScreen::Menu);
    // Four matches (one lost naming a double right rotation as a single right one, one won, one at a dead end and
    // one left for the menu) and a practice, between lines no one can read: garbage, a second header, a line cut
    // short; then a match of the big market lost naming the wrong unbalanced stall after the right one.
    const std::string first = "2026-12-01T10:00:00-03:00", second = "2026-12-02T10:00:00-03:00";
    const std::string third = "2026-12-02T11:00:00-03:00", fourth = "2026-12-02T12:00:00-03:00";
    const auto line = [](const std::string& match, const char* mode, const char* rest) {
        return "2026-12-03T10:00:00-03:00," + match + "," + mode + "," + rest + "\n";
    };
    std::string text = "time,match,mode,event,fruit,chosen,expected,correct,seconds\n";
    for (int i = 0; i < 3; ++i) text += line(first, "match", "rotation,20,single-right,single-right,1,5.0");
    text += line(first, "match", "rotation,40,single-right,double-right,0,9.0");
    text += "%%% garbage ,,,\ntime,match,mode,event,fruit,chosen,expected,correct,seconds\n";
    text += line(second, "match", "stall,50,root,root,1,2.0");
    text += line(second, "match", "stall,10,RR,bin,1,3.0");
    text += line(second, "practice", "rotation,40,double-right,double-right,1,4.0");
    text += line(second, "practice", "stall,30,L,L,1,3.0");
    text += line(second, "practice", "stall,35,LR,RL,0,4.0");
    text += line(second, "match", "won,,,,1,41.5");
    text += line(third, "match", "stuck,49,LR,,0,6.0");
    text += line(fourth, "match", "left,,,,0,8.0");
    text += line("2026-12-02T13:00:00-03:00", "match15", "balance,40,R,R,1,5.0");
    text += line("2026-12-02T13:00:00-03:00", "match15", "balance,45,L,LR,0,9.0");
    text += "2026-12-03T10:00:00-03:00,2026-12-0";
    std::ofstream(scratch / "jogo" / "history.csv") << text;
    driver.click(game.pictures.resultsButtonSprite);
    driver.turn();
    ASSERT_TRUE((game.screen == GameScreen::Results));
    const sf::Image shot = driver.capture();
    // Each rotation's bar, then the balance's: its green part in proportion to the share named correctly, in a track
    // of one length.
    const sf::Image bars = game.pictures.barsTexture.copyToImage();
    const sf::Color green = bars.getPixel(bars.getSize().x / 2, kBarHeight / 2);
    const float shares[] = {1, 0.5f, 0, 0, 0.5f};
    for (int32_t kind = 0; kind < 5; ++kind) {
        int32_t greenPixels = 0;
        const float y = kind < 4 ? kResultsRotationRowY[kind] : kResultsWhereRowY;
        for (unsigned x = 0; x < 800; ++x) {
            const sf::Color c = shot.getPixel(x, static_cast<unsigned>(y));
            greenPixels += std::abs(c.r - green.r) + std::abs(c.g - green.g) + std::abs(c.b - green.b) < 40;
        }
        EXPECT_NEAR(greenPixels, shares[kind] * kResultsRotationTrackWidth, 6) << "rotation " << kind;
    }
    // Each match's mark from the oldest on the left, and the counts.
    const int32_t marks[] = {LossCause::WrongRotation, LossCause::None, LossCause::Stuck, LossCause::Left,
                             LossCause::WrongWhere};
    for (int32_t at = 0; at < 5; ++at) {
        const sf::Vector2f socket(kResultsFirstMarkX + kResultsMarkSpacing * at, kResultsMarksY);
        const sf::IntRect cell(marks[at] * kMarkSize, 0, kMarkSize, kMarkSize);
        EXPECT_TRUE(shows(shot, centredOn(game.pictures.marksTexture, cell, socket))) << "mark " << at;
    }
    EXPECT_FALSE(shows(shot, game.pictures.resultsEmptySprite));
    EXPECT_TRUE(showsNumber(shot, 4, {kResultsPlayedX[0], kResultsFiguresY})) << "matches played";
    EXPECT_FALSE(showsNumber(shot, 3, {kResultsPlayedX[0], kResultsFiguresY})) << "the check cannot tell numbers apart";
    EXPECT_TRUE(showsNumber(shot, 1, {kResultsWonX[0], kResultsFiguresY})) << "matches won";
    EXPECT_TRUE(showsNumber(shot, 1, {kResultsPlayedX[1], kResultsFiguresY})) << "the big market's";
    EXPECT_TRUE(showsNumber(shot, 1, kResultsBinToStallCentre)) << "bin fruits put in a stall";
    // Three of the four stalls right, in matches and practice together.
    EXPECT_TRUE(showsNumber(shot, 75, kResultsStallShareCentre, Digit::Percent)) << "the stalls' share";
    driver.click(game.pictures.resultsBackButtonSprite);
    EXPECT_TRUE((game.screen == GameScreen::Menu) && (game.screen != GameScreen::Results)) << "the back button";
}
