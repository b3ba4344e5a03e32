// The game object's life: construction, the match reset, the main loop's priority
// order, and every way out (Escape, the window's close request, the quit button),
// each leaving no tree node behind. Runs on the real window of the virtual display.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <stdexcept>
#include <thread>
#include <vector>

#include "app/game.hpp"
#include "assets/layout.hpp"
#include "support/fake_input.hpp"
#include "support/running_game.hpp"
#include "support/tree_check.hpp"

// Xlib last: its macros would otherwise rewrite SFML's and the game's names.
#include <X11/Xlib.h>
#undef None
#undef Status

namespace {

// Holding the mouse button this long spans several menu frames (100 ms each), so
// at least one of them sees the press as the last event.
constexpr auto kButtonHold = std::chrono::milliseconds(350);
// Loop turns allowed for an X event sent to the window to come back as an event.
constexpr int kTurnsForAnEvent = 50;

// Asks the window to close the way a window manager's close button does.
void sendCloseRequest(sf::WindowHandle window) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        throw std::runtime_error("no X display: run the tests under xvfb-run");
    }
    XEvent request{};
    request.xclient.type = ClientMessage;
    request.xclient.window = window;
    request.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    request.xclient.format = 32;
    request.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    request.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &request);
    XSync(display, False);
    XCloseDisplay(display);
}

// Fills a tree the way deliveries do, so the loop has nodes to free.
void growTree(TreeNode** root, const std::vector<int32_t>& keys) {
    int32_t kind = RotationKind::None;
    for (int32_t key : keys) {
        insertBalanced(root, key, key, kind);
    }
}

// Nodes of both trees, balanced tree first.
std::vector<const TreeNode*> nodesOfBothTrees(const Game& game) {
    std::vector<const TreeNode*> nodes = treeNodes(game.balancedRoot);
    const std::vector<const TreeNode*> player = treeNodes(game.playerRoot);
    nodes.insert(nodes.end(), player.begin(), player.end());
    return nodes;
}

bool isMouseEvent(sf::Event::EventType type) {
    switch (type) {
    case sf::Event::MouseButtonPressed:
    case sf::Event::MouseButtonReleased:
    case sf::Event::MouseMoved:
    case sf::Event::MouseWheelMoved:
    case sf::Event::MouseWheelScrolled:
    case sf::Event::MouseEntered:
    case sf::Event::MouseLeft:
        return true;
    default:
        return false;
    }
}

// Every match member that construction and the reset both set, with the values a
// fresh match starts from.
void expectMatchStartValues(const Game& game) {
    EXPECT_TRUE(game.menuActive);
    EXPECT_FALSE(game.instructionsActive);
    EXPECT_FALSE(game.playActive);
    EXPECT_EQ(game.restartRequested, 0);
    EXPECT_EQ(game.walkFrame, 0);
    EXPECT_EQ(game.facing, 1);
    EXPECT_EQ(game.horizontalVelocity, sf::Vector2f(180, 0));
    EXPECT_EQ(game.verticalVelocity, sf::Vector2f(0, 180));
    const int32_t laneStarts[kLaneCount] = {-100, -200, -300, -400, -500, -600};
    for (int32_t lane = 0; lane < kLaneCount; ++lane) {
        EXPECT_EQ(game.laneStartY[lane], laneStarts[lane]) << "lane " << lane;
        EXPECT_EQ(game.laneFruit[lane], -1) << "lane " << lane;
        EXPECT_FALSE(game.laneTaken[lane]) << "lane " << lane;
    }
    EXPECT_EQ(game.frameSeconds, 0.f);
    EXPECT_TRUE(game.matchStarting);
    EXPECT_FALSE(game.carrying);
    EXPECT_EQ(game.carriedFruit, -1);
    EXPECT_EQ(game.currentSlot, -1);
    EXPECT_FALSE(game.insertRequested);
    for (int32_t slot = 0; slot < kStallCount; ++slot) {
        EXPECT_FALSE(game.slotFilled[slot]) << "slot " << slot;
        EXPECT_EQ(game.slotFruit[slot], -1) << "slot " << slot;
    }
    EXPECT_EQ(game.pendingRotation, -1);
    EXPECT_TRUE(game.movementEnabled);
    EXPECT_EQ(game.lossCause, 0);
    EXPECT_EQ(game.matchWon, 0);
    EXPECT_EQ(game.shownSeconds, 0);
    EXPECT_EQ(game.balancedRoot, nullptr);
    EXPECT_EQ(game.playerRoot, nullptr);
}

// Gives every member of the reset table (and the ones it must leave alone) a
// value no start value has.
void dirtyEveryMember(Game& game) {
    for (int32_t fruit = 0; fruit < kFruitCount; ++fruit) {
        game.laneFruitSprites[fruit].setPosition(11, 12);
        game.treeFruitSprites[fruit].setPosition(13, 14);
        game.carriedFruitSprites[fruit].setPosition(15, 16);
    }
    game.menuActive = false;
    game.instructionsActive = true;
    game.playActive = true;
    game.restartRequested = 1;
    game.walkFrame = 2;
    game.facing = 3;
    game.horizontalVelocity = sf::Vector2f(-7, 1);
    game.verticalVelocity = sf::Vector2f(1, -7);
    for (int32_t lane = 0; lane < kLaneCount; ++lane) {
        game.laneStartY[lane] = 40 + lane;
        game.laneFruit[lane] = 50 + lane;
        game.laneTaken[lane] = true;
        game.lanePositions[lane] = sf::Vector2f(60.f + lane, 70.f);
    }
    game.frameSeconds = 0.5f;
    game.matchStarting = false;
    game.carrying = true;
    game.carriedFruit = 42;
    game.currentSlot = 4;
    game.insertRequested = true;
    for (int32_t slot = 0; slot < kStallCount; ++slot) {
        game.slotFilled[slot] = true;
        game.slotFruit[slot] = 80 + slot;
    }
    game.pendingRotation = 3;
    game.movementEnabled = false;
    game.lossCause = 2;
    game.matchWon = 1;
    game.shownSeconds = 77;
    game.characterSprite.setPosition(300, 200);
    game.characterSprite.setTextureRect(sf::IntRect(43, 58, 43, 58));
    game.pickedLane = 5;
    game.carriedPayload = 1234;
    game.matchTime = sf::seconds(33);
    game.frameDelay = sf::milliseconds(7);
    game.mousePosition = sf::Vector2i(9, 8);
    game.buttonFrame = sf::IntRect(1, 2, 3, 4);
    game.smallButtonFrame = sf::IntRect(5, 6, 7, 8);
    game.fruitFrame = sf::IntRect(9, 10, 11, 12);
    game.timerFrame = sf::IntRect(13, 14, 15, 16);
    game.pickFruitSound.setVolume(37);
    game.music.setVolume(55);
    growTree(&game.balancedRoot, {5, 3, 8});
    growTree(&game.playerRoot, {5, 8});
}

class GameShell : public ::testing::Test {
protected:
    std::unique_ptr<Game> game = std::make_unique<Game>();

    // Loop turns until the window is closed, at most `turns` of them.
    void turnUntilClosed(int turns) {
        for (int turn = 0; turn < turns && game->window.isOpen(); ++turn) {
            game->loopTurn();
        }
    }

    // The button's rest frame gives it its size, which pointing at it needs.
    void pressButton(sf::Sprite& button) {
        game->updateButton(button);
        pressOn(*game, button);
        flushDisplay(*game);
    }
};

}  // namespace

// --- Construction --------------------------------------------------------------

TEST_F(GameShell, ConstructionOpensNoWindowAndLoadsNothing) {
    EXPECT_FALSE(game->window.isOpen());
    const sf::Texture* textures[] = {
        &game->menuTexture, &game->playButtonTexture, &game->instructionsButtonTexture,
        &game->quitButtonTexture, &game->instructionsTexture, &game->backButtonTexture,
        &game->sceneBackgroundTexture, &game->fruitsTexture, &game->characterTexture,
        &game->binAreaTexture, &game->stallAreaTexture, &game->insertButtonTexture,
        &game->rotationWarningTexture, &game->rotateRightButtonTexture,
        &game->rotateLeftButtonTexture, &game->doubleRotateLeftButtonTexture,
        &game->doubleRotateRightButtonTexture, &game->wonTexture, &game->lostPositionTexture,
        &game->lostRotationTexture, &game->lostKeyTexture, &game->playAgainButtonTexture,
        &game->lostTimeTexture, &game->timerTexture, &game->stallTextures[0],
        &game->stallTextures[1], &game->stallTextures[2], &game->stallTextures[3],
        &game->stallTextures[4], &game->stallTextures[5], &game->stallTextures[6]};
    for (const sf::Texture* texture : textures) {
        EXPECT_EQ(texture->getSize(), sf::Vector2u(0, 0));
    }
    EXPECT_EQ(game->menuSprite.getTexture(), nullptr);
    EXPECT_EQ(game->characterSprite.getTexture(), nullptr);
    EXPECT_EQ(game->playAgainButtonSprite.getTexture(), nullptr);
    EXPECT_EQ(game->laneFruitSprites[0].getTexture(), nullptr);
    EXPECT_EQ(game->timerSprites[kTimerPictureCount - 1].getTexture(), nullptr);
    const sf::Sound* sounds[] = {&game->pickFruitSound, &game->placeInTreeSound,
                                 &game->throwInBinSound, &game->lostSound, &game->wonSound};
    for (const sf::Sound* sound : sounds) {
        EXPECT_EQ(sound->getBuffer(), nullptr);
    }
    const sf::SoundBuffer* buffers[] = {&game->pickFruitBuffer, &game->placeInTreeBuffer,
                                        &game->throwInBinBuffer, &game->lostBuffer,
                                        &game->wonBuffer};
    for (const sf::SoundBuffer* buffer : buffers) {
        EXPECT_EQ(buffer->getSampleCount(), 0u);
    }
    EXPECT_EQ(game->music.getDuration(), sf::Time::Zero);
    EXPECT_EQ(game->balancedRoot, nullptr);
    EXPECT_EQ(game->playerRoot, nullptr);
}

TEST_F(GameShell, ConstructionGivesEveryMemberItsStartValue) {
    EXPECT_EQ(game->frameDelay, sf::milliseconds(100));
    EXPECT_EQ(game->mousePosition, sf::Vector2i(0, 0));
    EXPECT_EQ(game->buttonFrame, sf::IntRect(0, 0, 0, 0));
    EXPECT_EQ(game->smallButtonFrame, sf::IntRect(0, 0, 0, 0));
    EXPECT_EQ(game->fruitFrame, sf::IntRect(0, 0, 0, 0));
    EXPECT_EQ(game->timerFrame, sf::IntRect(0, 0, 0, 0));
    EXPECT_FALSE(isMouseEvent(game->event.type)) << "event type " << game->event.type;
    for (int32_t lane = 0; lane < kLaneCount; ++lane) {
        EXPECT_EQ(game->lanePositions[lane], sf::Vector2f(0, 0)) << "lane " << lane;
    }
    EXPECT_EQ(game->matchTime, sf::Time::Zero);
    expectMatchStartValues(*game);
}

TEST_F(GameShell, FirstBufferedEventLeavesAButtonUnderThePointerAtRest) {
    // Before any event arrives, a button under the pointer neither lights up nor clicks.
    openGameWindow(*game, false);
    sf::Sprite& button = game->playButtonSprite;
    button.setTextureRect(sf::IntRect(0, kButtonPressedTop, kButtonWidth, kButtonHeight));
    button.setPosition(kMenuButtonPositions[0]);
    movePointer(*game, static_cast<int>(kMenuButtonPositions[0].x) + kButtonWidth / 2,
                static_cast<int>(kMenuButtonPositions[0].y) + kButtonHeight / 2);
    ASSERT_TRUE(game->isMouseOver(button));
    EXPECT_FALSE(game->updateButton(button));
    EXPECT_EQ(button.getTextureRect(), sf::IntRect(0, 0, kButtonWidth, kButtonHeight));
}

// --- Match reset -------------------------------------------------------------------

TEST_F(GameShell, ResetWritesEveryValueOfItsTableAndNothingElse) {
    openGameWindow(*game, true);
    dirtyEveryMember(*game);
    const std::vector<const TreeNode*> nodes = nodesOfBothTrees(*game);
    const sf::Vector2f characterScale = game->characterSprite.getScale();
    const sf::Vector2f laneFruitScale = game->laneFruitSprites[7].getScale();
    const sf::Event::EventType bufferedType = game->event.type;
    // Let the clocks run long enough that a restart of either would show.
    sf::sleep(sf::milliseconds(30));
    const sf::Time stepClockBefore = game->stepClock.getElapsedTime();
    const sf::Time matchClockBefore = game->matchClock.getElapsedTime();

    FreeCounter frees(nodes);
    game->resetMatch();

    expectMatchStartValues(*game);
    for (int32_t fruit = 0; fruit < kFruitCount; ++fruit) {
        EXPECT_EQ(game->laneFruitSprites[fruit].getPosition(), sf::Vector2f(-30, 0)) << fruit;
        EXPECT_EQ(game->treeFruitSprites[fruit].getPosition(), sf::Vector2f(-30, 0)) << fruit;
        EXPECT_EQ(game->carriedFruitSprites[fruit].getPosition(), sf::Vector2f(367, 11)) << fruit;
    }
    EXPECT_EQ(game->characterSprite.getPosition(), sf::Vector2f(105, 400));
    EXPECT_TRUE(frees.allFreed()) << "a direct reset must not leak the trees it empties";

    // Left alone: the clocks, the match time, lanes in flight, the picked lane,
    // the character's frame and scale, sounds, scratch rectangles and the buffer.
    EXPECT_GE(game->stepClock.getElapsedTime(), stepClockBefore);
    EXPECT_GE(game->matchClock.getElapsedTime(), matchClockBefore);
    EXPECT_EQ(game->matchTime, sf::seconds(33));
    for (int32_t lane = 0; lane < kLaneCount; ++lane) {
        EXPECT_EQ(game->lanePositions[lane], sf::Vector2f(60.f + lane, 70.f)) << "lane " << lane;
    }
    EXPECT_EQ(game->pickedLane, 5);
    EXPECT_EQ(game->carriedPayload, 1234);
    EXPECT_EQ(game->characterSprite.getTextureRect(), sf::IntRect(43, 58, 43, 58));
    EXPECT_EQ(game->characterSprite.getScale(), characterScale);
    EXPECT_EQ(game->laneFruitSprites[7].getScale(), laneFruitScale);
    EXPECT_EQ(game->pickFruitSound.getVolume(), 37.f);
    EXPECT_EQ(game->music.getVolume(), 55.f);
    EXPECT_EQ(game->frameDelay, sf::milliseconds(7));
    EXPECT_EQ(game->mousePosition, sf::Vector2i(9, 8));
    EXPECT_EQ(game->buttonFrame, sf::IntRect(1, 2, 3, 4));
    EXPECT_EQ(game->smallButtonFrame, sf::IntRect(5, 6, 7, 8));
    EXPECT_EQ(game->fruitFrame, sf::IntRect(9, 10, 11, 12));
    EXPECT_EQ(game->timerFrame, sf::IntRect(13, 14, 15, 16));
    EXPECT_EQ(game->event.type, bufferedType);
    EXPECT_TRUE(game->window.isOpen());
}

// --- Loop priority ------------------------------------------------------------------

TEST_F(GameShell, RestartWinsOverEveryScreenFlag) {
    openGameWindow(*game, true);
    // A click on quit is buffered: had the menu run, the window would be closed.
    pressButton(game->quitButtonSprite);
    game->restartRequested = 1;
    game->menuActive = true;
    game->instructionsActive = true;
    game->playActive = true;
    game->lossCause = 2;
    growTree(&game->balancedRoot, {4, 2, 6});
    growTree(&game->playerRoot, {4, 6});
    FreeCounter frees(nodesOfBothTrees(*game));

    game->loopTurn();

    EXPECT_TRUE(game->window.isOpen());
    EXPECT_TRUE(frees.allFreed());
    expectMatchStartValues(*game);
}

TEST_F(GameShell, RestartFromTheEndScreenLeadsToTheMenuWithEmptyTrees) {
    openGameWindow(*game, true);
    flushDisplay(*game);
    // The end screen: still playing, an outcome, the play-again click of last frame.
    game->menuActive = false;
    game->playActive = true;
    game->matchStarting = false;
    game->matchWon = 1;
    game->restartRequested = 1;
    for (int32_t slot = 0; slot < kStallCount; ++slot) {
        game->slotFilled[slot] = true;
        game->slotFruit[slot] = 10 * slot;
    }
    growTree(&game->balancedRoot, {30, 10, 50, 0, 20, 40, 60});
    growTree(&game->playerRoot, {30, 10, 50, 0, 20, 40, 60});
    FreeCounter frees(nodesOfBothTrees(*game));

    game->loopTurn();

    EXPECT_TRUE(frees.allFreed());
    expectMatchStartValues(*game);
    EXPECT_EQ(game->characterSprite.getPosition(), sf::Vector2f(105, 400));

    // The next turn belongs to the menu, not to a new match.
    game->loopTurn();
    EXPECT_TRUE(game->menuActive);
    EXPECT_FALSE(game->playActive);
    EXPECT_TRUE(game->matchStarting);
}

TEST_F(GameShell, MenuWinsOverInstructionsAndPlay) {
    openGameWindow(*game, true);
    pressButton(game->playButtonSprite);
    game->menuActive = true;
    game->instructionsActive = true;
    game->playActive = false;

    game->loopTurn();

    // The menu's play button took the click; the instructions screen never ran.
    EXPECT_FALSE(game->menuActive);
    EXPECT_TRUE(game->playActive);
    EXPECT_TRUE(game->instructionsActive);
}

TEST_F(GameShell, InstructionsWinOverPlay) {
    openGameWindow(*game, true);
    pressButton(game->backButtonSprite);
    game->menuActive = false;
    game->instructionsActive = true;
    game->playActive = true;

    game->loopTurn();

    EXPECT_FALSE(game->instructionsActive);
    EXPECT_TRUE(game->menuActive);
    EXPECT_TRUE(game->matchStarting) << "a play frame ran in the same turn";
}

// --- Ways out --------------------------------------------------------------------------

TEST_F(GameShell, EscapeFreesBothTreesAndClosesTheWindow) {
    openGameWindow(*game, true);
    growTree(&game->balancedRoot, {4, 2, 6, 1});
    growTree(&game->playerRoot, {4, 2});
    FreeCounter frees(nodesOfBothTrees(*game));
    // Focus follows the pointer when no window manager runs.
    const sf::Vector2i corner = game->window.getPosition();
    movePointerThroughXTest(corner.x + 400, corner.y + 300);
    game->window.requestFocus();
    FakeKeyboard keyboard;
    keyboard.tap(sf::Keyboard::Escape);

    turnUntilClosed(kTurnsForAnEvent);

    EXPECT_FALSE(game->window.isOpen());
    EXPECT_EQ(game->balancedRoot, nullptr);
    EXPECT_EQ(game->playerRoot, nullptr);
    EXPECT_TRUE(frees.allFreed());
}

TEST_F(GameShell, EscapeOnTheEndScreenFreesBothTreesAndClosesTheWindow) {
    openGameWindow(*game, true);
    game->menuActive = false;
    game->playActive = true;
    game->lossCause = 1;
    growTree(&game->balancedRoot, {4, 2, 6});
    growTree(&game->playerRoot, {4, 6, 2});
    FreeCounter frees(nodesOfBothTrees(*game));
    const sf::Vector2i corner = game->window.getPosition();
    movePointerThroughXTest(corner.x + 400, corner.y + 300);
    game->window.requestFocus();
    FakeKeyboard keyboard;
    keyboard.tap(sf::Keyboard::Escape);

    turnUntilClosed(kTurnsForAnEvent);

    EXPECT_FALSE(game->window.isOpen());
    EXPECT_EQ(game->balancedRoot, nullptr);
    EXPECT_EQ(game->playerRoot, nullptr);
    EXPECT_TRUE(frees.allFreed());
}

TEST_F(GameShell, OtherKeysNeitherCloseTheWindowNorFreeTheTrees) {
    openGameWindow(*game, true);
    growTree(&game->balancedRoot, {4, 2, 6});
    const sf::Vector2i corner = game->window.getPosition();
    movePointerThroughXTest(corner.x + 400, corner.y + 300);
    game->window.requestFocus();
    FakeKeyboard keyboard;
    keyboard.tap(sf::Keyboard::Space);
    for (int turn = 0; turn < 5; ++turn) {
        game->loopTurn();
    }
    EXPECT_TRUE(game->window.isOpen());
    EXPECT_EQ(nodeCount(game->balancedRoot), 3);
}

TEST_F(GameShell, CloseRequestFreesBothTreesAndClosesTheWindow) {
    openGameWindow(*game, true);
    growTree(&game->balancedRoot, {4, 2, 6});
    growTree(&game->playerRoot, {4});
    FreeCounter frees(nodesOfBothTrees(*game));
    sendCloseRequest(game->window.getSystemHandle());

    turnUntilClosed(kTurnsForAnEvent);

    EXPECT_FALSE(game->window.isOpen());
    EXPECT_EQ(game->balancedRoot, nullptr);
    EXPECT_EQ(game->playerRoot, nullptr);
    EXPECT_TRUE(frees.allFreed());
}

TEST_F(GameShell, QuitButtonClosesTheWindowWithEmptyTrees) {
    openGameWindow(*game, true);
    pressButton(game->quitButtonSprite);
    game->loopTurn();
    EXPECT_FALSE(game->window.isOpen());
    EXPECT_EQ(game->balancedRoot, nullptr);
    EXPECT_EQ(game->playerRoot, nullptr);
}

TEST_F(GameShell, RunReturnsOnEscapeWithBothTreesFreed) {
    growTree(&game->balancedRoot, {4, 2, 6, 1, 3});
    growTree(&game->playerRoot, {4, 2, 6});
    FreeCounter frees(nodesOfBothTrees(*game));
    RunningGame running(*game);

    running.runWhile(tapEscapeInGameWindow);

    EXPECT_FALSE(game->window.isOpen());
    EXPECT_EQ(game->balancedRoot, nullptr);
    EXPECT_EQ(game->playerRoot, nullptr);
    EXPECT_TRUE(frees.allFreed()) << "freed by the loop, before the Game is destroyed";
}

TEST_F(GameShell, RunRestartsFromTheEndScreenThenEndsAtTheQuitButton) {
    // Started on an end screen with a play-again click pending: the first turn
    // restarts, the menu follows, and a real click on quit ends the program.
    game->menuActive = false;
    game->playActive = true;
    game->lossCause = 3;
    game->restartRequested = 1;
    growTree(&game->balancedRoot, {4, 2, 6});
    growTree(&game->playerRoot, {4, 2});
    FreeCounter frees(nodesOfBothTrees(*game));
    const sf::Vector2f quit = kMenuButtonPositions[2];
    RunningGame running(*game);

    running.runWhile([&] {
        sf::Vector2i corner;
        if (!findGameWindowCorner(corner)) {
            return;
        }
        movePointerThroughXTest(corner.x + static_cast<int>(quit.x) + kButtonWidth / 2,
                                corner.y + static_cast<int>(quit.y) + kButtonHeight / 2);
        pressPointerButtonThroughXTest(true);
        std::this_thread::sleep_for(kButtonHold);
        pressPointerButtonThroughXTest(false);
    });

    EXPECT_FALSE(running.fallbackUsed()) << "the quit button did not end run";
    EXPECT_FALSE(game->window.isOpen());
    EXPECT_TRUE(frees.allFreed());
    expectMatchStartValues(*game);
}

// --- Destruction ----------------------------------------------------------------------

TEST_F(GameShell, DestructorFreesTreesLeftAfterTheWindowClosed) {
    // Escape closes the window in the event poll, yet the same turn's play frame can
    // still deliver a fruit into both trees.
    openGameWindow(*game, true);
    game->window.close();
    growTree(&game->balancedRoot, {4, 2, 6});
    growTree(&game->playerRoot, {4, 2, 6});
    FreeCounter frees(nodesOfBothTrees(*game));
    game.reset();
    EXPECT_TRUE(frees.allFreed());
}
