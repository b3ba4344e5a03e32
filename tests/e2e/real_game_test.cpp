// The real build/jogo on the virtual display, driven as a touchpad and a keyboard drive it: every tap's press and
// release arrive together, and two keys are sent at once. Its data folder holds named pipes where the best time and
// the history belong, which it must neither hang on nor replace.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#undef None
#undef Status
#undef Bool
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <functional>
#include <string>
#include "assets/language.hpp"
#include "support/driver.hpp"

namespace {

class RealGame : public DataHome {
protected:
    void SetUp() override {
        DataHome::SetUp();
        std::filesystem::create_directories(scratch / "jogo");
        for (const char* name : {"best-time", "history.csv"}) {
            ASSERT_EQ(mkfifo((scratch / "jogo" / name).c_str(), 0600), 0);
        }
        pictures.load(chooseLanguage([](const char* name) { return std::getenv(name); }));
        game = fork();
        if (game == 0) {
            setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
            execl(JOGO_BINARY, JOGO_BINARY, static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    void TearDown() override {
        if (game > 0 && waitpid(game, nullptr, WNOHANG) == 0) kill(game, SIGKILL), waitpid(game, nullptr, 0);
        DataHome::TearDown();
    }
    // The game's window on the screen, once it is there.
    bool findWindow() {
        Display* x = seat.display;
        Window root = DefaultRootWindow(x), parent, *children = nullptr, child;
        unsigned count = 0;
        XQueryTree(x, root, &root, &parent, &children, &count);
        for (unsigned at = 0; at < count && !placed; ++at) {
            char* name = nullptr;
            if (XFetchName(x, children[at], &name) && name != nullptr && std::string(name) == "Jogo") {
                int left = 0, top = 0;
                XTranslateCoordinates(x, children[at], root, 0, 0, &left, &top, &child);
                corner = sf::Vector2i(left, top);
                placed = true;
            }
            if (name != nullptr) XFree(name);
        }
        if (children != nullptr) XFree(children);
        return placed;
    }
    sf::Image shot() {
        Display* x = seat.display;
        XImage* image = XGetImage(x, DefaultRootWindow(x), corner.x, corner.y, 800, 600, AllPlanes, ZPixmap);
        sf::Image taken;
        taken.create(800, 600);
        for (unsigned v = 0; image != nullptr && v < 600; ++v) {
            for (unsigned u = 0; u < 800; ++u) {
                const unsigned long pixel = XGetPixel(image, static_cast<int>(u), static_cast<int>(v));
                taken.setPixel(u, v, sf::Color((pixel >> 16) & 255, (pixel >> 8) & 255, pixel & 255));
            }
        }
        if (image != nullptr) XDestroyImage(image);
        return taken;
    }
    // Waits until the window shows what `seen` looks for, the pointer off every button.
    ::testing::AssertionResult awaits(const char* what, const std::function<bool(const sf::Image&)>& seen) {
        for (int attempt = 0; attempt < 300; ++attempt) {
            if (findWindow()) {
                seat.point(corner + sf::Vector2i(795, 595));
                if (seen(shot())) return ::testing::AssertionSuccess();
            }
            usleep(30'000);
        }
        return ::testing::AssertionFailure() << "the game never showed " << what;
    }
    void tap(const sf::Sprite& button) {
        const sf::FloatRect box = button.getGlobalBounds();
        seat.point(corner + sf::Vector2i(static_cast<int>(box.left + box.width / 2), static_cast<int>(box.top + 20)));
        seat.leftButton(true);
        seat.leftButton(false);
    }
    bool menu(const sf::Image& s) { return shows(s, pictures.quitButtonSprite) && shows(s, pictures.playButtonSprite); }
    bool market(const sf::Image& s, bool practice) {
        return shows(s, pictures.leaveButtonSprite) && shows(s, pictures.noClockSprite) == practice;
    }

    Pictures pictures;  // the game's pictures where the game places them, in no window
    Seat seat;
    pid_t game = -1;
    bool placed = false;
    sf::Vector2i corner;
};

TEST_F(RealGame, TapsOnEveryButtonAndKeysSentTogetherAllActAndThePipesAreLeftAlone) {
    ASSERT_TRUE(awaits("the menu", [&](const sf::Image& s) { return menu(s); }));
    const auto onMenu = [&](const sf::Image& s) { return menu(s); };
    const auto instructions = [&](const sf::Image& s) { return shows(s, pictures.backButtonSprite); };
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        tap(pictures.playButtonSprite);
        ASSERT_TRUE(awaits("a match", [&](const sf::Image& s) { return market(s, false); }));
        tap(pictures.leaveButtonSprite);
        ASSERT_TRUE(awaits("the menu after the match", onMenu));
        tap(pictures.practiceButtonSprite);
        ASSERT_TRUE(awaits("a practice", [&](const sf::Image& s) { return market(s, true); }));
        tap(pictures.leaveButtonSprite);
        ASSERT_TRUE(awaits("the menu after the practice", onMenu));
        tap(pictures.instructionsButtonSprite);
        ASSERT_TRUE(awaits("the instructions", instructions));
        tap(pictures.backButtonSprite);
        ASSERT_TRUE(awaits("the menu after the instructions", onMenu));
        tap(pictures.resultsButtonSprite);
        const auto results = [&](const sf::Image& s) { return shows(s, pictures.resultsBackButtonSprite); };
        ASSERT_TRUE(awaits("the results", results));
        tap(pictures.resultsBackButtonSprite);
        ASSERT_TRUE(awaits("the menu after the results", onMenu));
    }
    // Keys sent together: Enter leaves the instructions and R opens the results; Enter leaves them and P practises.
    tap(pictures.instructionsButtonSprite);
    ASSERT_TRUE(awaits("the instructions", [&](const sf::Image& s) { return shows(s, pictures.backButtonSprite); }));
    seat.tap(sf::Keyboard::Return);
    seat.tap(sf::Keyboard::R);
    ASSERT_TRUE(awaits("the results", [&](const sf::Image& s) { return shows(s, pictures.resultsBackButtonSprite); }));
    seat.tap(sf::Keyboard::Return);
    seat.tap(sf::Keyboard::P);
    ASSERT_TRUE(awaits("a practice", [&](const sf::Image& s) { return market(s, true); }));
    seat.tap(sf::Keyboard::BackSpace);
    ASSERT_TRUE(awaits("the menu", onMenu));
    tap(pictures.quitButtonSprite);
    int status = -1;
    for (int attempt = 0; attempt < 300 && waitpid(game, &status, WNOHANG) == 0; ++attempt) usleep(30'000);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the quit button";
    for (const char* name : {"best-time", "history.csv"}) {
        struct stat kept {};
        EXPECT_TRUE(stat((scratch / "jogo" / name).c_str(), &kept) == 0 && S_ISFIFO(kept.st_mode)) << name;
    }
}

}  // namespace
