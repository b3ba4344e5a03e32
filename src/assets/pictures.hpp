// Every picture of the game and the sprites that show them, loaded once at start-up
// (src/assets/loading.cpp) and placed where they stand (src/assets/layout.hpp).
// Drawing a screen reads the match or the screen's data and puts these sprites
// where that says; no rule of the game reads or writes a sprite.
//
// Sprites point at their textures, so the pictures are never copied or moved once
// loaded.
#pragma once

#include <SFML/Graphics.hpp>

#include <cstdint>
#include <string>

#include "app/dimensions.hpp"

struct Pictures {
    Pictures() = default;
    Pictures(const Pictures&) = delete;
    Pictures& operator=(const Pictures&) = delete;

    // Reads every picture, in the language's folder where it has one.
    void load(int32_t language);
    // Shows the market of that many stalls: its scene takes the small market's
    // texture's place, so only one market's is held; the big market's own pictures
    // are read the first time it is shown.
    void showMarket(int32_t stalls);
    int32_t shownMarket = kStallCount;
    // The sprite of an end card of a market of that many stalls, its picture read
    // into the cards' texture unless it is there already (some milliseconds, once
    // per card shown); null for none.
    const sf::Sprite* endCard(bool won, bool practice, int32_t loss, int32_t stalls);
    // Shows the instructions' page (0 or 1) and its page button. The pages are read
    // into one texture when they are turned to, never held both at once.
    void showInstructionsPage(int32_t page);
    int32_t shownInstructionsPage = 0;

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
    // The page button's sheet on each page: to page 2 on the first, to page 1 on the second.
    sf::Texture pageButtonTextures[kInstructionsPages];
    sf::Sprite pageButtonSprite;
    // The market chosen, on the menu.
    sf::Texture marketSelectorTexture;
    sf::Sprite marketSelectorSprite;

    // Play scene.
    sf::Texture sceneBackgroundTexture;
    sf::Texture fruitsTexture;
    sf::Texture characterTexture;
    sf::Sprite sceneBackgroundSprite;
    sf::Sprite laneFruitSprites[kFruitCount];
    sf::Sprite treeFruitSprites[kFruitCount];
    sf::Sprite carriedFruitSprites[kFruitCount];
    sf::Sprite characterSprite;
    sf::Texture stallTextures[kStallCount];
    sf::Sprite stallSprites[kStallCount];
    // The big market's stalls, one sheet, cell k for stall k.
    sf::Texture bigStallsTexture;
    sf::Sprite bigStallSprites[TreeSlot::FourLevelCount];
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
    // The big market asks first where the tree lost its balance.
    sf::Texture whereQuestionTexture;
    sf::Sprite whereQuestionSprite;


    // End screens. One card shows at a time, so the cards share one texture: the
    // card's picture is read into it when its outcome first shows (endCard).
    sf::Texture cardTexture;
    sf::Texture playAgainButtonTexture;
    sf::Sprite wonSprite;
    sf::Sprite lostPositionSprite;
    sf::Sprite lostRotationSprite;
    sf::Sprite lostKeySprite;
    sf::Sprite playAgainButtonSprite;
    sf::Sprite lostTimeSprite;
    sf::Sprite lostStuckSprite;
    sf::Sprite lostWhereSprite;
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
    sf::Texture tryAgainButtonTexture;
    sf::Texture noClockTexture;
    sf::Texture balanceTexture;
    sf::Texture digitsTexture;
    sf::Sprite practiceHeadingSprite;
    sf::Sprite practiceCompleteSprite;
    sf::Sprite tryAgainButtonSprite;
    sf::Sprite noClockSprite;
    sf::Sprite balanceSprites[TreeSlot::FourLevelCount];
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

    // Timer: 0 to 90 seconds left, then the big market's 91 to 180 on a sheet of
    // their own.
    sf::Texture timerTexture;
    sf::Sprite timerSprites[kTimerPictureCount];
    sf::Texture longTimerTexture;
    sf::Sprite longTimerSprite;

private:
    int32_t language = 0;
    bool bigMarketLoaded = false;
    std::string cardShown;
};
