// Plays a match the way a person would, through Game::playFrame on the real
// window: the character is put where a player would have walked it (onto a lane
// fruit, against a stall), the real pointer is moved over a button and the press
// is left in the game's event buffer, then frames run.
//
// Positions are worked out from the loaded pictures (stall, blocking area, bin and
// character sizes), never from numbers copied here, so new art keeps the driver
// honest.
//
//   MatchDriver driver(game);
//   driver.open();                        // window, assets, no frame limit
//   driver.startMatch();                  // the menu's play button, first frame
//   ASSERT_TRUE(driver.insert(50, TreeSlot::Root));
//   driver.answerRotation(RotationKind::SingleRight);
#pragma once

#include <gtest/gtest.h>

#include <SFML/Graphics.hpp>

#include <cstdint>
#include <initializer_list>
#include <string>

#include "app/game.hpp"

class MatchDriver {
public:
    explicit MatchDriver(Game& game);
    ~MatchDriver();
    MatchDriver(const MatchDriver&) = delete;
    MatchDriver& operator=(const MatchDriver&) = delete;

    // Opens the real window and loads every asset, then lifts the 60 fps limit so
    // frames run as fast as they can be drawn. A sound or the music track that is
    // missing on disk gets a generated tone instead (and says so on stderr), so
    // that "was it played" can still be asked.
    void open();

    // Clicks the menu's play button through the menu screen and runs the first
    // frame of the match.
    void startMatch();

    // Runs count play frames, the way the main loop's play branch does.
    void runFrames(int count);

    // Walks the character (by placing it) to a quiet spot in the lanes and lets lane
    // fruit `fruit` fall onto it: one frame later it is carried. False when it is not.
    bool carryFruit(int32_t fruit);

    // Stands the character against stall `slot` (touching the stall, not its solid
    // area), clicks the insert button drawn beside it and runs the delivery frame.
    // True when the hand is empty afterwards (the fruit went into the trees).
    bool deliverTo(int32_t slot);

    // carryFruit, then deliverTo.
    bool insert(int32_t fruit, int32_t slot);

    // Presses the rotation button that names `kind` and runs that frame; the
    // release is left in the buffer.
    void answerRotation(int32_t kind);

    // Presses the play-again button and runs that frame.
    void clickPlayAgain();

    // Stops every effect, so that a sound found Playing after the next frames was
    // started by them.
    void silenceEffects();

    // A character position that touches exactly the given stalls, no blocking area,
    // no bin and no lane fruit. Fails the test when there is none.
    sf::Vector2f spotTouchingStalls(std::initializer_list<int32_t> stalls);
    // A position in the lanes that touches no stall, area or bin.
    sf::Vector2f laneSpot() const;
    void placeCharacter(sf::Vector2f position);

    // Points at the spot where slot's insert button is drawn and buffers a left
    // press there (whether or not the button is drawn there now).
    void pressInsertButtonOf(int32_t slot);
    // Points at (x, y) and buffers a left press / a left release there.
    void pressAt(int x, int y);
    void releaseAt(int x, int y);
    void releasePointer();

    // What the window shows after the last frame.
    sf::Image capture();

    // True when every opaque pixel of `sprite`, drawn alone, shows unchanged in
    // `shot`: the sprite was drawn and nothing was drawn over it. Pixels inside
    // the `except` rectangles (window coordinates) are not looked at.
    static ::testing::AssertionResult showsOnTop(const sf::Image& shot, const sf::Sprite& sprite,
                                                 std::initializer_list<sf::IntRect> except = {});

    // The character's on-screen size while it walks or stands (one sheet frame).
    sf::Vector2f characterSize() const;

    Game& game;

private:
    // The rectangle the character would cover at `position`.
    sf::FloatRect characterAt(sf::Vector2f position) const;
    void fillMissingAudio();
    std::string scratchDirectory;
};
