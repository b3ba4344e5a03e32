// The one object of the program. It owns the window, every picture, sound and the
// music, the clocks, the screen flags, the whole state of a match and the roots of
// the two search trees. Every member is public: the game is a record, and each
// operation below handles one screen or one step of a frame.
//
// Sprites point at their textures and sounds at their buffers, so a Game is never
// copied or moved once its assets are loaded.
#pragma once

#include <SFML/Audio.hpp>
#include <SFML/Graphics.hpp>

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "app/dimensions.hpp"
#include "app/history.hpp"
#include "app/outcomes.hpp"
#include "rules/dead_end.hpp"
#include "tree/tree.hpp"

// Game numbers with their units.
constexpr float kWalkPixelsPerSecond = 180.f;
constexpr float kFallPixelsPerFrame = 3.f;
constexpr float kLongestStepSeconds = 0.1f;
constexpr float kStallAnimationSeconds = 0.8f;
// A practice left open for a day still shows a number that fits its card.
constexpr float kLongestPracticeSeconds = 99999.f;
constexpr int32_t kNoFruit = -1;

// Rows of the character sheet.
namespace Facing {
constexpr int32_t Up = 0;
constexpr int32_t Right = 1;
constexpr int32_t Left = 2;
constexpr int32_t Down = 3;
}  // namespace Facing

// The game draws an 800x600 picture. In a window of any other size it is shown
// at the largest scale that keeps its shape, centred, with black bars beside it.
sf::View letterboxView(sf::Vector2u windowSize);

class Game {
public:
    Game();
    ~Game();
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // Shell: start-up, loop, events, restart (src/app).
    void run();
    // One turn of the main loop: the event poll, then the restart or one screen.
    void loopTurn();
    // Opens the window titled "Jogo": borderless 800x600, or the whole screen in
    // full screen, limited to frameLimit frames per second, showing the game's
    // 800x600 picture through letterboxView.
    void openWindow();
    // Takes every event the window has: F11, M, Escape and closing act at once,
    // every press waits in `input` for the screen that acts on it.
    void pollEvents();
    // Every value a match starts from, and the menu: used by construction and by
    // the restart after an end card.
    void resetMatch();

    // Buttons and the screens outside a match (src/app).
    // Whether a window pixel, or the pointer, lies on the sprite as it is drawn.
    bool isOver(const sf::Sprite& sprite, sf::Vector2i pixel) const;
    bool isMouseOver(const sf::Sprite& sprite) const;
    // True when the turn's presses hold a left click on the button; its frame
    // (rest, hover, pressed) follows the pointer and its left button as they are.
    bool updateButton(sf::Sprite& button);
    bool updateSmallButton(sf::Sprite& button);
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
    // True when the key was pressed among the presses the screen acts on now.
    bool keyWasPressed(sf::Keyboard::Key key) const;
    // Leaves a match or a practice for the menu (Backspace, or the corner button).
    void leaveMatch();

    // Best time (src/app/best_time.cpp).
    // Takes the won match's seconds, compares them with the stored record and
    // stores them when faster; the record shown is whatever is stored afterwards.
    void keepBestTime();

    // Puzzle rules (src/rules).
    void deliverFruit();
    // Offers the insert button beside the free stall the character touches.
    void offerInsertButton();
    void updateInsertButton();
    void judgeTrees();
    // After every change to the trees: when they can no longer be completed, the
    // match ends at a dead end (src/rules/judging.cpp, the search in dead_end.cpp).
    void endIfStuck();
    void resyncTrees();
    // Every slot shows the fruit of the player's tree at its place, or none.
    void showPlayerTree();
    // The button that names a rotation kind (0..3).
    sf::Sprite& rotationButton(int32_t kind);
    // True once the match has a winner or a loser; no rule changes it afterwards,
    // but practice's take-back clears a mistake.
    bool hasOutcome() const { return lossCause != LossCause::None || matchWon != 0; }
    // Ends the match with a loss, once: the first cause stands. In practice the
    // mistake's card is shown instead, and counted.
    void loseMatch(int32_t cause);
    // Ends the match with a win, once.
    void winMatch();
    // Appends one judged event of this match or practice to the history
    // (src/rules/record.cpp); a history that cannot be written changes nothing.
    void recordEvent(const char* event, int32_t fruit, const std::string& chosen,
                     const std::string& expected, bool correct);

    // Practice (src/rules/practice.cpp): the same game without the clock, where a
    // mistake is shown on a card and then taken back.
    // Keeps both trees as they stand before a delivery, so that it can be undone.
    void rememberTrees();
    // Undoes the move the card showed: the trees and stalls as before that delivery,
    // the fruit back in the hand, the character free to walk.
    void takeBackMove();
    // H shows or hides the balance factor of every filled stall, in practice only.
    void updateBalanceFactors();
    // Draws the badges beside the filled stalls (src/scene/badges.cpp).
    void drawBalanceFactors();

    // Play scene (src/scene). One frame first updates the match, step by step in
    // the order the steps decide things, and then draws it back to front.
    void playFrame();
    // Update steps.
    void keepMusicPlaying();
    void takeMatchTime();
    void advanceLanes();
    void chooseLaneFruits(int32_t lane);
    // The teacher's list in place of chance (src/scene/lanes.cpp).
    void chooseListedFruit(int32_t lane);
    void advanceLane(int32_t lane);
    void moveCharacter();
    // Takes the time since the last step, capped, into frameSeconds.
    void measureFrameStep();
    bool touchesCharacter(const sf::Sprite& sprite);
    void pushBack(const sf::Sprite& obstacle);
    void updateBin();
    // An empty hand takes the first lane fruit the character touches.
    void pickFruit();
    void updateTimer();
    void updateEndScreen();
    // Shows the character standing still, facing right.
    void standStill();
    // The stall fruits travelling from the stalls of the tree before a rotation to
    // those of the rotated tree (src/scene/stall_animation.cpp).
    void startStallAnimation(const int32_t (&fruitsBefore)[kStallCount]);
    void advanceStallAnimation();
    void finishStallAnimation();
    // Puts the fruit of every slot where it stands, or where the animation has it.
    void placeStallFruits();
    // Draw steps.
    void drawScene();
    void drawLaneFruits();
    void drawInsertButton();
    void drawLeaveButton();
    void drawRotationQuestion();
    void drawStallFruits();
    void drawTimer();
    // The end or correction card, this match's answer and the card's button.
    void drawEndScreen();
    // Draws into the end card what this match's answer was (src/scene/end_card.cpp).
    void drawEndAnswer();
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

    // Timing and animation.
    sf::Time frameDelay;
    sf::Clock stepClock;
    int32_t walkFrame;
    int32_t facing;

    // The language the pictures speak (assets/language.hpp), chosen when they load.
    int32_t language;

    // Window and input.
    sf::RenderWindow window;
    // Mouse and key presses taken from the window and not yet acted on, oldest
    // first, and those the screen acts on in this turn (all of them in a match).
    std::vector<sf::Event> input;
    std::vector<sf::Event> turnEvents;
    bool fullScreen;
    bool muted;
    unsigned int frameLimit;

    // Menu and instructions screens.
    sf::Texture menuTexture;
    sf::Texture playButtonTexture;
    sf::Texture instructionsButtonTexture;
    sf::Texture quitButtonTexture;
    sf::Texture practiceButtonTexture;
    sf::Sprite menuSprite;
    sf::Sprite playButtonSprite;
    sf::Sprite instructionsButtonSprite;
    sf::Sprite quitButtonSprite;
    sf::Sprite practiceButtonSprite;
    sf::Texture resultsButtonTexture;
    sf::Sprite resultsButtonSprite;
    sf::Texture instructionsTexture;
    sf::Texture backButtonTexture;
    sf::Sprite instructionsSprite;
    sf::Sprite backButtonSprite;

    // Play scene.
    sf::Texture sceneBackgroundTexture;
    sf::Texture fruitsTexture;
    sf::Texture characterTexture;
    sf::Sprite sceneBackgroundSprite;
    sf::Sprite laneFruitSprites[kFruitCount];
    sf::Sprite treeFruitSprites[kFruitCount];
    sf::Sprite carriedFruitSprites[kFruitCount];
    sf::Sprite characterSprite;
    sf::Texture binAreaTexture;
    sf::Sprite binAreaSprite;
    sf::Texture stallTextures[kStallCount];
    sf::Texture stallAreaTexture;
    sf::Sprite stallSprites[kStallCount];
    sf::Sprite stallAreaSprites[kStallCount];
    sf::Texture insertButtonTexture;
    sf::Sprite insertButtonSprite;
    // The corner button that leaves the market for the menu.
    sf::Texture leaveButtonTexture;
    sf::Sprite leaveButtonSprite;
    sf::Texture rotationWarningTexture;
    sf::Texture rotateRightButtonTexture;
    sf::Texture rotateLeftButtonTexture;
    sf::Texture doubleRotateLeftButtonTexture;
    sf::Texture doubleRotateRightButtonTexture;
    sf::Sprite rotationWarningSprite;
    sf::Sprite rotateRightButtonSprite;
    sf::Sprite rotateLeftButtonSprite;
    sf::Sprite doubleRotateLeftButtonSprite;
    sf::Sprite doubleRotateRightButtonSprite;

    // Where each lane's fruit is falling.
    sf::Vector2f lanePositions[kLaneCount];

    // End screens.
    sf::Texture wonTexture;
    sf::Texture lostPositionTexture;
    sf::Texture lostRotationTexture;
    sf::Texture lostKeyTexture;
    sf::Texture playAgainButtonTexture;
    sf::Texture lostTimeTexture;
    sf::Texture lostStuckTexture;
    sf::Sprite wonSprite;
    sf::Sprite lostPositionSprite;
    sf::Sprite lostRotationSprite;
    sf::Sprite lostKeySprite;
    sf::Sprite playAgainButtonSprite;
    sf::Sprite lostTimeSprite;
    sf::Sprite lostStuckSprite;
    // Captions, marks and counts drawn into the end cards, one sheet.
    sf::Texture captionsTexture;
    sf::Sprite captionSprite;
    sf::Sprite answerFruitSprite;
    sf::Sprite answerButtonSprite;
    sf::Sprite answerTimerSprite;

    // Practice: the headings that turn a lost card into a correction (one sheet, a
    // row for each mistake), with the button that takes it back, the finished card,
    // the sign in the timer's place, the badges of the balance factors (one sheet,
    // -2 to +2) and the digits that write numbers.
    sf::Texture practiceHeadingsTexture;
    sf::Texture practiceCompleteTexture;
    sf::Texture tryAgainButtonTexture;
    sf::Texture noClockTexture;
    sf::Texture balanceTexture;
    sf::Texture digitsTexture;
    sf::Sprite practiceHeadingSprite;
    sf::Sprite practiceCompleteSprite;
    sf::Sprite tryAgainButtonSprite;
    sf::Sprite noClockSprite;
    sf::Sprite balanceSprites[kStallCount];
    sf::Sprite digitSprite;

    // Results: the screen, its word for an empty history, the bars, the marks of
    // the last matches and a back button of its own.
    sf::Texture resultsTexture;
    sf::Texture resultsEmptyTexture;
    sf::Texture barsTexture;
    sf::Texture marksTexture;
    sf::Sprite resultsSprite;
    sf::Sprite resultsEmptySprite;
    sf::Sprite barSprite;
    sf::Sprite markSprite;
    sf::Sprite resultsBackButtonSprite;

    // The sign shown on every screen while muted.
    sf::Texture mutedSignTexture;
    sf::Sprite mutedSignSprite;

    // Timer.
    sf::Texture timerTexture;
    sf::Sprite timerSprites[kTimerPictureCount];

    // Audio; each sound is declared after its buffer so it is destroyed first.
    sf::Music music;
    sf::SoundBuffer pickFruitBuffer;
    sf::SoundBuffer placeInTreeBuffer;
    sf::SoundBuffer throwInBinBuffer;
    sf::SoundBuffer lostBuffer;
    sf::SoundBuffer wonBuffer;
    sf::Sound pickFruitSound;
    sf::Sound placeInTreeSound;
    sf::Sound throwInBinSound;
    sf::Sound lostSound;
    sf::Sound wonSound;

    // Screen flags.
    bool menuActive;
    bool instructionsActive;
    bool resultsActive;
    bool playActive;

    // What the results screen shows: the history summed up when it opened, and the
    // best time then.
    HistorySummary results;
    int32_t resultsBestSeconds;

    // Match state.
    float frameSeconds;
    int32_t laneFruit[kLaneCount];  // kNoFruit: the lane brings nothing on this fall
    // The numbers a teacher chose for the lanes (--fruits), empty for random ones,
    // and the place of the next one to fall.
    std::vector<int32_t> fruitList;
    size_t nextListedFruit = 0;
    bool matchStarting;
    bool carrying;
    bool laneTaken[kLaneCount];
    int32_t pickedLane;
    bool insertRequested;
    bool slotFilled[kStallCount];
    int32_t currentSlot;
    int32_t slotFruit[kStallCount];
    int32_t pendingRotation;
    bool movementEnabled;
    int32_t lossCause;
    int32_t matchWon;
    int32_t restartRequested;
    int32_t shownSeconds;
    int32_t carriedFruit;
    int32_t carriedPayload;
    // Slot whose insert button is drawn on this frame, -1 when none is: the button
    // only answers where it can be seen.
    int32_t offeredSlot;

    // What the end card teaches: the last fruit delivered and the slot it was put
    // in, the rotation that was asked for, the stall a dead end closed, the seconds
    // of a won match and the stored best time (-1 when there is none).
    int32_t deliveredFruit;
    int32_t deliveredSlot;
    int32_t rightRotation;
    DeadEnd deadEnd;
    int32_t wonSeconds;
    int32_t bestSeconds;
    bool newRecord;

    // The stall animation after a named rotation: its seconds so far, advanced by
    // frameSeconds, and the fruit each slot showed before the rotation.
    bool stallsMoving;
    float stallAnimationSeconds;
    int32_t stallFruitsBefore[kStallCount];

    // Practice state: whether this match is a practice, whether H shows the
    // balance factors, the mistakes made by kind (indexed by LossCause), and both
    // trees as they stood before the last delivery.
    bool practicing;
    bool balanceShown;
    int32_t practiceMistakes[LossCause::Count];
    TreeNode* balancedBefore;
    TreeNode* playerBefore;

    // Trees and match clock.
    TreeNode* balancedRoot;
    TreeNode* playerRoot;
    sf::Clock matchClock;
    sf::Time matchTime;
    // When this match or practice began, by the calendar: it names it in the history.
    std::time_t matchStartTime;
};
