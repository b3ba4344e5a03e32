// The one object of the program. It owns the window and the loop, the pictures and
// sounds, the screen shown, the match being played (plain data and rules, in
// src/match) and what the game keeps in the student's files. Each turn takes the
// window's presses, acts on them on the screen shown, and draws one frame:
//   events -> intents -> step of the match -> sounds and history lines -> drawing.
//
// Sprites point at their textures and sounds at their buffers, so a Game is never
// copied or moved once its assets are loaded.
#pragma once

#include <SFML/Graphics.hpp>

#include <array>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "app/history.hpp"
#include "assets/pictures.hpp"
#include "assets/sounds.hpp"
#include "match/match.hpp"

// The game draws an 800x600 picture. In a window of any other size it is shown
// at the largest scale that keeps its shape, centred, with black bars beside it.
sf::View letterboxView(sf::Vector2u windowSize);

enum class GameScreen { Menu, Instructions, Results, Match };

class Game {
public:
    Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // Shell: start-up, loop, events (src/app/game.cpp).
    void run();
    // One turn of the main loop: the event poll, then the way back to the menu or
    // one screen.
    void loopTurn();
    // Opens the window titled "Jogo": borderless 800x600, or the whole screen in
    // full screen, limited to frameLimit frames per second, showing the game's
    // 800x600 picture through letterboxView.
    void openWindow();
    // Takes every event the window has: F11, M, Escape and closing act at once,
    // every press waits in `input` for the screen that acts on it.
    void pollEvents();
    // The market of 7 or 15 stalls for the matches and practices from now on, from
    // the menu or the command line; it holds until the game closes.
    void chooseMarket(int32_t stalls);
    // A new match or practice on the market chosen, from the menu.
    void startMatch(bool practice);
    // Back to the menu after a match, with a new match waiting.
    void backToMenu();

    // Buttons and the screens outside a match (src/app).
    // Whether a window pixel, or the pointer, lies on the sprite as it is drawn.
    bool isOver(const sf::Sprite& sprite, sf::Vector2i pixel) const;
    bool isMouseOver(const sf::Sprite& sprite) const;
    // Where the pointer is and whether its left button is down, read once a turn.
    void readPointer();
    // True when the turn's presses hold a left click on the button; its frame
    // (rest, hover, pressed) follows the pointer and its left button as they are.
    bool updateButton(sf::Sprite& button);
    bool updateSmallButton(sf::Sprite& button);
    // Where the last left press of the turn over the sprite fell, in the sprite's
    // own pixels from its top-left corner; none when no press fell on it.
    std::optional<sf::Vector2f> pressOn(const sf::Sprite& sprite) const;
    // True when the key was pressed among the presses the screen acts on now.
    bool keyWasPressed(sf::Keyboard::Key key) const;
    // The screens outside a match act on their presses one at a time, in the order
    // they came, so that a press that changes the screen leaves the next one to
    // the screen it opened; then the screen of the turn's start is drawn.
    void showOtherScreen();
    void actOnMenu();
    void actOnInstructions();
    void actOnResults();
    void drawMenu();
    void drawInstructions();
    void drawResults();
    // Opens the results: the history read once, summed up (src/app/results.cpp).
    void openResults();

    // A turn of a match (src/app/match_turn.cpp): the turn's presses and the held
    // arrows as intents, one step of the match, then what it returned is heard and
    // written down, and the match is drawn.
    void playFrame();
    Intents readIntents();
    // The seconds since the last step: the measured time, or the test's fixed step.
    float stepSeconds();
    void keepMusicPlaying();
    void hear(const StepResult& result);
    // Every judged event of the step goes to the history; a won match to the best
    // time (src/app/best_time.cpp keeps it).
    void keepJournal(const StepResult& result);
    void keepBestTime();

    // Drawing a match: a reading of `match`, nothing more (src/scene).
    void drawMatch();
    void drawScene();
    void drawLaneFruits();
    void drawCharacter();
    void drawInsertButton();
    void drawLeaveButton();
    void drawRotationQuestion();
    void drawStallMark(int32_t slot);
    // The timer's picture of that many seconds, 0 to 180, at the timer's place.
    sf::Sprite& timerPicture(int32_t secondsLeft);
    void drawStallFruits();
    void drawBalanceFactors();
    void drawTimer();
    // The end or correction card, this match's answer and the card's button.
    void drawEndScreen();
    void drawEndAnswer();
    void drawWhereAnswer();
    // A fruit or a caption centred on a point of a card.
    void drawCardFruit(int32_t fruit, sf::Vector2f centre, float scale);
    void drawCardCaption(int32_t caption, sf::Vector2f centre);
    void drawTreeSpots(int32_t stalls, sf::Vector2f (*centre)(int32_t), float radius);
    // The button that names a rotation kind (0..3).
    sf::Sprite& rotationButton(int32_t kind);
    // The big market's question of where: the keys and the stall clicked.
    void readWhere(Intents& intents, bool keyed);
    // The card's own button: play again, or try again after a practice mistake.
    sf::Sprite& cardButton();
    // A whole number in the digit pictures, centred on a point, at a scale, and
    // smaller still where it would be wider than `widest`; a percent sign or an
    // "s" after it when asked (src/scene/end_card.cpp).
    void drawNumber(int32_t value, sf::Vector2f centre, int32_t suffix = -1, float scale = 1,
                    float widest = 800);

    // Full screen and sound (src/app/screen.cpp, src/app/sound.cpp).
    // F11: reopens the window at the other size; the match goes on as it was.
    void toggleFullScreen();
    // Shows the finished frame, with the muted sign in its corner while muted.
    void present();
    // M: silences the music and every effect at once, or lets them play again.
    void toggleMute();
    // Every effect is started here, and stays silent while muted.
    void playEffect(sf::Sound& effect);

    // Assets (src/assets).
    void loadTextures();
    void loadSounds();

    // The language the pictures speak (assets/language.hpp), chosen when they load.
    int32_t language;

    // Window and input.
    sf::RenderWindow window;
    // Mouse and key presses taken from the window and not yet acted on, oldest
    // first, and those the screen acts on in this turn (all of them in a match).
    std::vector<sf::Event> input;
    std::vector<sf::Event> turnEvents;
    sf::Vector2i pointer;
    bool pointerPressed = false;
    bool fullScreen = false;
    bool muted = false;
    unsigned int frameLimit = 60;
    sf::Time frameDelay;
    // The time between two steps of a match, and a fixed step in its place (tests).
    sf::Clock stepClock;
    float fixedStepSeconds = 0;

    Pictures pictures;
    Sounds sounds;

    GameScreen screen = GameScreen::Menu;
    // Set by a match that ends with play again or is left: the next turn leads back
    // to the menu.
    bool restartRequested = false;

    // What the results screen shows: the history summed up when it opened, and the
    // best time of each market then, in the order of kMarketStalls (-1: none).
    HistorySummary results;
    std::array<int32_t, kMarketCount> resultsBestSeconds{-1, -1};

    // The match being played, or the next one, and the teacher's numbers for its
    // lanes (--fruits), empty for numbers by chance.
    MatchState match;
    std::vector<int32_t> fruitList;
    int32_t marketStalls = kStallCount;
    // When this match or practice began, by the calendar: it names it in the history.
    std::time_t matchStartTime = 0;
    // The stored best time when a match was won (-1 when none), and whether this
    // win set it.
    int32_t bestSeconds = -1;
    bool newRecord = false;
};
